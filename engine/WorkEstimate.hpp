#pragma once

#include <cstddef>
#include <cstdint>

namespace radixel::engine {

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

// Throws ConversionError, naming the need and `usableBytes`, when the
// estimate is over what the conversion may use, or when an operand would be
// larger than GMP can hold (it aborts the process rather than fail).
void checkWork(const WorkShape& shape, double usableBytes);

// The same before reading: a text of this many bytes holds at most as many
// digits, each read into a digit array and then into a number.
void checkTextSize(std::size_t bytes, std::uint32_t sourceBase, double usableBytes);

}  // namespace radixel::engine
