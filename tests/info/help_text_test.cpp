#include "HelpLines.hpp"

#include "info/HelpText.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::set<std::size_t> kEmptyLines = {1,  3,  6,  10, 12, 14, 16, 18, 20, 22, 26, 28, 30, 32, 35,
                                           37, 39, 41, 43, 45, 48, 50, 52, 54, 56, 57, 59, 61, 63, 64};

}  // namespace

TEST(HelpText, IsSeventyPrintableAsciiLinesJoinedBySingleCRs) {
    const std::string text = radixel::HelpText().bytes();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        EXPECT_TRUE(c == '\r' || (c >= 0x20 && c <= 0x7E)) << "byte " << int(c) << " at offset " << i;
    }
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\r');
    EXPECT_EQ(HelpLines().size(), 70u);
}

TEST(HelpText, EmptyLinesStandExactlyWhereTheLayoutPutsThem) {
    const auto lines = HelpLines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].empty(), kEmptyLines.count(i) == 1) << "line " << i << ": \"" << lines[i] << "\"";
}

TEST(HelpText, LiteralLinesHoldTheirLiteralAlone) {
    const struct {
        std::size_t line;
        const char* text;
    } literals[] = {
        {0, "Radixel"},
        {5, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ<36><37>...<65534><65535>"},
        {9, "123456789123456789123456789123456789"},
        {13, "17C6E3C032F89045AD746684045F15"},
        {19, "C<47>DM<41>F<49><43>T0KVAOYP9<37>WZ<39>"},
        {23, "<123><456><789><123><456><789><123><456><789><123><456><789>"},
        {25, "1234.56789"},
        {29, "4D2.91613D32"},
        {38, "110"},
        {42, "111"},
        {46, "Floating Point:"},
        {49, "-1.2341234e20000"},
        {53, "-7.498C7FD9b^40E1"},
        {58, "Fractions:"},
    };
    const auto lines = HelpLines();
    ASSERT_EQ(lines.size(), 70u);
    for (const auto& literal : literals) EXPECT_EQ(lines[literal.line], literal.text) << "line " << literal.line;
}

// The steps name the controls as the conversion window labels them, so that a reader finds them.
TEST(HelpText, StepsQuoteTheWindowsLabels) {
    const auto lines = HelpLines();
    ASSERT_EQ(lines.size(), 70u);
    for (std::size_t line : {8u, 17u, 21u, 24u, 36u, 47u})
        EXPECT_NE(lines[line].find("\"Base:\""), std::string::npos) << "line " << line << ": " << lines[line];
    EXPECT_NE(lines[27].find("\"Limit to places after base point:\""), std::string::npos) << lines[27];
    EXPECT_NE(lines[27].find("default 8"), std::string::npos) << lines[27];
}
