#pragma once

#include <cstddef>
#include <cstdint>

namespace radixel::engine {

// Horner's rule over groups of at most `perGroup` digits of `base`, most significant first, the
// digits [first, first + count) of `digits` (anything indexed like an array of values): calls
// emit(value, scale) for each group, with the group's value and base^(its digit count). The first
// group takes the odd digits over, so that every later one is full. The caller picks `perGroup`
// so that base^perGroup fits in 64 bits.
template <typename Source, typename Emit>
void forEachDigitGroup(std::size_t first, std::size_t count, std::size_t perGroup, std::uint32_t base,
                       const Source& digits, Emit&& emit) {
    std::size_t take = count % perGroup;
    if (take == 0) {
        take = perGroup;
    }
    std::size_t i = 0;
    while (i < count) {
        std::uint64_t value = 0;
        std::uint64_t scale = 1;
        for (const std::size_t end = i + take; i < end; ++i) {
            value = value * base + digits[first + i];
            scale *= base;
        }
        emit(value, scale);
        take = perGroup;
    }
}

}  // namespace radixel::engine
