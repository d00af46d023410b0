#include "NumberWriter.hpp"

#include <cstring>
#include <vector>

#include "ConversionStop.hpp"
#include "IntegerToDigits.hpp"
#include "Notation.hpp"

namespace radixel::engine {

namespace {

constexpr const char* kUpperAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kLowerAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

NumberWriter::NumberWriter(std::uint32_t base, bool upperCase)
    : base_(base), alphabet_(upperCase ? kUpperAlphabet : kLowerAlphabet) {}

std::string NumberWriter::integer(bool negative, const Digits& digits) const {
    std::string text;
    if (negative) {
        text += '-';
    }
    append(text, digits.data(), digits.size());
    return text;
}

std::string NumberWriter::integer(bool negative, mpz_class&& value) const {
    return integerText(std::move(value), base_, alphabet_, negative);
}

std::string NumberWriter::fixed(bool negative, const Digits& digits, std::size_t places) const {
    const std::size_t integerDigits = digits.size() - places;
    std::size_t kept = places;
    while (kept > 0 && digits[integerDigits + kept - 1] == 0) {
        --kept;
    }
    std::string text;
    if (negative) {
        text += '-';
    }
    append(text, digits.data(), integerDigits);
    if (kept > 0) {
        text += '.';
        append(text, digits.data() + integerDigits, kept);
    }
    return text;
}

std::string NumberWriter::scientific(bool negative, const Digits& mantissa, const mpz_class& exponent) const {
    std::string text = fixed(negative, mantissa, mantissa.size() - 1);
    text += base_ == kExponentMarkerBase ? "e" : "b^";
    if (exponent < 0) {
        text += '-';
    }
    const Digits digits = integerToDigits(abs(exponent), base_, 1);
    append(text, digits.data(), digits.size());
    return text;
}

std::string NumberWriter::grayCode(const Digits& bits) {
    std::string text(bits.size(), '0');
    forEachSpan(bits.size(), [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            text[i] = static_cast<char>('0' + bits[i]);
        }
    });
    return text;
}

void NumberWriter::append(std::string& text, const std::uint16_t* digits, std::size_t count) const {
    const std::size_t start = text.size();
    if (base_ <= kFirstBracketedDigit) {
        text.resize(start + count);
        char* const out = text.data() + start;
        forEachSpan(count, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                out[i] = alphabet_[digits[i]];
            }
        });
        return;
    }
    if (count >= base_) {
        appendThroughTable(text, digits, count);
        return;
    }
    std::size_t width = 0;
    for (std::size_t i = 0; i < count; ++i) {
        width += spelledWidth(digits[i]);
    }
    text.resize(start + width);
    char* out = text.data() + start;
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            out += writeDigit(out, digits[i]);
        }
    });
}

// With at least as many digits as the base has values, spelling every value
// once pays: each digit is then one fixed-size copy, with no branch on its width.
void NumberWriter::appendThroughTable(std::string& text, const std::uint16_t* digits, std::size_t count) const {
    struct Spelling {
        char text[kSpellingBytes];
        std::size_t width;
    };
    std::vector<Spelling> spellings(base_);
    for (std::uint32_t value = 0; value < base_; ++value) {
        spellings[value].width = writeDigit(spellings[value].text, static_cast<std::uint16_t>(value));
    }
    std::size_t width = 0;
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            width += spellings[digits[i]].width;
        }
    });
    const std::size_t start = text.size();
    text.resize(start + width + kSpellingBytes);
    char* out = text.data() + start;
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const Spelling& spelling = spellings[digits[i]];
            std::memcpy(out, spelling.text, kSpellingBytes);
            out += spelling.width;
        }
    });
    text.resize(start + width);
}

std::size_t NumberWriter::writeDigit(char* out, std::uint16_t digit) const {
    if (digit < kFirstBracketedDigit) {
        *out = alphabet_[digit];
        return 1;
    }
    const std::size_t width = spelledWidth(digit);
    out[0] = '<';
    out[width - 1] = '>';
    // Decimal digits from the right, two at a time.
    char* at = out + width - 1;
    unsigned rest = digit;
    while (rest >= 10) {
        at -= 2;
        std::memcpy(at, kDigitPairs + 2 * (rest % 100), 2);
        rest /= 100;
    }
    if (at > out + 1) {
        *--at = static_cast<char>('0' + rest);
    }
    return width;
}

}  // namespace radixel::engine
