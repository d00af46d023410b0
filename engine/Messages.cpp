#include "engine/Messages.hpp"

namespace radixel::engine::messages {

namespace {

std::string at(std::string what, std::size_t character)
{
    return what + " at character " + std::to_string(character);
}

std::string showing(std::string what, std::string_view shown, std::size_t character)
{
    return at(what + ": " + std::string(shown), character);
}

}  // namespace

std::string sourceBaseOutOfRange(std::int32_t base)
{
    return "Source base outside 1 to 65536: " + std::to_string(base);
}

std::string targetBaseOutOfRange(std::int32_t base)
{
    return "Target base outside 1 to 65536: " + std::to_string(base);
}

std::string negativePlaces(std::int32_t places)
{
    return "Negative places: " + std::to_string(places);
}

std::string noNumber()
{
    return "No number in the text";
}

std::string notADigit(std::string_view shown, std::size_t character)
{
    return showing("Not a digit", shown, character);
}

std::string digitNotInBase(std::string_view shown, std::uint32_t base, std::size_t character)
{
    return showing("Not a digit in base " + std::to_string(base), shown, character);
}

std::string unmatchedOpeningBracket(std::size_t character)
{
    return at("Unmatched '<'", character);
}

std::string unmatchedClosingBracket(std::size_t character)
{
    return at("Unmatched '>'", character);
}

std::string emptyBrackets(std::size_t character)
{
    return at("Empty '<>'", character);
}

std::string notDecimalInBrackets(std::string_view shown, std::size_t character)
{
    return showing("Not a decimal digit in '<>'", shown, character);
}

std::string secondSign(std::string_view shown, std::size_t character)
{
    return showing("Second sign", shown, character);
}

std::string misplacedSign(std::string_view shown, std::size_t character)
{
    return showing("Misplaced sign", shown, character);
}

std::string secondPoint(std::size_t character)
{
    return at("Second point", character);
}

std::string secondMarker(std::string_view shown, std::size_t character)
{
    return showing("Second exponent marker", shown, character);
}

std::string secondSlash(std::size_t character)
{
    return at("Second '/'", character);
}

std::string noDigitsBeforeExponent(std::size_t character)
{
    return at("No digits before the exponent", character);
}

std::string noDigitsInExponent(std::size_t character)
{
    return at("No digits in the exponent", character);
}

std::string pointInExponent(std::size_t character)
{
    return at("Point in the exponent", character);
}

std::string emptyNumerator(std::size_t character)
{
    return at("Empty numerator", character);
}

std::string emptyDenominator(std::size_t character)
{
    return at("Empty denominator", character);
}

std::string zeroDenominator(std::size_t character)
{
    return at("Zero denominator", character);
}

std::string signInFraction(std::string_view shown, std::size_t character)
{
    return showing("Sign inside a fraction", shown, character);
}

std::string pointInFraction(std::size_t character)
{
    return at("Point in a fraction", character);
}

std::string exponentInFraction(std::size_t character)
{
    return at("Exponent in a fraction", character);
}

std::string pointWithGrayCode(std::size_t character)
{
    return at("Point with base 1", character);
}

std::string exponentWithGrayCode(std::size_t character)
{
    return at("Exponent with base 1", character);
}

std::string fractionWithGrayCode(std::size_t character)
{
    return at("Fraction with base 1", character);
}

std::string negativeWithGrayCode(std::size_t character)
{
    return at("Negative number with base 1", character);
}

std::string tooLarge()
{
    return "Too large: needs more than 1 GiB of memory";
}

std::string outOfMemory()
{
    return std::string(kOutOfMemory);
}

std::string internalFault()
{
    return std::string(kInternalFault);
}

}  // namespace radixel::engine::messages
