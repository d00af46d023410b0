#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
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
    return base >= 2 && std::has_single_bit(base) ? static_cast<unsigned>(std::countr_zero(base)) : 0;
}

// base = odd * 2^twos: powers of a base with factors of two are built and used as a power of the
// odd part and one shift, which takes the zero low bits off every product.
struct OddPart {
    std::uint32_t odd;
    unsigned twos;
};

inline constexpr OddPart oddPartOf(std::uint32_t base) {
    const auto twos = static_cast<unsigned>(std::countr_zero(base));
    return {base >> twos, twos};
}

// k >= 1 when power = base^k, 0 otherwise.
inline constexpr unsigned exponentOfPower(std::uint32_t base, std::uint32_t power) {
    if (base < kMinPositionalBase || power < base) {
        return 0;
    }
    // value < power <= 2^32 before each product, so no product reaches 2^64.
    std::uint64_t value = base;
    unsigned k = 1;
    while (value < power) {
        value *= base;
        ++k;
    }
    return value == power ? k : 0;
}

// base = root^power with the smallest root.
struct RootPower {
    std::uint32_t root;
    unsigned power;
};

inline constexpr RootPower rootPowerOf(std::uint32_t base) {
    for (std::uint32_t root = 2; root * root <= base; ++root) {
        if (const unsigned power = exponentOfPower(root, base); power > 0) {
            return {root, power};
        }
    }
    return {base, 1};
}

// The digits before the first non-zero one; all of them for a run of zeros.
inline std::size_t leadingZeros(const std::uint16_t* digits, std::size_t count) {
    return static_cast<std::size_t>(std::find_if(digits, digits + count, [](std::uint16_t d) { return d != 0; }) -
                                    digits);
}

inline std::size_t leadingZeros(const Digits& digits) { return leadingZeros(digits.data(), digits.size()); }

inline bool allZero(const Digits& digits) { return leadingZeros(digits) == digits.size(); }

inline double log2Of(std::uint32_t base) { return std::log2(static_cast<double>(digitBaseOf(base))); }

}  // namespace radixel::engine
