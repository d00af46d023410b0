#include "Messages.hpp"

#include "engine/convert.hpp"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace radixel::engine::messages {

namespace {

std::string at(std::string what, std::size_t character) { return what + " at character " + std::to_string(character); }

std::string showing(std::string what, std::string_view shown, std::size_t character) {
    return at(what + ": " + std::string(shown), character);
}

// Three figures at most: one decimal below 10 of a unit, none above.
std::string size(double bytes) {
    constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    constexpr double kUnit = 1024;
    if (bytes < kUnit) {
        return std::to_string(static_cast<long>(std::max(0.0, bytes))) + " bytes";
    }
    double scaled = bytes;
    for (const char* unit : kUnits) {
        scaled /= kUnit;
        if (scaled < kUnit - 0.5 || unit == kUnits[std::size(kUnits) - 1]) {
            if (!(scaled < kUnit * kUnit)) {
                return std::string("over 1 million ") + unit;
            }
            char text[16];
            std::snprintf(text, sizeof text, scaled < 9.95 ? "%.1f %s" : "%.0f %s", scaled, unit);
            return text;
        }
    }
    return {};
}

}  // namespace

std::string sourceBaseOutOfRange(std::int32_t base) {
    return "Source base outside 1 to 65536: " + std::to_string(base);
}

std::string targetBaseOutOfRange(std::int32_t base) {
    return "Target base outside 1 to 65536: " + std::to_string(base);
}

std::string negativePlaces(std::int32_t places) { return "Negative places: " + std::to_string(places); }

std::string noNumber() { return "No number in the text"; }

std::string notADigit(std::string_view shown, std::size_t character) {
    return showing("Not a digit", shown, character);
}

std::string digitNotInBase(std::string_view shown, std::uint32_t base, std::size_t character) {
    return showing("Not a digit in base " + std::to_string(base), shown, character);
}

std::string unmatchedOpeningBracket(std::size_t character) { return at("Unmatched '<'", character); }

std::string unmatchedClosingBracket(std::size_t character) { return at("Unmatched '>'", character); }

std::string emptyBrackets(std::size_t character) { return at("Empty '<>'", character); }

std::string notDecimalInBrackets(std::string_view shown, std::size_t character) {
    return showing("Not a decimal digit in '<>'", shown, character);
}

std::string secondSign(std::string_view shown, std::size_t character) {
    return showing("Second sign", shown, character);
}

std::string misplacedSign(std::string_view shown, std::size_t character) {
    return showing("Misplaced sign", shown, character);
}

std::string secondPoint(std::size_t character) { return at("Second point", character); }

std::string secondMarker(std::string_view shown, std::size_t character) {
    return showing("Second exponent marker", shown, character);
}

std::string secondSlash(std::size_t character) { return at("Second '/'", character); }

std::string noDigitsBeforeExponent(std::size_t character) { return at("No digits before the exponent", character); }

std::string noDigitsInExponent(std::size_t character) { return at("No digits in the exponent", character); }

std::string pointInExponent(std::size_t character) { return at("Point in the exponent", character); }

std::string emptyNumerator(std::size_t character) { return at("Empty numerator", character); }

std::string emptyDenominator(std::size_t character) { return at("Empty denominator", character); }

std::string zeroDenominator(std::size_t character) { return at("Zero denominator", character); }

std::string signInFraction(std::string_view shown, std::size_t character) {
    return showing("Sign inside a fraction", shown, character);
}

std::string pointInFraction(std::size_t character) { return at("Point in a fraction", character); }

std::string exponentInFraction(std::size_t character) { return at("Exponent in a fraction", character); }

std::string pointWithGrayCode(std::size_t character) { return at("Point with base 1", character); }

std::string exponentWithGrayCode(std::size_t character) { return at("Exponent with base 1", character); }

std::string fractionWithGrayCode(std::size_t character) { return at("Fraction with base 1", character); }

std::string negativeWithGrayCode(std::size_t character) { return at("Negative number with base 1", character); }

std::string tooLarge(double neededBytes, double availableBytes) {
    return "Too large: needs " + size(neededBytes) + " of memory, " + size(availableBytes) + " available";
}

// libstdc++ keeps up to 15 characters inside the string itself.
constexpr std::size_t kCharactersHeldInPlace = 15;
static_assert(radixel::kOutOfMemory.size() <= kCharactersHeldInPlace);
static_assert(radixel::kStopped.size() <= kCharactersHeldInPlace);

std::string outOfMemory() noexcept { return std::string(radixel::kOutOfMemory); }

std::string stopped() noexcept { return std::string(radixel::kStopped); }

// Longer than a string holds in place; were even that allocation to fail, the answer is the
// shorter one that needs none.
std::string internalFault() noexcept {
    try {
        return std::string(radixel::kInternalFault);
    } catch (...) {
        return outOfMemory();
    }
}

}  // namespace radixel::engine::messages
