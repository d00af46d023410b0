// The digit codecs on long runs, where the divide-and-conquer and bit-slicing
// paths take over: lengths around each split point of the power table, and
// digit patterns (zeros, largest digits, a lone leading digit) that stress the
// joins and the remainders. Checked against Horner's rule and long division.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "DigitsToInteger.hpp"
#include "IntegerToDigits.hpp"

namespace radixel::testing {
namespace {

using engine::Digits;

mpz_class horner(const Digits& digits, std::uint32_t base) {
    mpz_class value = 0;
    for (std::uint16_t d : digits) {
        mpz_mul_ui(value.get_mpz_t(), value.get_mpz_t(), base);
        mpz_add_ui(value.get_mpz_t(), value.get_mpz_t(), d);
    }
    return value;
}

Digits longDivision(mpz_class n, std::uint32_t base) {
    Digits digits;
    do {
        digits.push_back(static_cast<std::uint16_t>(mpz_tdiv_q_ui(n.get_mpz_t(), n.get_mpz_t(), base)));
    } while (n != 0);
    return Digits(digits.rbegin(), digits.rend());
}

std::size_t digitsPerLimb(std::uint32_t base) {
    std::size_t count = 0;
    for (mpz_class power = base; mpz_sizeinbase(power.get_mpz_t(), 2) <= 64; power *= base) {
        ++count;
    }
    return count;
}

// Above base 256 the codecs split runs at a chunk of 16 limbs' worth of digits times a power of
// two, and GMP's own codecs below it at sizes of its own; these lengths, 24 and 32 limbs' worth
// times 1 to 8, fall beside and on such points up to four levels deep.
std::vector<std::size_t> lengthsAroundSplits(std::uint32_t base) {
    std::vector<std::size_t> lengths = {1, 2, 65};
    const std::size_t perLimb = digitsPerLimb(base);
    for (std::size_t limbs : {24u, 32u}) {
        for (std::size_t scale = 1; scale <= 8; scale *= 2) {
            const std::size_t split = limbs * perLimb * scale;
            lengths.insert(lengths.end(), {split, split + 1});
        }
    }
    return lengths;
}

TEST(RadixCodec, LongRunsMatchHornerAndLongDivision) {
    std::mt19937 random(31);
    for (std::uint32_t base : {3u, 10u, 255u, 8u, 512u, 65536u, 257u, 1000u, 59049u, 65521u, 65535u}) {
        for (std::size_t length : lengthsAroundSplits(base)) {
            for (int pattern = 0; pattern < 4; ++pattern) {
                Digits digits(length);
                for (auto& d : digits) {
                    const auto any = static_cast<std::uint16_t>(random() % base);
                    d = pattern == 0 ? any : pattern == 1 ? static_cast<std::uint16_t>(base - 1) : 0;
                }
                digits.front() = pattern == 3 ? 1 : std::max<std::uint16_t>(digits.front(), 1);
                if (pattern == 2) {
                    // A value whose low half is all zeros: every remainder of the split is 0.
                    for (std::size_t i = 0; i < length / 2; ++i) {
                        digits[i] = static_cast<std::uint16_t>(random() % base);
                    }
                    digits.front() = 1;
                }
                const mpz_class expected = horner(digits, base);
                const mpz_class value = engine::digitsToInteger(digits.data(), digits.size(), base);
                ASSERT_EQ(value, expected)
                    << "reading " << length << " digits of base " << base << ", pattern " << pattern;
                ASSERT_EQ(engine::integerToDigits(value, base, 0), digits)
                    << "writing " << length << " digits of base " << base << ", pattern " << pattern;
                ASSERT_EQ(longDivision(value, base), digits);
            }
        }
    }
}

TEST(RadixCodec, LeadingZerosAreDroppedOrPaddedAsAsked) {
    for (std::uint32_t base : {10u, 16u, 1000u, 65536u}) {
        const Digits padded = {0, 0, 0, 1, 2};
        EXPECT_EQ(engine::digitsToInteger(padded.data(), padded.size(), base), base + 2);
        EXPECT_EQ(engine::integerToDigits(mpz_class(base + 2), base, 5), padded);
        EXPECT_EQ(engine::integerToDigits(mpz_class(base + 2), base, 1), (Digits{1, 2}));
        EXPECT_EQ(engine::integerToDigits(mpz_class(0), base, 3), (Digits{0, 0, 0}));
        EXPECT_EQ(engine::digitsToInteger(padded.data(), 3, base), 0);
    }
}

}  // namespace
}  // namespace radixel::testing
