#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Radix.hpp"

namespace radixel::engine {

// The base whose exponent marker is "e"; every other base writes "b^".
inline constexpr std::uint32_t kExponentMarkerBase = 10;

// Digits from this value up are written in decimal inside "<" and ">".
inline constexpr std::uint32_t kFirstBracketedDigit = 36;

// The characters that a digit of this value takes in the notation.
inline constexpr std::size_t spelledWidth(std::uint32_t digit) {
    if (digit < kFirstBracketedDigit) {
        return 1;
    }
    return digit < 100 ? 4 : digit < 1000 ? 5 : digit < 10000 ? 6 : 7;
}

enum class NumberForm { Integer, Point, Exponent, Fraction };

// A number as written, before any arithmetic: its form, sign and digit fields.
// Offsets are byte offsets into the text, kept so that a later check (one that
// depends on the target base) can still say where the offending mark stands.
struct Notation {
    static constexpr std::size_t kNowhere = std::string_view::npos;

    NumberForm form = NumberForm::Integer;
    bool negative = false;
    // The digits before and after the point as one run, so that the value is
    // mantissa / base^fractionDigits; for a fraction, the numerator.
    Digits mantissa;
    std::size_t fractionDigits = 0;
    Digits denominator;
    bool exponentNegative = false;
    Digits exponent;

    std::size_t signAt = kNowhere;
    std::size_t pointAt = kNowhere;
    std::size_t slashAt = kNowhere;
    std::size_t markerAt = kNowhere;
};

}  // namespace radixel::engine
