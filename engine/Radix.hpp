#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace radixel::engine {

// Digit values, most significant first. A digit of base 65536 needs all 16 bits.
using Digits = std::vector<std::uint16_t>;

inline constexpr std::uint32_t kGrayCodeBase = 1;
inline constexpr std::uint32_t kMinPositionalBase = 2;
inline constexpr std::uint32_t kMaxBase = 65536;

// The largest base that GMP's mpn_set_str and mpn_get_str accept.
inline constexpr std::uint32_t kGmpMaxBase = 256;

// A Gray code is read and written as its bits.
inline constexpr std::uint32_t digitBaseOf(std::uint32_t base) { return base == kGrayCodeBase ? 2 : base; }

// k when base is 2^k, 0 otherwise.
inline constexpr unsigned powerOfTwoExponent(std::uint32_t base) {
    if (base < 2 || (base & (base - 1)) != 0) {
        return 0;
    }
    unsigned k = 0;
    while ((std::uint32_t{1} << k) != base) {
        ++k;
    }
    return k;
}

inline double log2Of(std::uint32_t base) { return std::log2(static_cast<double>(digitBaseOf(base))); }

}  // namespace radixel::engine
