// The codecs on many threads give exactly what they give on one, on every route: GMP's below
// base 256 and the engine's own above it, with runs that straddle the size below which work
// stays on one thread and the points where it is cut into pieces. Whole conversions of every
// form that carries long digits (integer, point, fraction, exponent) agree the same way.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "CodecThresholds.hpp"
#include "ConvertWithin.hpp"
#include "DigitsToInteger.hpp"
#include "IntegerToDigits.hpp"
#include "ParallelWork.hpp"
#include "ProductInPieces.hpp"

namespace radixel::testing {
namespace {

using engine::Digits;

constexpr unsigned kThreads = 8;
constexpr double kUnlimited = 1e18;

std::vector<std::size_t> lengthsAroundTheParallelCuts() {
    // Beside the most that stays on one thread, and where the cuts reach one level further down.
    const std::size_t most = engine::kParallelMinDigits;
    return {most, most + 1, 2 * most + 3, 3 * most + 7};
}

Digits randomDigits(std::size_t count, std::uint32_t base, std::mt19937& random, int pattern) {
    Digits digits(count);
    for (std::size_t i = 0; i < count; ++i) {
        // A run of zeros in the middle makes some of the pieces zero.
        const bool zero = pattern == 1 && i > count / 3 && i < count - count / 3;
        digits[i] = static_cast<std::uint16_t>(zero ? 0 : random() % base);
    }
    digits.front() = static_cast<std::uint16_t>(base - 1);
    return digits;
}

TEST(ParallelCodec, ManyThreadsGiveTheDigitsAndValuesOfOne) {
    std::mt19937 random(7);
    for (std::uint32_t base : {3u, 10u, 255u, 1000u, 65535u}) {
        for (std::size_t length : lengthsAroundTheParallelCuts()) {
            for (int pattern = 0; pattern < 2; ++pattern) {
                const Digits digits = randomDigits(length, base, random, pattern);
                const mpz_class alone = engine::digitsToInteger(digits.data(), digits.size(), base);
                const Digits writtenAlone = engine::integerToDigits(alone, base, 0);
                mpz_class together;
                Digits writtenTogether;
                {
                    const engine::ConversionThreads threads(kThreads, nullptr, nullptr);
                    together = engine::digitsToInteger(digits.data(), digits.size(), base);
                    writtenTogether = engine::integerToDigits(together, base, 0);
                }
                const std::string where = std::to_string(length) + " digits of base " + std::to_string(base) +
                                          ", pattern " + std::to_string(pattern);
                ASSERT_TRUE(together == alone) << "reading " << where;
                ASSERT_TRUE(writtenTogether == writtenAlone) << "writing " << where;
                ASSERT_TRUE(writtenAlone == digits) << "the round trip of " << where;
            }
        }
    }
}

// Powers of two are packed and sliced by threads in pieces of 2^20 digits.
TEST(ParallelCodec, PowerOfTwoBasesGiveTheSameBitsInPieces) {
    std::mt19937 random(3);
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    for (std::uint32_t base : {2u, 8u, 16u, 32768u, 65536u}) {
        for (std::size_t length : {kPiece, kPiece + 1, 2 * kPiece + 63, 3 * kPiece + 5}) {
            const Digits digits = randomDigits(length, base, random, 1);
            const mpz_class alone = engine::digitsToInteger(digits.data(), digits.size(), base);
            mpz_class together;
            Digits written;
            {
                const engine::ConversionThreads threads(kThreads, nullptr, nullptr);
                together = engine::digitsToInteger(digits.data(), digits.size(), base);
                written = engine::integerToDigits(together, base, 0);
            }
            const std::string where = std::to_string(length) + " digits of base " + std::to_string(base);
            ASSERT_TRUE(together == alone) << "reading " << where;
            ASSERT_TRUE(written == digits) << "writing " << where;
            if (base <= 16) {
                std::string text(length, '0');
                for (std::size_t i = 0; i < length; ++i) {
                    text[i] = "0123456789ABCDEF"[digits[i]];
                }
                ASSERT_TRUE(together == mpz_class(text, static_cast<int>(base))) << "GMP reading " << where;
            }
        }
    }
}

// Products too large for one GMP call to be stopped in are cut into pieces, balanced or not.
TEST(ParallelCodec, ProductsInPiecesAreGmpsProducts) {
    gmp_randclass random(gmp_randinit_default);
    random.seed(5);
    constexpr mp_bitcnt_t kLimb = GMP_NUMB_BITS;
    const struct {
        mp_bitcnt_t aLimbs;
        mp_bitcnt_t bLimbs;
    } sizes[] = {{1100000, 1100000}, {1100000, 2200000}};
    for (const auto& size : sizes) {
        const mpz_class a = random.get_z_bits(size.aLimbs * kLimb);
        // Zero limbs at the cut make halves shorter than their place.
        mpz_class b = random.get_z_bits(size.bLimbs * kLimb);
        mpz_tdiv_q_2exp(b.get_mpz_t(), b.get_mpz_t(), size.bLimbs * kLimb / 2);
        mpz_mul_2exp(b.get_mpz_t(), b.get_mpz_t(), size.bLimbs * kLimb / 2 + 3 * kLimb);
        b += 1;
        const mpz_class expected = a * b;
        mpz_class alone;
        engine::productInPieces(alone, a.get_mpz_t(), b.get_mpz_t());
        mpz_class together;
        {
            const engine::ConversionThreads threads(kThreads, nullptr, nullptr);
            engine::productInPieces(together, a.get_mpz_t(), b.get_mpz_t());
        }
        EXPECT_TRUE(alone == expected) << size.aLimbs << " by " << size.bLimbs << " limbs on one thread";
        EXPECT_TRUE(together == expected) << size.aLimbs << " by " << size.bLimbs << " limbs on many";
    }
}

std::string longDigits(std::size_t count, const char* alphabet, std::size_t base, std::mt19937& random) {
    std::string text(count, '0');
    for (char& c : text) {
        c = alphabet[random() % base];
    }
    text.front() = alphabet[base - 1];
    return text;
}

TEST(ParallelCodec, WholeConversionsOfEveryFormAgreeOnOneThreadAndMany) {
    std::mt19937 random(11);
    const char* decimal = "0123456789";
    const std::size_t count = 3 * engine::kParallelMinDigits;
    const std::string digits = longDigits(count, decimal, 10, random);
    struct Case {
        std::string input;
        std::int32_t from;
        std::int32_t to;
        std::int32_t places;
    };
    const std::vector<Case> cases = {
        {digits, 10, 7, 8},
        {digits, 10, 50000, 8},
        {"-" + digits.substr(0, count / 2) + "." + digits.substr(count / 2), 10, 3, 200000},
        {digits.substr(0, count / 3) + "/" + digits.substr(count / 3), 10, 1000, 300000},
        {digits + "e-" + std::to_string(count * 2), 10, 7, 200000},
        {"1/7", 10, 3, 400000},
    };
    for (const Case& c : cases) {
        const std::string alone = engine::convertWithin(c.input, c.to, c.from, c.places, true, kUnlimited, 1);
        const std::string together = engine::convertWithin(c.input, c.to, c.from, c.places, true, kUnlimited, kThreads);
        EXPECT_TRUE(alone == together) << c.input.substr(0, 40) << "... from base " << c.from << " to base " << c.to
                                       << ": " << alone.substr(0, 40) << " against " << together.substr(0, 40);
        EXPECT_GT(alone.size(), 100000u) << alone.substr(0, 80);
    }
}

// A long run that turns out not to be plain digits is read again by the full reader, which
// names the first offending character, wherever the threads that checked the run found it.
TEST(ParallelCodec, ALongRunWithAStrayCharacterIsNamedWhereItStands) {
    std::string digits(3000000, '4');
    const auto at = [](std::size_t offset) { return " at character " + std::to_string(offset + 1); };
    for (std::size_t offset : {std::size_t{1}, std::size_t{1500000}, std::size_t{2999999}}) {
        std::string text = digits;
        text[offset] = 'G';
        EXPECT_EQ(engine::convertWithin(text, 16, 10, 8, true, kUnlimited, kThreads),
                  "Not a digit in base 10: 'G'" + at(offset));
        text[offset] = ' ';
        text[offset / 2] = '.';
        const std::string point = engine::convertWithin(text, 16, 10, 8, true, kUnlimited, kThreads);
        EXPECT_EQ(point.find('.'), offset == 1 ? 1u : point.size() - 9) << point.substr(0, 40);
    }
}

}  // namespace
}  // namespace radixel::testing
