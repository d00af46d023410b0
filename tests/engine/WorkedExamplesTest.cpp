#include "ConvertCase.hpp"

namespace radixel::testing {
namespace {

const std::string kLongDecimal = "123456789123456789123456789123456789";

TEST(WorkedExamples, IntegersConvertExactlyWhateverThePlaces) {
    expectConversions({
        {10, 16, 8, kLongDecimal, "17C6E3C032F89045AD746684045F15"},
        {16, 10, 8, "17C6E3C032F89045AD746684045F15", kLongDecimal},
        {10, 50, 8, kLongDecimal, "C<47>DM<41>F<49><43>T0KVAOYP9<37>WZ<39>"},
        {10, 1000, 8, kLongDecimal, "<123><456><789><123><456><789><123><456><789><123><456><789>"},
        {50, 10, 8, "C<47>DM<41>F<49><43>T0KVAOYP9<37>WZ<39>", kLongDecimal},
        {1000, 10, 8, "<123><456><789><123><456><789><123><456><789><123><456><789>", kLongDecimal},
    });
}

TEST(WorkedExamples, GrayCode) {
    expectConversions({
        {10, 1, 8, "4", "110"},
        {10, 1, 8, "5", "111"},
        {1, 10, 8, "110", "4"},
        {1, 10, 8, "111", "5"},
    });
}

// Cutting the digits off instead of rounding would give 4D2.91613D31,
// -7.498C7FD8b^40E1 and 0.AAAAAAAA.
TEST(WorkedExamples, PlacesAreRoundedInTheLastPlace) {
    expectConversions({
        {10, 16, 8, "1234.56789", "4D2.91613D32"},
        {10, 16, 8, "-1.2341234e20000", "-7.498C7FD9b^40E1"},
        {10, 16, 8, "2/3", "0.AAAAAAAB"},
    });
}

// The help text's example asks for 34 places; a limit of 32 gives 32 of the same figure.
TEST(WorkedExamples, FractionToThirtyFourAndThirtyTwoPlaces) {
    expectConversions({
        {16, 10, 34, "1B/2CF", "0.0375521557719054242002781641168289"},
        {16, 10, 32, "1B/2CF", "0.03755215577190542420027816411683"},
    });
}

TEST(WorkedExamples, ChecksThatTheHelpTextSuggests) {
    expectConversions({
        {16, 10, 8, "4D2.91613D32", "1234.56789"},
        // 27 binary places (8 * log 10 / log 2 = 26.6) hold 0.8 to eight decimal places.
        {10, 2, 27, "0.8", "0.11001100110011001100110011"},
        {2, 10, 8, "0.11001100110011001100110011", "0.8"},
    });
}

}  // namespace
}  // namespace radixel::testing
