#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Notation.hpp"

namespace radixel::engine {

// Byte value -> digit value in a base up to 36 for the characters that plain digits are written
// with (letters in either case); every other byte maps to kNotPlainDigit.
using PlainDigitTable = std::array<std::uint16_t, 256>;
inline constexpr std::uint16_t kNotPlainDigit = 0xFFFF;
PlainDigitTable plainDigitTable(std::uint32_t base);

// An integer written as nothing but a sign and a run of characters between blanks: the run,
// which the codecs read straight off the text, without a digit array in between, as long as
// every character of it is a plain digit of the base. Nothing for a text of any other shape.
struct PlainInteger {
    bool negative = false;
    std::size_t signAt = std::string_view::npos;
    std::string_view digits;
};
std::optional<PlainInteger> plainIntegerOf(std::string_view text);

// Reads a number in the notation of one base, tolerantly: blanks, tabs and
// line breaks anywhere are skipped, "+" is accepted, letters in either case,
// any digit may be written "<v>" in decimal, "E" stands for "e" in base 10
// and "B^" for "b^" elsewhere. Problems are reported in reading order, so the
// message names the first offending character; each throws ConversionError.
// One pass over the text, constant work per character.
class NumberReader {
public:
    // `base` is 1 for Gray code or 2..65536.
    NumberReader(std::string_view text, std::uint32_t base);

    Notation read();

private:
    enum class Field { Mantissa, Denominator, Exponent };

    // Characters that plain digit runs may not hold go through the slow path.
    static constexpr std::uint16_t kSpecial = kNotPlainDigit;

    void readDigitRun();
    void readSpecial();
    void readSign(char sign);
    void readPoint();
    void readSlash();
    void readMarker(std::size_t length);
    void readBracketedDigit();
    void readLetterOrDigit(unsigned char c);
    void appendDigit(std::uint16_t value);
    void finish();
    std::size_t markerLengthAt(std::size_t offset) const;
    [[noreturn]] void fail(const std::string& message) const;
    std::size_t characterAt(std::size_t offset) const;

    std::string_view text_;
    std::uint32_t base_;
    std::uint32_t digitBase_;
    PlainDigitTable plainDigit_{};
    std::size_t at_ = 0;
    Field field_ = Field::Mantissa;
    bool exponentSignSeen_ = false;
    std::size_t denominatorStart_ = Notation::kNowhere;
    Notation notation_;
};

}  // namespace radixel::engine
