#pragma once

#include <cstddef>
#include <limits>
#include <unordered_map>

// GMP has no way to report a failed allocation: by default it prints "GNU MP:
// Cannot allocate memory" and aborts the process. While a conversion runs on a
// thread, GMP's allocations on that thread go through functions that throw
// std::bad_alloc instead, which convert() answers with a message. Outside a
// conversion, and on other threads, GMP keeps the functions it had.
//
// Throwing through GMP is sound here because every GMP function that allocates
// is C with unwind tables (its assembly routines are leaves that never
// allocate), and because the scope repairs the two things an exception leaves
// behind: the temporary blocks that GMP would have freed on its way out, which
// the scope frees when it ends, and a number whose old block GMP freed just
// before the allocation that failed, whose second free the scope lets pass.
//
// A scope made while another is in charge on the thread leaves everything to
// that one: blocks move between numbers freely, and one scope alone can know
// which of them are left over.
namespace radixel::engine {

class GmpAllocationScope {
public:
    // GMP's allocations inside the scope fail beyond `allowanceBytes` live at once.
    explicit GmpAllocationScope(double allowanceBytes = std::numeric_limits<double>::infinity());
    ~GmpAllocationScope();

    GmpAllocationScope(const GmpAllocationScope&) = delete;
    GmpAllocationScope& operator=(const GmpAllocationScope&) = delete;

    void* allocate(std::size_t bytes);
    void* reallocate(void* block, std::size_t bytes);
    void release(void* block);

private:
    [[noreturn]] void fail();
    bool fits(std::size_t more) const;
    void remember(void* block, std::size_t bytes);

    double allowance_;
    double liveBytes_ = 0;
    bool failed_ = false;
    std::unordered_map<void*, std::size_t> live_;
    bool inCharge_;
};

}  // namespace radixel::engine
