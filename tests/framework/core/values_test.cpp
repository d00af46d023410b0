#include "framework/Exceptions.hpp"
#include "framework/Values.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ValuesTest, CDblReadsTheLeadingDecimalNumber) {
    const struct {
        std::string text;
        double value;
    } cases[] = {
        {"", 0},
        {"16", 16},
        {"   42", 42},
        {"\t\r\n 7", 7},
        {"+3", 3},
        {"-7.5xyz", -7.5},
        {"12 34", 12},
        {"1,5", 1},  // the process locale never turns a comma into a decimal point
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"2.5E-2", 0.025},
        {"1e", 1},
        {"1e+", 1},
        {"1e+x", 1},
        {".", 0},
        {"-", 0},
        {"- 5", 0},
        {"abc", 0},
        {"0x1A", 0},
        {"inf", 0},
        {"nan", 0},
        {"2147483648", 2147483648.0},
        {"1e-310", 1e-310},
        {"1e400", kInf},
        {"-1e400", -kInf},
        {"1e-400", 0},
        {"1e99999999999999999999999", kInf},
        {"0.0001e-99999999999999999999999", 0},
        {"1" + std::string(400, '0'), kInf},
        {"0." + std::string(400, '0') + "1", 0},
        {std::string(100000, '9') + "e-99900", 1e100},
    };
    for (const auto& c : cases) {
        const double got = fw::CDbl(fw::String(c.text));
        EXPECT_EQ(got, c.value) << "CDbl(\"" << c.text.substr(0, 40) << "\")";
        EXPECT_EQ(std::signbit(got), std::signbit(c.value)) << "CDbl(\"" << c.text.substr(0, 40) << "\")";
    }
}

TEST(ValuesTest, CDblStopsAtAZeroByte) {
    EXPECT_EQ(fw::CDbl(fw::String("12\0"
                                  "34",
                                  5)),
              12);
}

TEST(ValuesTest, CvtReal64ToSInt32TruncatesAndClamps) {
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {
        {0, 0},
        {2.9, 2},
        {-2.9, -2},
        {-0.5, 0},
        {16, 16},
        {2147483647.0, kMax},
        {2147483647.9, kMax},
        {2147483648.0, kMax},
        {-2147483648.0, kMin},
        {-2147483648.9, kMin},
        {-2147483649.0, kMin},
        {1e300, kMax},
        {-1e300, kMin},
        {kInf, kMax},
        {-kInf, kMin},
        {kNaN, 0},
        {-kNaN, 0},
        {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::RuntimeCvtReal64ToSInt32(c.value), c.expected) << "value " << c.value;
}

TEST(ValuesTest, StrWritesTheShortestPlainForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {8, "8"},
        {-2.5, "-2.5"},
        {0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1000000, "1000000"},
        {123456789012345, "123456789012345"},
        {1e15, "1e+15"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {1.5e300, "1.5e+300"},
        {-2147483648.0, "-2147483648"},
        {kInf, "INF"},
        {-kInf, "-INF"},
        {kNaN, "NAN"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::Str(c.value).bytes(), c.text) << "value " << c.value;
}

// Every finite double written by Str reads back through CDbl as the very same bits.
TEST(ValuesTest, StrAndCDblRoundTrip) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value)) continue;
        const fw::String text = fw::Str(value);
        const double back = fw::CDbl(text);
        if (value == 0) EXPECT_EQ(back, 0);
        else
            EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(value))
                << "value " << value << " written " << text.bytes();
    }
}

TEST(ValuesTest, StrRefusesAFormatItDoesNotKnow) {
    try {
        fw::Str(8, fw::String("#.##"));
        FAIL() << "no exception";
    } catch (const fw::RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find("#.##"), std::string::npos) << e.what();
    }
}

TEST(ValuesTest, StringCompareOrdersBytes) {
    const struct {
        fw::String a, b;
        int sign;
    } cases[] = {
        {"", "", 0},
        {"abc", "abc", 0},
        {"a", "", 1},
        {"", "a", -1},
        {"abc", "abd", -1},
        {"A", "a", -1},
        {fw::String("a\0b", 3), fw::String("a\0b", 3), 0},
        {fw::String("a\0b", 3), fw::String("a\0c", 3), -1},
        {fw::String("a\0", 2), "a", 1},
        {"\xC3\xA9", "z", 1},
    };
    for (const auto& c : cases) {
        const int got = fw::RuntimeStringCompare(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << "\"" << c.a.bytes() << "\" against \"" << c.b.bytes() << "\"";
    }
}

}  // namespace
