#include "GmpAllocation.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#include <gmp.h>

#include "ConversionStop.hpp"

namespace radixel::engine {

namespace {

thread_local GmpAllocationScope* inCharge = nullptr;

std::atomic<AllocationProbe> probe{nullptr};

struct MemoryFunctions {
    void* (*allocate)(std::size_t) = nullptr;
    void* (*reallocate)(void*, std::size_t, std::size_t) = nullptr;
    void (*release)(void*, std::size_t) = nullptr;
};

MemoryFunctions previous;

void* allocateForGmp(std::size_t bytes) { return inCharge ? inCharge->allocate(bytes) : previous.allocate(bytes); }

void* reallocateForGmp(void* block, std::size_t oldBytes, std::size_t newBytes) {
    return inCharge ? inCharge->reallocate(block, newBytes) : previous.reallocate(block, oldBytes, newBytes);
}

void releaseForGmp(void* block, std::size_t bytes) {
    if (inCharge) {
        inCharge->release(block);
    } else {
        previous.release(block, bytes);
    }
}

// GMP's own functions use malloc, realloc and free, so a block may be
// allocated on one side of the scope's edge and freed on the other.
void installOnce() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        mp_get_memory_functions(&previous.allocate, &previous.reallocate, &previous.release);
        mp_set_memory_functions(allocateForGmp, reallocateForGmp, releaseForGmp);
    });
}

bool probeFails(std::size_t bytes) {
    const AllocationProbe probed = probe.load(std::memory_order_relaxed);
    return probed != nullptr && probed(bytes);
}

}  // namespace

void setAllocationProbe(AllocationProbe probed) noexcept { probe.store(probed, std::memory_order_relaxed); }

GmpAllocationScope::GmpAllocationScope(double allowanceBytes, const ConversionStop* stop)
    : allowance_(allowanceBytes), stop_(stop), inCharge_(inCharge == nullptr) {
    installOnce();
    if (inCharge_) {
        inCharge = this;
    }
}

GmpAllocationScope::~GmpAllocationScope() {
    if (!inCharge_) {
        return;
    }
    inCharge = nullptr;
    // Without a failure every block still held belongs to a number that outlives
    // the scope, such as one made before it that GMP gave a new block inside it.
    // After one, what is left are GMP's temporaries from the calls it cut short and
    // the blocks whose release waited for the end.
    if (!failed_) {
        return;
    }
    for (const auto& [block, bytes] : live_) {
        std::free(block);
    }
}

GmpAllocationScope* GmpAllocationScope::current() noexcept { return engine::inCharge; }

GmpAllocationScope::Joined::Joined(GmpAllocationScope* scope) noexcept : previous_(engine::inCharge) {
    engine::inCharge = scope;
}

GmpAllocationScope::Joined::~Joined() { engine::inCharge = previous_; }

bool GmpAllocationScope::fits(std::size_t more) const { return liveBytes_ + static_cast<double>(more) <= allowance_; }

void GmpAllocationScope::fail() {
    failed_ = true;
    if (stop_ != nullptr && stop_->requested()) {
        throw ConversionStopped();
    }
    throw std::bad_alloc();
}

// Once one thread has failed or the conversion is stopped, every allocation fails, so that
// all threads end soon after.
void GmpAllocationScope::checkOpen() {
    if (failed_ || (stop_ != nullptr && stop_->requested())) {
        fail();
    }
}

// GMP never sees a block that cannot be remembered. After a reallocation it
// still holds the old address, which is gone by then; its free passes as a second one.
void GmpAllocationScope::remember(void* block, std::size_t bytes) {
    try {
        live_.emplace(block, bytes);
    } catch (...) {
        std::free(block);
        fail();
    }
    liveBytes_ += static_cast<double>(bytes);
}

void* GmpAllocationScope::allocate(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    checkOpen();
    void* const block = fits(bytes) && !probeFails(bytes) ? std::malloc(bytes) : nullptr;
    if (block == nullptr) {
        fail();
    }
    remember(block, bytes);
    return block;
}

void* GmpAllocationScope::reallocate(void* block, std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    checkOpen();
    const auto entry = live_.find(block);
    if (entry == live_.end()) {
        // A number from before the scope stays its owner's, who frees it.
        void* const moved = fits(bytes) && !probeFails(bytes) ? std::realloc(block, bytes) : nullptr;
        if (moved == nullptr) {
            fail();
        }
        return moved;
    }
    const std::size_t oldBytes = entry->second;
    void* const moved =
        fits(bytes - std::min(bytes, oldBytes)) && !probeFails(bytes) ? std::realloc(block, bytes) : nullptr;
    if (moved == nullptr) {
        fail();
    }
    live_.erase(entry);
    liveBytes_ -= static_cast<double>(oldBytes);
    remember(moved, bytes);
    return moved;
}

void GmpAllocationScope::release(void* block) {
    const std::lock_guard lock(mutex_);
    if (failed_) {
        return;
    }
    const auto entry = live_.find(block);
    if (entry != live_.end()) {
        liveBytes_ -= static_cast<double>(entry->second);
        live_.erase(entry);
    }
    // A block from before the scope is its owner's to free, which it is doing now.
    std::free(block);
}

}  // namespace radixel::engine
