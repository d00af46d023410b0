#pragma once

#include <cstddef>
#include <limits>
#include <mutex>
#include <unordered_map>

// GMP has no way to report a failed allocation: by default it prints "GNU MP:
// Cannot allocate memory" and aborts the process. While a conversion runs, GMP's
// allocations on every thread that works for it go through functions that throw
// std::bad_alloc instead, which convert() answers with a message, or
// ConversionStopped once the conversion has been stopped. Outside a conversion,
// and on threads that work for none, GMP keeps the functions it had.
//
// Throwing through GMP is sound here because every GMP function that allocates
// is C with unwind tables (its assembly routines are leaves that never
// allocate), and because the scope repairs the two things an exception leaves
// behind: the temporary blocks that GMP would have freed on its way out, and a
// number whose old block GMP freed just before the allocation that failed,
// which its destructor frees a second time. From the first failure on, the
// scope frees nothing before it ends: every block it gave out and that is still
// held is then freed once, and a release of any other block passes, since that
// block is either gone already or belongs to a number from before the scope.
// Freeing only at the end also keeps another thread's new block, which may have
// the address of one freed before the failure, safe until its owner is done.
//
// The budget and the blocks are shared by all threads of the conversion, so the
// allowance bounds the conversion as a whole. A scope made while another is in
// charge on the thread leaves everything to that one: blocks move between numbers
// freely, and one scope alone can know which of them are left over.
namespace radixel::engine {

class ConversionStop;

class GmpAllocationScope {
public:
    // GMP's allocations inside the scope fail beyond `allowanceBytes` live at once, and end
    // the conversion once `stop` (when given) is requested.
    explicit GmpAllocationScope(double allowanceBytes = std::numeric_limits<double>::infinity(),
                                const ConversionStop* stop = nullptr);
    ~GmpAllocationScope();

    GmpAllocationScope(const GmpAllocationScope&) = delete;
    GmpAllocationScope& operator=(const GmpAllocationScope&) = delete;

    void* allocate(std::size_t bytes);
    void* reallocate(void* block, std::size_t bytes);
    void release(void* block);

    // The scope in charge on the calling thread, if any.
    static GmpAllocationScope* current() noexcept;

    // Puts another thread's GMP allocations under `scope` while it lives.
    class Joined {
    public:
        explicit Joined(GmpAllocationScope* scope) noexcept;
        ~Joined();

        Joined(const Joined&) = delete;
        Joined& operator=(const Joined&) = delete;

    private:
        GmpAllocationScope* previous_;
    };

private:
    // Throws what ends the conversion: ConversionStopped when it was stopped, std::bad_alloc otherwise.
    [[noreturn]] void fail();
    void checkOpen();
    bool fits(std::size_t more) const;
    void remember(void* block, std::size_t bytes);

    double allowance_;
    const ConversionStop* stop_;
    std::mutex mutex_;
    double liveBytes_ = 0;
    bool failed_ = false;
    std::unordered_map<void*, std::size_t> live_;
    bool inCharge_;
};

// Called before each allocation that the scope makes for GMP; one that returns true makes that
// allocation fail. Tests use it to fail allocations on purpose; nothing else sets it.
using AllocationProbe = bool (*)(std::size_t bytes);
void setAllocationProbe(AllocationProbe probe) noexcept;

}  // namespace radixel::engine
