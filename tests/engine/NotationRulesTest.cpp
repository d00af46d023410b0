#include "ConvertCase.hpp"

namespace radixel::testing {
namespace {

TEST(NotationRules, ResultTakesTheFormOfTheInput) {
    expectConversions({
        {10, 16, 0, "255", "FF"},
        {10, 16, 30, "255", "FF"},
        {10, 16, 8, "255.5", "FF.8"},
        {10, 16, 8, "3/2", "1.8"},
        {10, 16, 8, "255e0", "F.Fb^1"},
        {10, 10, 8, "1000e0", "1e3"},
        {10, 16, 8, "1.5e0", "1.8b^0"},
        {16, 10, 8, "1b^-1", "6.25e-2"},
    });
}

TEST(NotationRules, RoundingIsToNearestWithHalvesAwayFromZero) {
    expectConversions({
        {10, 10, 0, "2.5", "3"},
        {10, 10, 0, "-2.5", "-3"},
        {10, 10, 0, "2.4999", "2"},
        {10, 10, 1, "0.25", "0.3"},
        {10, 10, 1, "-0.25", "-0.3"},
        {10, 10, 1, "0.2499999999999999999999999", "0.2"},
        {16, 10, 4, "0.08", "0.0313"},
        {10, 10, 0, "7/2", "4"},
        {10, 10, 0, "-5/2", "-3"},
        {10, 10, 0, "2.5e-2", "3e-2"},
        {10, 10, 0, "2.5e0", "3e0"},
    });
}

TEST(NotationRules, CarryRunsIntoTheIntegerPartAndRenormalisesTheMantissa) {
    expectConversions({
        {10, 10, 2, "0.999", "1"},
        {10, 10, 2, "9.999", "10"},
        {10, 10, 2, "-9.999", "-10"},
        {16, 16, 2, "FF.FF8", "100"},
        {10, 10, 2, "9.999e5", "1e6"},
        {10, 10, 0, "9.6e0", "1e1"},
        {16, 16, 2, "F.FFFFb^3", "1b^4"},
        {16, 16, 2, "-F.FFFFb^-3", "-1b^-2"},
    });
}

TEST(NotationRules, NoTrailingZerosNoBarePointNoNegativeZero) {
    expectConversions({
        {10, 10, 8, "1.50", "1.5"},
        {10, 10, 8, "5.", "5"},
        {10, 10, 8, "5.000", "5"},
        {10, 10, 8, ".5", "0.5"},
        {10, 10, 8, "-0", "0"},
        {10, 10, 8, "-000", "0"},
        {10, 10, 2, "-0.001", "0"},
        {10, 10, 0, "-0.4", "0"},
        {10, 10, 8, "-0/7", "0"},
        {10, 10, 8, "0e5", "0"},
        {10, 16, 8, "-0.000e-99999999999999999999", "0"},
        {16, 10, 8, "0b^FFFFFFFFFFFFFFFFFFFF", "0"},
        {10, 16, 8, "007", "7"},
    });
}

TEST(NotationRules, InputIsReadTolerantly) {
    expectConversions({
        {10, 16, 8, " 123 456\n789\t", "75BCD15"},
        {10, 16, 8, "12\r\n34", "4D2"},
        {10, 16, 8, "+255", "FF"},
        {10, 16, 8, "- 255", "-FF"},
        {10, 10, 8, "1.5E3", "1.5e3"},
        {10, 10, 8, "1.5e+3", "1.5e3"},
        {10, 10, 8, "1.5 e - 3", "1.5e-3"},
        {16, 16, 8, "1B^-A", "1b^-A"},
        {16, 16, 8, "1 b ^ 2", "1b^2"},
        {16, 16, 8, "bb^2", "Bb^2"},
        {16, 10, 8, "ff", "255"},
        {16, 10, 8, "<15><1 5>", "255"},
        {16, 10, 8, "<0000000000000001><00000000000000000000015>", "31"},
        {10, 10, 8, "-2/3", "-0.66666667"},
        {10, 10, 8, "-.5", "-0.5"},
    });
}

TEST(NotationRules, LetterCaseFollowsTheFlagButMarkersStayLowerCase) {
    expectConversions({
        {10, 16, 8, "-1.2341234e20000", "-7.498c7fd9b^40e1", false},
        {10, 36, 8, "1295", "zz", false},
        {10, 50, 8, "1234567", "9<43><41>h", false},
        {10, 50, 8, "1234567", "9<43><41>H", true},
    });
}

TEST(NotationRules, GrayCodeNeighboursDifferInOneBit) {
    std::string previous = convert("0", 1, 10, 0, true);
    for (int n = 1; n < 300; ++n) {
        const std::string code = convert(std::to_string(n), 1, 10, 0, true);
        const std::string widened = std::string(code.size() - previous.size(), '0') + previous;
        int differences = 0;
        for (std::size_t i = 0; i < code.size(); ++i) {
            differences += code[i] != widened[i];
        }
        EXPECT_EQ(differences, 1) << n - 1 << " -> " << previous << ", " << n << " -> " << code;
        EXPECT_EQ(convert(code, 10, 1, 0, true), std::to_string(n)) << code;
        previous = code;
    }
}

TEST(NotationRules, GrayCodeReadsLeadingZerosAndConvertsToOtherBases) {
    expectConversions({
        {1, 10, 8, "000110", "4"},
        {1, 1, 8, "00111", "111"},
        {1, 16, 8, "1" + std::string(63, '0'), "FFFFFFFFFFFFFFFF"},
        {16, 1, 8, "FFFFFFFFFFFFFFFF", "1" + std::string(63, '0')},
        {1, 10, 8, "0", "0"},
        {10, 1, 8, "-0", "0"},
    });
}

}  // namespace
}  // namespace radixel::testing
