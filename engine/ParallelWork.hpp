#pragma once

#include <atomic>
#include <exception>
#include <memory>
#include <thread>
#include <type_traits>
#include <utility>

// Divide and conquer on the machine's cores: a conversion's independent halves run on threads of
// their own while it has threads to spare, and on the thread that split them otherwise. Every
// thread is the standard library's, started for one half and joined before the split returns,
// so no thread outlives the call that started it and none is left in the component between
// conversions. A thread that cannot be started leaves its half to the splitting thread.
//
// The C library would give each new thread a pool of its own to allocate from, which keeps what
// is freed there for the next thread that takes the pool: eight pools of some tens of MiB each,
// held after a long conversion and counted in its peak. So before the first thread starts, the
// process is held to the one pool that its main thread has (M_ARENA_MAX), which measured no
// slower for the few large blocks that conversions allocate, and a conversion that started
// threads hands what is free in it back to the system when it ends (ThreadMemoryReturn).
//
// The threads of a conversion share its stop and its GMP allocation guard, and so its budget: a
// failure or a stop on any of them ends the others at their next check, and the split then
// rethrows what failed first, an allocation failure before the stop it caused.
namespace radixel::engine {

class ConversionStop;
class GmpAllocationScope;

// Hands the memory that threads freed back to the system when it ends, if any thread was
// started; it outlives the conversion's allocation guard, which frees last after a failure.
class ThreadMemoryReturn {
public:
    ThreadMemoryReturn() = default;
    ~ThreadMemoryReturn();

    ThreadMemoryReturn(const ThreadMemoryReturn&) = delete;
    ThreadMemoryReturn& operator=(const ThreadMemoryReturn&) = delete;

    void threadStarted() noexcept { started_.store(true, std::memory_order_relaxed); }

private:
    std::atomic<bool> started_{false};
};

class ConversionThreads {
public:
    // Up to `threads` threads at once, the calling one included, for the conversion whose stop
    // and guard these are; becomes the calling thread's while it lives.
    ConversionThreads(unsigned threads, ConversionStop* stop, GmpAllocationScope* scope,
                      ThreadMemoryReturn* memoryReturn = nullptr);
    ~ConversionThreads();

    ConversionThreads(const ConversionThreads&) = delete;
    ConversionThreads& operator=(const ConversionThreads&) = delete;

    // The threads of the calling thread's conversion, if any.
    static ConversionThreads* current() noexcept;

    // How many threads the machine lets this process run at once, at most kMaxThreads.
    static unsigned ofMachine();
    static constexpr unsigned kMaxThreads = 64;

    unsigned threads() const { return threads_; }
    bool spare() const { return spare_.load(std::memory_order_relaxed) > 0; }

    // Runs first() here and second() on a thread of its own when one is spare, and returns when
    // both have ended.
    template <typename First, typename Second>
    void inParallel(First&& first, Second&& second);

private:
    static unsigned affordedCores();
    bool takeSpare() noexcept;
    void returnSpare() noexcept;
    // Runs work() on the calling thread as one of this conversion's, noting what it throws and
    // ending the conversion's other work when it does.
    void runHere(void (*work)(void*), void* context, std::exception_ptr& failure) noexcept;
    static void rethrowFirst(const std::exception_ptr& here, const std::exception_ptr& there);

    template <typename Work>
    static void* erased(Work& work) {
        return const_cast<void*>(static_cast<const void*>(std::addressof(work)));
    }
    template <typename Work>
    static void call(void* work) {
        (*static_cast<std::remove_reference_t<Work>*>(work))();
    }

    unsigned threads_;
    std::atomic<int> spare_;
    ConversionStop* stop_;
    GmpAllocationScope* scope_;
    ThreadMemoryReturn* memoryReturn_;
    ConversionThreads* previous_;
};

// Runs both halves, in parallel where the calling thread's conversion has a thread to spare.
template <typename First, typename Second>
void inParallel(First&& first, Second&& second) {
    if (ConversionThreads* threads = ConversionThreads::current()) {
        threads->inParallel(std::forward<First>(first), std::forward<Second>(second));
    } else {
        first();
        second();
    }
}

// Whether the calling thread's conversion has a thread to spare now.
inline bool threadsSpare() {
    const ConversionThreads* threads = ConversionThreads::current();
    return threads != nullptr && threads->spare();
}

template <typename First, typename Second>
void ConversionThreads::inParallel(First&& first, Second&& second) {
    if (!takeSpare()) {
        first();
        second();
        return;
    }
    std::exception_ptr there;
    std::thread thread;
    try {
        thread = std::thread([&] { runHere(&call<Second>, erased(second), there); });
    } catch (...) {
        // No thread to be had (std::system_error) or no memory for one: this one does both.
        returnSpare();
        first();
        second();
        return;
    }
    if (memoryReturn_ != nullptr) {
        memoryReturn_->threadStarted();
    }
    std::exception_ptr here;
    runHere(&call<First>, erased(first), here);
    thread.join();
    returnSpare();
    rethrowFirst(here, there);
}

}  // namespace radixel::engine
