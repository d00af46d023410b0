// Regrouping digits between a base and a power of it, against the general
// route through a big integer (digitsToInteger, then integerToDigits): random
// integers of random lengths up to a few thousand digits, with leading zeros,
// zero itself and negative numbers, both on the digits and through convert.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "DigitRegrouping.hpp"
#include "DigitsToInteger.hpp"
#include "IntegerToDigits.hpp"
#include "NumberWriter.hpp"
#include "engine/convert.hpp"

namespace radixel::testing {
namespace {

using engine::Digits;

struct BasePair {
    std::uint32_t from;
    std::uint32_t to;
};

const std::vector<BasePair> kPowerPairs = {
    {10, 100},   {10, 1000},     {100, 10},    {1000, 10}, {3, 9},     {9, 3},     {7, 343},   {16, 65536},
    {65536, 16}, {2, 65536},     {65536, 2},   {256, 16},  {16, 256},  {6, 36},    {36, 6},    {2, 16},
    {10, 10},    {65536, 65536}, {255, 65025}, {2, 32768}, {3, 59049}, {59049, 3}, {16, 4096}, {4096, 64},
};

// Neither base a power of the other, though some share a root, or one base not positional.
const std::vector<BasePair> kOtherPairs = {
    {10, 16}, {8, 16},        {16, 8}, {100, 1000}, {1000, 100}, {4, 8},  {9, 27},
    {2, 3},   {65535, 65536}, {1, 2},  {2, 1},      {1, 16},     {16, 1}, {1, 1},
};

class RandomDigits {
public:
    explicit RandomDigits(std::uint64_t seed) : engine_(seed) {}

    // Mostly a few thousand digits at most, sometimes a handful; leading zeros
    // now and then, and all zeros, all largest digits or random digits.
    Digits digits(std::uint32_t base) {
        const std::size_t count = chance(4) ? 1 + below(8) : 1 + below(3000);
        const std::size_t zeros = chance(3) ? 1 + below(20) : 0;
        Digits d(zeros + count, 0);
        const int pattern = static_cast<int>(below(8));
        for (std::size_t i = zeros; i < d.size(); ++i) {
            d[i] = static_cast<std::uint16_t>(pattern == 0 ? 0 : pattern == 1 ? base - 1 : below(base));
        }
        return d;
    }

    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_); }
    bool chance(std::size_t oneIn) { return below(oneIn) == 0; }

private:
    std::mt19937_64 engine_;
};

Digits throughInteger(const Digits& digits, std::uint32_t from, std::uint32_t to) {
    return engine::integerToDigits(engine::digitsToInteger(digits.data(), digits.size(), from), to, 1);
}

std::string digitsText(const Digits& digits) {
    std::string text;
    for (std::uint16_t d : digits) {
        text += (text.empty() ? "" : " ") + std::to_string(d);
    }
    return text;
}

TEST(DigitRegrouping, PowerPairsGiveTheDigitsOfTheRouteThroughAnInteger) {
    RandomDigits random(20250114);
    for (const BasePair& pair : kPowerPairs) {
        for (int round = 0; round < 40; ++round) {
            const Digits input = random.digits(pair.from);
            const std::optional<Digits> regrouped = engine::regroupDigits(input, pair.from, pair.to);
            ASSERT_TRUE(regrouped.has_value()) << "from base " << pair.from << " to base " << pair.to;
            const Digits expected = throughInteger(input, pair.from, pair.to);
            EXPECT_EQ(*regrouped, expected)
                << "digits [" << digitsText(input) << "] from base " << pair.from << " to base " << pair.to << " gave ["
                << digitsText(*regrouped) << "], expected [" << digitsText(expected) << "]";
        }
    }
}

TEST(DigitRegrouping, OtherPairsAreLeftToTheGeneralRoute) {
    const Digits one = {1};
    for (const BasePair& pair : kOtherPairs) {
        EXPECT_FALSE(engine::regroupDigits(one, pair.from, pair.to).has_value())
            << "from base " << pair.from << " to base " << pair.to;
    }
}

TEST(DigitRegrouping, ConvertWritesWhatTheGeneralRouteWrites) {
    RandomDigits random(31);
    for (const BasePair& pair : kPowerPairs) {
        for (int round = 0; round < 20; ++round) {
            const Digits input = random.digits(pair.from);
            const bool negative = random.chance(2);
            const bool upperCase = random.chance(2);
            const bool plus = !negative && random.chance(4);
            const std::string text = std::string(negative ? "-"
                                                 : plus   ? "+"
                                                          : "") +
                                     engine::NumberWriter(pair.from, !upperCase).integer(false, input);
            const Digits value = throughInteger(input, pair.from, pair.to);
            const bool zero = value == Digits{0};
            const std::string expected = engine::NumberWriter(pair.to, upperCase).integer(negative && !zero, value);
            EXPECT_EQ(
                convert(text, static_cast<std::int32_t>(pair.to), static_cast<std::int32_t>(pair.from), 8, upperCase),
                expected)
                << "input \"" << text << "\" from base " << pair.from << " to base " << pair.to
                << (upperCase ? "" : ", lower case");
        }
    }
}

}  // namespace
}  // namespace radixel::testing
