#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <gmpxx.h>

#include "Radix.hpp"

namespace radixel::engine {

// Writes digit values as the notation's text: values below 36 as one
// character, larger ones as "<v>" in decimal; letter digits in the chosen case,
// markers always lower case ("e" in base 10, "b^" otherwise). The caller makes
// sure that a zero result never carries a sign.
class NumberWriter {
public:
    NumberWriter(std::uint32_t base, bool upperCase);

    std::string integer(bool negative, const Digits& digits) const;

    // The same straight from the value, which it takes over, for a base up to 36.
    std::string integer(bool negative, mpz_class&& value) const;

    // The last `places` digits stand after the point; trailing zeros there are
    // dropped, and the point with them when no place is left.
    std::string fixed(bool negative, const Digits& digits, std::size_t places) const;

    // One digit, then the rest as places, then the marker and the exponent.
    std::string scientific(bool negative, const Digits& mantissa, const mpz_class& exponent) const;

    // Gray code bits as "0" and "1".
    static std::string grayCode(const Digits& bits);

private:
    // "<65535>" and a spare byte: a digit's text copied as one block.
    static constexpr std::size_t kSpellingBytes = 8;

    void append(std::string& text, const std::uint16_t* digits, std::size_t count) const;
    void appendThroughTable(std::string& text, const std::uint16_t* digits, std::size_t count) const;
    // Writes one digit's text at `out` and returns its length.
    std::size_t writeDigit(char* out, std::uint16_t digit) const;

    std::uint32_t base_;
    const char* alphabet_;
};

}  // namespace radixel::engine
