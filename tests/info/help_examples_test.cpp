// The help text's worked examples, taken from the text itself and run through the engine: what
// the help promises is what the conversion window gives.

#include "HelpLines.hpp"

#include "engine/convert.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace {

// The conversion window always asks for upper-case digits.
std::string Convert(const std::string& in, std::int32_t from, std::int32_t to, std::int32_t places) {
    return radixel::convert(in, to, from, places, true);
}

class HelpExamples : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(lines.size(), 70u); }
    const std::vector<std::string> lines = HelpLines();
};

}  // namespace

TEST_F(HelpExamples, LiteralExampleLinesConvertIntoOneAnother) {
    const struct {
        const char* name;
        std::size_t input, result;
        std::int32_t from, to;
    } examples[] = {
        {"integer to base 16", 9, 13, 10, 16},     {"and back to base 10", 13, 9, 16, 10},
        {"integer to base 50", 9, 19, 10, 50},     {"integer to base 1000", 9, 23, 10, 1000},
        {"base point to base 16", 25, 29, 10, 16}, {"exponent to base 16", 49, 53, 10, 16},
    };
    for (const auto& e : examples)
        EXPECT_EQ(Convert(lines[e.input], e.from, e.to, 8), lines[e.result])
            << e.name << ": \"" << lines[e.input] << "\" from base " << e.from << " to base " << e.to;
}

TEST_F(HelpExamples, GrayCodeStepsGiveTheirResults) {
    EXPECT_NE(lines[36].find("type 4 into"), std::string::npos) << lines[36];
    EXPECT_NE(lines[40].find("type 5 into"), std::string::npos) << lines[40];
    EXPECT_EQ(Convert("4", 10, 1, 8), lines[38]);
    EXPECT_EQ(Convert("5", 10, 1, 8), lines[42]);
}

TEST_F(HelpExamples, ClaimsInTheProseHold) {
    // Line 7: letter case does not matter in input.
    EXPECT_EQ(Convert("ff", 16, 10, 8), "255");
    EXPECT_EQ(Convert("FF", 16, 10, 8), "255");
    // Line 31: the rounded base-16 result converts back to the decimal input.
    ASSERT_NE(lines[31].find("1234.56789 comes back"), std::string::npos) << lines[31];
    EXPECT_EQ(Convert(lines[29], 16, 10, 8), "1234.56789");
    // Line 55: the exponent's digits are base-16 digits.
    ASSERT_NE(lines[55].find("40E1 in base 16 is 16609"), std::string::npos) << lines[55];
    EXPECT_EQ(Convert("40E1", 16, 10, 8), "16609");
}

// Line 33's advice: eight decimal places of 0.8 survive a trip through 27 binary places, and not
// through a limit left at eight.
TEST_F(HelpExamples, PlacesAdviceKeepsTheAccuracy) {
    ASSERT_NE(lines[33].find("0.8 given to eight decimal places needs about 27 binary places"), std::string::npos)
        << lines[33];
    EXPECT_EQ(Convert(Convert("0.8", 10, 2, 27), 2, 10, 8), "0.8");
    EXPECT_NE(Convert(Convert("0.8", 10, 2, 8), 2, 10, 8), "0.8");
}

TEST_F(HelpExamples, FractionSentencesGiveTheirResults) {
    const std::regex sentence(R"((\S+) in base (\d+) with (\d+) places gives (\S+) in base (\d+)\.)");
    struct Stated {
        std::string input, result;
        std::int32_t from, places, to;
    };
    std::vector<Stated> stated;
    for (std::size_t line : {60u, 62u}) {
        std::smatch m;
        ASSERT_TRUE(std::regex_search(lines[line], m, sentence)) << "line " << line << ": " << lines[line];
        stated.push_back({m[1], m[4], std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[5])});
    }

    EXPECT_EQ(stated[0].input, "2/3");
    EXPECT_EQ(stated[1].input, "1B/2CF");
    // Each figure runs to the full limit its sentence names, so a reader who checks it finds the
    // program give that very figure.
    for (const Stated& example : stated) {
        SCOPED_TRACE(example.input + " from base " + std::to_string(example.from) + " to base " +
                     std::to_string(example.to) + " with " + std::to_string(example.places) + " places");
        EXPECT_EQ(example.result.size(), 2u + static_cast<std::size_t>(example.places)) << example.result;
        EXPECT_EQ(Convert(example.input, example.from, example.to, example.places), example.result);
    }
}
