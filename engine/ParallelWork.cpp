#include "ParallelWork.hpp"

#include <malloc.h>
#include <sched.h>

#include <algorithm>
#include <mutex>

#include "ConversionStop.hpp"
#include "GmpAllocation.hpp"

namespace radixel::engine {

namespace {

thread_local ConversionThreads* currentThreads = nullptr;

unsigned oneAllocationPool(unsigned threads) {
    static std::once_flag held;
    if (threads > 1) {
        std::call_once(held, [] { mallopt(M_ARENA_MAX, 1); });
    }
    return threads;
}

}  // namespace

ConversionThreads::ConversionThreads(unsigned threads, ConversionStop* stop, GmpAllocationScope* scope,
                                     ThreadMemoryReturn* memoryReturn)
    : threads_(oneAllocationPool(std::max(1u, threads))),
      spare_(static_cast<int>(threads_) - 1),
      stop_(stop),
      scope_(scope),
      memoryReturn_(memoryReturn),
      previous_(currentThreads) {
    currentThreads = this;
}

ConversionThreads::~ConversionThreads() { currentThreads = previous_; }

ThreadMemoryReturn::~ThreadMemoryReturn() {
    if (started_.load(std::memory_order_relaxed)) {
        malloc_trim(0);
    }
}

ConversionThreads* ConversionThreads::current() noexcept { return currentThreads; }

// The cores this process may run on when it first converts, which in a container or under
// taskset can be fewer than the machine has.
unsigned ConversionThreads::ofMachine() {
    static const unsigned count = affordedCores();
    return count;
}

unsigned ConversionThreads::affordedCores() {
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    unsigned count = 0;
    if (sched_getaffinity(0, sizeof cpus, &cpus) == 0) {
        count = static_cast<unsigned>(CPU_COUNT(&cpus));
    }
    if (count == 0) {
        count = std::thread::hardware_concurrency();
    }
    return std::clamp(count, 1u, kMaxThreads);
}

bool ConversionThreads::takeSpare() noexcept {
    int spare = spare_.load(std::memory_order_relaxed);
    while (spare > 0) {
        if (spare_.compare_exchange_weak(spare, spare - 1, std::memory_order_relaxed)) {
            return true;
        }
    }
    return false;
}

void ConversionThreads::returnSpare() noexcept { spare_.fetch_add(1, std::memory_order_relaxed); }

void ConversionThreads::runHere(void (*work)(void*), void* context, std::exception_ptr& failure) noexcept {
    const ConversionStop::Joined stop(stop_);
    const GmpAllocationScope::Joined scope(scope_);
    ConversionThreads* const previous = currentThreads;
    currentThreads = this;
    try {
        work(context);
    } catch (...) {
        failure = std::current_exception();
        if (stop_ != nullptr) {
            stop_->end();
        }
    }
    currentThreads = previous;
}

void ConversionThreads::rethrowFirst(const std::exception_ptr& here, const std::exception_ptr& there) {
    const auto stopped = [](const std::exception_ptr& failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const ConversionStopped&) {
            return true;
        } catch (...) {
            return false;
        }
    };
    if (here && (!there || !stopped(here))) {
        std::rethrow_exception(here);
    }
    if (there) {
        std::rethrow_exception(there);
    }
}

}  // namespace radixel::engine
