#include "ConvertCase.hpp"

namespace radixel::testing {
namespace {

TEST(BadInput, ArgumentsOutsideTheirRange) {
    expectConversions({
        {0, 10, 8, "1", "Source base outside 1 to 65536: 0"},
        {-5, 10, 8, "1", "Source base outside 1 to 65536: -5"},
        {65537, 10, 8, "1", "Source base outside 1 to 65536: 65537"},
        {10, 0, 8, "1", "Target base outside 1 to 65536: 0"},
        {10, 65537, 8, "1", "Target base outside 1 to 65536: 65537"},
        {10, 10, -1, "1", "Negative places: -1"},
        {10, 10, -2147483647 - 1, "1.5", "Negative places: -2147483648"},
    });
}

TEST(BadInput, CharactersThatAreNoDigits) {
    expectConversions({
        {10, 16, 8, "", "No number in the text"},
        {10, 16, 8, " \t\r\n", "No number in the text"},
        {10, 16, 8, "-", "No number in the text"},
        {10, 16, 8, "+.", "No number in the text"},
        {10, 16, 8, "12#4", "Not a digit: '#' at character 3"},
        {10, 16, 8, "1,000", "Not a digit: ',' at character 2"},
        {10, 16, 8, "^5", "Not a digit: '^' at character 1"},
        {10, 16, 8, "1 2\n3 G", "Not a digit in base 10: 'G' at character 7"},
        {16, 10, 8, "1g", "Not a digit in base 16: 'g' at character 2"},
        {10, 16, 8, "1b^2", "Not a digit in base 10: 'b' at character 2"},
        {12, 16, 8, "1e5", "Not a digit in base 12: 'e' at character 2"},
        {1, 10, 8, "102", "Not a digit in base 1: '2' at character 3"},
        {50, 10, 8, "1<50>", "Not a digit in base 50: '<50>' at character 2"},
        {10, 16, 8, "<12345678901234567890>", "Not a digit in base 10: '<123456789012...>' at character 1"},
        {10, 16, 8, "<000000000000050>", "Not a digit in base 10: '<0...50>' at character 1"},
        {10, 16, 8, "<0000000000001234567890123>", "Not a digit in base 10: '<0...123456789012...>' at character 1"},
        {10, 16, 8, "<000 000 000 010>", "Not a digit in base 10: '<000000000010>' at character 1"},
        {65536, 16, 8, "<0000000000065536>", "Not a digit in base 65536: '<0...65536>' at character 1"},
        {10, 16, 8, "12\xE2\x82\xAC", "Not a digit: U+20AC at character 3"},
        {10, 16, 8, "12\xC2\xA0", "Not a digit: U+00A0 at character 3"},
        {10, 16, 8, "1\xFF", "Not a digit: byte 0xFF at character 2"},
        {10, 16, 8, "\x01", "Not a digit: U+0001 at character 1"},
        {10, 16, 8, std::string("7\0", 2), "Not a digit: U+0000 at character 2"},
    });
}

TEST(BadInput, AngleBrackets) {
    expectConversions({
        {10, 16, 8, "1<2", "Unmatched '<' at character 2"},
        {10, 16, 8, "<1<2>>", "Unmatched '<' at character 1"},
        {10, 16, 8, "12>", "Unmatched '>' at character 3"},
        {10, 16, 8, "1<>", "Empty '<>' at character 2"},
        {10, 16, 8, "1< \n>", "Empty '<>' at character 2"},
        {10, 16, 8, "<1x>", "Not a decimal digit in '<>': 'x' at character 3"},
        {10, 16, 8, "<-1>", "Not a decimal digit in '<>': '-' at character 2"},
    });
}

TEST(BadInput, MarksInTheWrongPlace) {
    expectConversions({
        {10, 16, 8, "1.2.3", "Second point at character 4"},
        {10, 16, 8, "--5", "Second sign: '-' at character 2"},
        {10, 16, 8, "+-5", "Second sign: '-' at character 2"},
        {10, 16, 8, "5-3", "Misplaced sign: '-' at character 2"},
        {10, 16, 8, ".-5", "Misplaced sign: '-' at character 2"},
        {10, 16, 8, "1e5-", "Misplaced sign: '-' at character 4"},
        {10, 16, 8, "1e--5", "Second sign: '-' at character 4"},
        {10, 16, 8, "1e2e3", "Second exponent marker: 'e' at character 4"},
        {16, 10, 8, "1b^2B^3", "Second exponent marker: 'B^' at character 5"},
        {10, 16, 8, "e5", "No digits before the exponent at character 1"},
        {10, 16, 8, "-.e5", "No digits before the exponent at character 3"},
        {10, 16, 8, "1e", "No digits in the exponent at character 2"},
        {16, 10, 8, "1b^-", "No digits in the exponent at character 2"},
        {10, 16, 8, "1e2.5", "Point in the exponent at character 4"},
    });
}

TEST(BadInput, Fractions) {
    expectConversions({
        {10, 16, 8, "/3", "Empty numerator at character 1"},
        {10, 16, 8, "-/3", "Empty numerator at character 2"},
        {10, 16, 8, "3/", "Empty denominator at character 2"},
        {10, 16, 8, "3/ 0", "Zero denominator at character 4"},
        {10, 16, 8, "3/000", "Zero denominator at character 3"},
        {10, 16, 8, "1/2/3", "Second '/' at character 4"},
        {10, 16, 8, "2/-3", "Sign inside a fraction: '-' at character 3"},
        {10, 16, 8, "1.5/2", "Point in a fraction at character 2"},
        {10, 16, 8, "1/2.5", "Point in a fraction at character 4"},
        {10, 16, 8, "1/2e3", "Exponent in a fraction at character 4"},
        {10, 16, 8, "1e3/2", "Exponent in a fraction at character 2"},
    });
}

TEST(BadInput, GrayCodeTakesNonNegativeIntegersOnly) {
    expectConversions({
        {10, 1, 8, "1.5", "Point with base 1 at character 2"},
        {10, 1, 8, "1.0", "Point with base 1 at character 2"},
        {10, 1, 8, "1e5", "Exponent with base 1 at character 2"},
        {10, 1, 8, "4/2", "Fraction with base 1 at character 2"},
        {10, 1, 8, "-5", "Negative number with base 1 at character 1"},
        {1, 10, 8, " -1", "Negative number with base 1 at character 2"},
        {1, 10, 8, "1.0", "Point with base 1 at character 2"},
        {1, 10, 8, "1/1", "Fraction with base 1 at character 2"},
        {1, 10, 8, "1b^1", "Exponent with base 1 at character 2"},
    });
}

// The first problem in reading order is the one reported.
TEST(BadInput, TheFirstProblemIsNamed) {
    expectConversions({
        {10, 16, 8, "1.2.G", "Second point at character 4"},
        {10, 16, 8, "G.2.3", "Not a digit in base 10: 'G' at character 1"},
    });
}

}  // namespace
}  // namespace radixel::testing
