// An allocation that fails anywhere in a conversion, C++'s or GMP's, on any thread, is answered
// "Out of memory" (or, where the engine can do without it, with the right answer): never with a
// message of bad input, never by an exception out of the call, never by an abort. Each
// conversion of the table is run with its first allocation failing, then its second, and so on
// to its last (for the longest ones, every so many), and after every such run once more as
// usual, which must give the right answer.
// The sanitizer build's leak check sees whatever a cut-short conversion leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "FailingAllocator.hpp"
#include "engine/convert.hpp"

namespace radixel::testing {
namespace {

struct Conversion {
    const char* form;
    std::string input;
    std::int32_t from;
    std::int32_t to;
    std::int32_t places;
};

void PrintTo(const Conversion& c, std::ostream* out) { *out << c.form; }

std::string digitRun(std::size_t count, char first, char rest) {
    std::string digits(count, rest);
    digits.front() = first;
    return digits;
}

std::string bracketedRun(std::size_t count, const char* digit) {
    std::string digits;
    for (std::size_t i = 0; i < count; ++i) {
        digits += digit;
    }
    return digits;
}

std::vector<Conversion> conversions() {
    return {
        {"integer, GMP's codecs", "123456789123456789123456789123456789", 10, 7, 8},
        {"integer, long, GMP's codecs", digitRun(30000, '9', '4'), 10, 3, 8},
        {"integer on several threads", digitRun(110000, '8', '2'), 10, 7, 8},
        {"integer on several threads above base 256", bracketedRun(52000, "<65534>"), 65535, 10, 8},
        {"integer to a power of two", digitRun(20000, '5', '8'), 10, 16, 8},
        {"integer from a power of two", digitRun(20000, 'F', 'C'), 16, 10, 8},
        {"integer regrouped", digitRun(5000, '7', '6'), 8, 64, 8},
        {"integer split", digitRun(5000, '7', '6'), 64, 2, 8},
        {"integer above base 256", digitRun(20000, '3', '1'), 10, 999, 8},
        {"integer from above base 256", bracketedRun(4000, "<65534>"), 65535, 10, 8},
        {"integer between bases above 256", bracketedRun(3000, "<40000>"), 50000, 65521, 8},
        {"point", "1234.56789", 10, 16, 8},
        {"point, many places", "-0." + digitRun(3000, '1', '7'), 10, 37, 3000},
        {"exponent", "-1.2341234e20000", 10, 16, 8},
        {"exponent, base 37", "<5>.<17>b^<30>", 37, 12, 8},
        {"exponent between powers of one root", "-7.5e-300", 10, 1000, 8},
        {"exponent below one", "1b^-A", 16, 10, 30},
        {"fraction", "1B/2CF", 16, 10, 32},
        {"fraction, ending", "5/12", 10, 6, 2147483647},
        {"fraction, long", "1/" + digitRun(2000, '7', '3'), 10, 65536, 2000},
        {"Gray code to", digitRun(3000, '9', '2'), 10, 1, 8},
        {"Gray code from", digitRun(9000, '1', '0'), 1, 300, 8},
        {"bad input", "<5>b^<900>", 37, 12, 8},
        {"bad input, late", digitRun(5000, '1', '2') + "G", 10, 16, 8},
        {"too large", "1e99999999999999", 10, 16, 8},
        {"base out of range", "1", 70000, 10, 8},
        {"zero", "-0.000", 10, 16, 8},
    };
}

constexpr long kMostRuns = 300;

std::string run(const Conversion& c) { return convert(c.input, c.to, c.from, c.places, true); }

class AllocationFailure : public ::testing::TestWithParam<Conversion> {};

TEST_P(AllocationFailure, AtEveryAllocationInTurn) {
    const Conversion& c = GetParam();
    failAllocation(0);
    const std::string expected = run(c);
    ASSERT_NE(expected, kOutOfMemory) << c.form;
    // Conversions long enough for threads make thousands of allocations; of those, an even
    // spread of about kMostRuns is failed, each a different one.
    const long step = std::max(1L, allocationsCounted() / kMostRuns);
    for (long number = 1;; number += step) {
        failAllocation(number);
        std::string answer;
        try {
            answer = run(c);
        } catch (...) {
            failAllocation(0);
            ADD_FAILURE() << c.form << ": an exception escaped when allocation " << number << " failed";
            break;
        }
        const bool happened = injectedFailureHappened();
        failAllocation(0);
        if (!happened) {
            EXPECT_EQ(answer, expected) << c.form << ": " << number - 1 << " allocations, none failing";
            break;
        }
        EXPECT_TRUE(answer == kOutOfMemory || answer == expected)
            << c.form << ", allocation " << number << " failing: " << answer.substr(0, 80);
        const std::string after = run(c);
        EXPECT_TRUE(after == expected) << c.form << ", after allocation " << number
                                       << " failed: " << after.substr(0, 80);
    }
}

std::string testName(const ::testing::TestParamInfo<Conversion>& info) {
    std::string name;
    for (const char* at = info.param.form; *at != '\0'; ++at) {
        const bool letter = (*at >= 'a' && *at <= 'z') || (*at >= 'A' && *at <= 'Z') || (*at >= '0' && *at <= '9');
        if (letter) {
            name += *at;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryForm, AllocationFailure, ::testing::ValuesIn(conversions()), testName);

}  // namespace
}  // namespace radixel::testing
