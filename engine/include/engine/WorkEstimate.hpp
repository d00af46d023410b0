#pragma once

#include <cstddef>
#include <cstdint>

namespace radixel::engine {

// Conversions are refused before they start when their peak memory would
// exceed this; GMP cannot report a failed allocation (it aborts), so the
// estimate is what keeps an oversized request from taking the program down.
inline constexpr double kWorkLimitBytes = 1024.0 * 1024.0 * 1024.0;

// The sizes that decide a conversion's memory, in bits and digits.
struct WorkShape {
    double inputDigits = 0;
    // The exact operands: numerator, denominator and the power of the source
    // base that an exponent or a point contributes.
    double valueBits = 0;
    // What scaling to the places (or, with an exponent, to the mantissa) adds.
    double scaleBits = 0;
    double outputDigits = 0;
    std::uint32_t targetBase = 10;
};

double estimatedBytes(const WorkShape& shape);

// Throws ConversionError when the estimate is over the limit.
void checkWork(const WorkShape& shape);

// The same before reading: a text of this many bytes holds at most as many
// digits, each read into a digit array and then into a number.
void checkTextSize(std::size_t bytes, std::uint32_t sourceBase);

}  // namespace radixel::engine
