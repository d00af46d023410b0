#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Every text that convert() gives instead of a number. They share one form:
// what is wrong, the offending character or value after a colon, then where
// it is as "at character N" (counted from 1, blanks included).
namespace radixel::engine::messages {

std::string sourceBaseOutOfRange(std::int32_t base);
std::string targetBaseOutOfRange(std::int32_t base);
std::string negativePlaces(std::int32_t places);

std::string noNumber();
std::string notADigit(std::string_view shown, std::size_t character);
std::string digitNotInBase(std::string_view shown, std::uint32_t base, std::size_t character);
std::string unmatchedOpeningBracket(std::size_t character);
std::string unmatchedClosingBracket(std::size_t character);
std::string emptyBrackets(std::size_t character);
std::string notDecimalInBrackets(std::string_view shown, std::size_t character);

std::string secondSign(std::string_view shown, std::size_t character);
std::string misplacedSign(std::string_view shown, std::size_t character);
std::string secondPoint(std::size_t character);
std::string secondMarker(std::string_view shown, std::size_t character);
std::string secondSlash(std::size_t character);

std::string noDigitsBeforeExponent(std::size_t character);
std::string noDigitsInExponent(std::size_t character);
std::string pointInExponent(std::size_t character);

std::string emptyNumerator(std::size_t character);
std::string emptyDenominator(std::size_t character);
std::string zeroDenominator(std::size_t character);
std::string signInFraction(std::string_view shown, std::size_t character);
std::string pointInFraction(std::size_t character);
std::string exponentInFraction(std::size_t character);

std::string pointWithGrayCode(std::size_t character);
std::string exponentWithGrayCode(std::size_t character);
std::string fractionWithGrayCode(std::size_t character);
std::string negativeWithGrayCode(std::size_t character);

// Sizes in bytes, written in binary units ("1.5 GiB").
std::string tooLarge(double neededBytes, double availableBytes);

// The answers that depend on no input, as the public header gives them. Each fits in a string
// without an allocation of its own, so that it can be given when memory has run out.
std::string outOfMemory() noexcept;
std::string internalFault() noexcept;
std::string stopped() noexcept;

}  // namespace radixel::engine::messages
