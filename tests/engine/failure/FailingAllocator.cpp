#include "FailingAllocator.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

#include "GmpAllocation.hpp"

namespace radixel::testing {

namespace {

std::atomic<long> counted{0};
std::atomic<long> failing{0};
std::atomic<bool> failed{false};

// Every allocation of every thread counts; only the one numbered fails.
bool countAndFail() {
    const long number = counted.fetch_add(1, std::memory_order_relaxed) + 1;
    if (number == failing.load(std::memory_order_relaxed)) {
        failed.store(true, std::memory_order_relaxed);
        return true;
    }
    return false;
}

void* allocateOrThrow(std::size_t bytes) {
    void* const block = countAndFail() ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* allocateOrNull(std::size_t bytes) noexcept {
    return countAndFail() ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
}

void* allocateAligned(std::size_t bytes, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    void* const block = countAndFail() ? nullptr : std::aligned_alloc(align, (bytes + align - 1) / align * align);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

const bool probeInstalled = [] {
    engine::setAllocationProbe([](std::size_t) { return countAndFail(); });
    return true;
}();

}  // namespace

void failAllocation(long number) {
    failing.store(0, std::memory_order_relaxed);
    counted.store(0, std::memory_order_relaxed);
    failed.store(false, std::memory_order_relaxed);
    failing.store(number, std::memory_order_relaxed);
}

long allocationsCounted() { return counted.load(std::memory_order_relaxed); }

bool injectedFailureHappened() { return probeInstalled && failed.load(std::memory_order_relaxed); }

}  // namespace radixel::testing

void* operator new(std::size_t bytes) { return radixel::testing::allocateOrThrow(bytes); }
void* operator new[](std::size_t bytes) { return radixel::testing::allocateOrThrow(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return radixel::testing::allocateOrNull(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return radixel::testing::allocateOrNull(bytes);
}
void* operator new(std::size_t bytes, std::align_val_t alignment) {
    return radixel::testing::allocateAligned(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment) {
    return radixel::testing::allocateAligned(bytes, alignment);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
