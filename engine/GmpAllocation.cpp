#include "GmpAllocation.hpp"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>

#include <gmp.h>

namespace radixel::engine {

namespace {

thread_local GmpAllocationScope* current = nullptr;

struct MemoryFunctions {
    void* (*allocate)(std::size_t) = nullptr;
    void* (*reallocate)(void*, std::size_t, std::size_t) = nullptr;
    void (*release)(void*, std::size_t) = nullptr;
};

MemoryFunctions previous;

void* allocateForGmp(std::size_t bytes) { return current ? current->allocate(bytes) : previous.allocate(bytes); }

void* reallocateForGmp(void* block, std::size_t oldBytes, std::size_t newBytes) {
    return current ? current->reallocate(block, newBytes) : previous.reallocate(block, oldBytes, newBytes);
}

void releaseForGmp(void* block, std::size_t bytes) {
    if (current) {
        current->release(block);
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

}  // namespace

GmpAllocationScope::GmpAllocationScope(double allowanceBytes)
    : allowance_(allowanceBytes), inCharge_(current == nullptr) {
    installOnce();
    if (inCharge_) {
        current = this;
    }
}

GmpAllocationScope::~GmpAllocationScope() {
    if (!inCharge_) {
        return;
    }
    current = nullptr;
    // Without a failure every block still held belongs to a number that outlives
    // the scope, such as one made before it that GMP gave a new block inside it.
    // After one, what is left are GMP's temporaries from the call it cut short.
    if (!failed_) {
        return;
    }
    for (const auto& [block, bytes] : live_) {
        std::free(block);
    }
}

bool GmpAllocationScope::fits(std::size_t more) const { return liveBytes_ + static_cast<double>(more) <= allowance_; }

void GmpAllocationScope::fail() {
    failed_ = true;
    throw std::bad_alloc();
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
    void* const block = fits(bytes) ? std::malloc(bytes) : nullptr;
    if (block == nullptr) {
        fail();
    }
    remember(block, bytes);
    return block;
}

void* GmpAllocationScope::reallocate(void* block, std::size_t bytes) {
    const auto entry = live_.find(block);
    if (entry == live_.end()) {
        // A number from before the scope stays its owner's, who frees it.
        void* const moved = fits(bytes) ? std::realloc(block, bytes) : nullptr;
        if (moved == nullptr) {
            fail();
        }
        return moved;
    }
    const std::size_t oldBytes = entry->second;
    void* const moved = fits(bytes - std::min(bytes, oldBytes)) ? std::realloc(block, bytes) : nullptr;
    if (moved == nullptr) {
        fail();
    }
    live_.erase(entry);
    liveBytes_ -= static_cast<double>(oldBytes);
    remember(moved, bytes);
    return moved;
}

void GmpAllocationScope::release(void* block) {
    const auto entry = live_.find(block);
    if (entry != live_.end()) {
        liveBytes_ -= static_cast<double>(entry->second);
        live_.erase(entry);
        std::free(block);
    } else if (!failed_) {
        // A block from before the scope; after a failure it may instead be one already freed.
        std::free(block);
    }
}

}  // namespace radixel::engine
