// Random numbers in random bases and forms, converted by the engine and by a
// plain digit-by-digit conversion written here: Horner's rule to read, long
// division by the base to write the integer part, long multiplication by the
// base for each place, and rounding with the carry taken digit by digit.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/convert.hpp"

namespace radixel::testing {
namespace {

using DigitList = std::vector<std::uint32_t>;

const std::vector<std::uint32_t> kInterestingBases = {2,   3,   7,   8,   10,   16,   36,    37,    50,    64,
                                                      100, 255, 256, 257, 1000, 4096, 59049, 65521, 65535, 65536};

std::string digitText(std::uint32_t value, bool upperCase) {
    static const char* upper = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const char* lower = "0123456789abcdefghijklmnopqrstuvwxyz";
    if (value < 36) {
        return std::string(1, (upperCase ? upper : lower)[value]);
    }
    return "<" + std::to_string(value) + ">";
}

std::string digitsText(const DigitList& digits, bool upperCase) {
    std::string text;
    for (std::uint32_t d : digits) {
        text += digitText(d, upperCase);
    }
    return text;
}

mpz_class horner(const DigitList& digits, std::uint32_t base) {
    mpz_class value = 0;
    for (std::uint32_t d : digits) {
        value = value * base + d;
    }
    return value;
}

DigitList longDivision(mpz_class n, std::uint32_t base) {
    DigitList digits;
    do {
        digits.push_back(static_cast<std::uint32_t>(mpz_tdiv_q_ui(n.get_mpz_t(), n.get_mpz_t(), base)));
    } while (n != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// Adds one to the last place; returns the carry out of the first.
bool carryInto(DigitList& places, std::uint32_t base) {
    for (std::size_t i = places.size(); i-- > 0;) {
        if (++places[i] < base) {
            return false;
        }
        places[i] = 0;
    }
    return true;
}

// num / den >= 0 to `places` places: the integer part and the places, rounded.
struct Expansion {
    mpz_class integer;
    DigitList places;
};

Expansion expand(const mpz_class& num, const mpz_class& den, std::uint32_t base, std::size_t count) {
    Expansion e{num / den, {}};
    mpz_class rest = num % den;
    for (std::size_t i = 0; i < count; ++i) {
        rest *= base;
        e.places.push_back(static_cast<std::uint32_t>(mpz_class(rest / den).get_ui()));
        rest %= den;
    }
    if (2 * rest >= den && carryInto(e.places, base)) {
        ++e.integer;
    }
    return e;
}

std::string placesText(DigitList places, bool upperCase) {
    while (!places.empty() && places.back() == 0) {
        places.pop_back();
    }
    return places.empty() ? "" : "." + digitsText(places, upperCase);
}

std::string referenceFixed(bool negative, const mpz_class& num, const mpz_class& den, std::uint32_t base,
                           std::size_t places) {
    const Expansion e = expand(num, den, base, places);
    const std::string text = digitsText(longDivision(e.integer, base), true) + placesText(e.places, true);
    return negative && text != "0" ? "-" + text : text;
}

std::string referenceScientific(bool negative, const mpz_class& num, const mpz_class& den, std::uint32_t base,
                                std::size_t places) {
    // Step the exponent one power at a time until base^e <= num/den < base^(e+1).
    long exponent = 0;
    mpz_class scaledNum = num;
    mpz_class scaledDen = den;
    while (scaledNum >= scaledDen * base) {
        scaledDen *= base;
        ++exponent;
    }
    while (scaledNum < scaledDen) {
        scaledNum *= base;
        --exponent;
    }
    Expansion e = expand(scaledNum, scaledDen, base, places);
    if (e.integer == base) {
        e.integer = 1;
        ++exponent;
    }
    std::string text = digitsText(longDivision(e.integer, base), true) + placesText(e.places, true);
    text += base == 10 ? "e" : "b^";
    if (exponent < 0) {
        text += "-";
    }
    text += digitsText(longDivision(mpz_class(std::labs(exponent)), base), true);
    return negative ? "-" + text : text;
}

std::string referenceGrayEncode(const mpz_class& n) {
    mpz_class half = n >> 1;
    mpz_class code;
    mpz_xor(code.get_mpz_t(), n.get_mpz_t(), half.get_mpz_t());
    return code.get_str(2);
}

mpz_class referenceGrayDecode(const std::string& bits) {
    const mpz_class code(bits, 2);
    mpz_class n = code;
    for (mpz_class shifted = code >> 1; shifted != 0; shifted >>= 1) {
        mpz_xor(n.get_mpz_t(), n.get_mpz_t(), shifted.get_mpz_t());
    }
    return n;
}

class RandomNumbers {
public:
    explicit RandomNumbers(std::uint64_t seed) : engine_(seed) {}

    std::uint32_t base() {
        if (chance(2)) {
            return kInterestingBases[below(kInterestingBases.size())];
        }
        return 2 + static_cast<std::uint32_t>(below(65535));
    }

    // Mostly short, sometimes long enough for the divide-and-conquer paths.
    std::size_t length(std::size_t longest) { return chance(4) ? 1 + below(longest) : 1 + below(12); }

    DigitList digits(std::uint32_t base, std::size_t count) {
        DigitList d(count);
        const int pattern = static_cast<int>(below(6));
        for (auto& digit : d) {
            // Runs of zeros and of the largest digit test the splits and the carries.
            digit = pattern == 0 ? 0 : pattern == 1 ? base - 1 : static_cast<std::uint32_t>(below(base));
        }
        return d;
    }

    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_); }
    bool chance(std::size_t oneIn) { return below(oneIn) == 0; }

private:
    std::mt19937_64 engine_;
};

std::string describe(const std::string& input, std::uint32_t from, std::uint32_t to, std::size_t places) {
    return "input \"" + input + "\" from base " + std::to_string(from) + " to base " + std::to_string(to) + ", " +
           std::to_string(places) + " places";
}

TEST(Reference, IntegersPointsAndFractionsMatchTheDigitByDigitConversion) {
    RandomNumbers random(20240611);
    for (int round = 0; round < 400; ++round) {
        const std::uint32_t from = random.base();
        const std::uint32_t to = random.base();
        const std::size_t places = random.below(40);
        const bool negative = random.chance(3);
        const int form = static_cast<int>(random.below(3));
        const DigitList whole = random.digits(from, random.length(400));
        std::string input = negative ? "-" : "";
        std::string expected;
        if (form == 0) {
            input += digitsText(whole, random.chance(2));
            const mpz_class n = horner(whole, from);
            expected = (negative && n != 0 ? "-" : "") + digitsText(longDivision(n, to), true);
        } else if (form == 1) {
            const DigitList fraction = random.digits(from, random.length(60) - 1);
            input += digitsText(whole, true) + "." + digitsText(fraction, false);
            DigitList all = whole;
            all.insert(all.end(), fraction.begin(), fraction.end());
            mpz_class den;
            mpz_ui_pow_ui(den.get_mpz_t(), from, fraction.size());
            expected = referenceFixed(negative, horner(all, from), den, to, places);
        } else {
            DigitList denominator = random.digits(from, random.length(100));
            denominator.back() = std::max<std::uint32_t>(denominator.back(), 1);
            input += digitsText(whole, true) + "/" + digitsText(denominator, true);
            expected = referenceFixed(negative, horner(whole, from), horner(denominator, from), to, places);
        }
        EXPECT_EQ(convert(input, static_cast<std::int32_t>(to), static_cast<std::int32_t>(from),
                          static_cast<std::int32_t>(places), true),
                  expected)
            << describe(input, from, to, places);
    }
}

TEST(Reference, ExponentsMatchTheDigitByDigitConversion) {
    RandomNumbers random(77);
    for (int round = 0; round < 250; ++round) {
        const std::uint32_t from = random.base();
        const std::uint32_t to = random.base();
        const std::size_t places = random.below(30);
        const bool negative = random.chance(3);
        DigitList whole = random.digits(from, random.length(40));
        whole.front() = std::max<std::uint32_t>(whole.front(), 1);
        const DigitList fraction = random.digits(from, random.below(20));
        const long exponent = static_cast<long>(random.below(61)) - 30;
        const std::string marker = from == 10 ? "e" : "b^";
        const std::string input = (negative ? "-" : "") + digitsText(whole, true) +
                                  (fraction.empty() ? "" : "." + digitsText(fraction, true)) + marker +
                                  (exponent < 0 ? "-" : "") +
                                  digitsText(longDivision(mpz_class(std::labs(exponent)), from), true);
        DigitList all = whole;
        all.insert(all.end(), fraction.begin(), fraction.end());
        mpz_class num = horner(all, from);
        mpz_class den = 1;
        const long power = exponent - static_cast<long>(fraction.size());
        mpz_class scale;
        mpz_ui_pow_ui(scale.get_mpz_t(), from, static_cast<unsigned long>(std::labs(power)));
        (power >= 0 ? num : den) *= scale;
        EXPECT_EQ(convert(input, static_cast<std::int32_t>(to), static_cast<std::int32_t>(from),
                          static_cast<std::int32_t>(places), true),
                  referenceScientific(negative, num, den, to, places))
            << describe(input, from, to, places);
    }
}

TEST(Reference, GrayCodeMatchesShiftAndExclusiveOr) {
    RandomNumbers random(5);
    for (int round = 0; round < 100; ++round) {
        const DigitList decimal = random.digits(10, random.length(300));
        const std::string input = digitsText(decimal, true);
        const mpz_class n = horner(decimal, 10);
        const std::string code = referenceGrayEncode(n);
        EXPECT_EQ(convert(input, 1, 10, 8, true), code) << input;
        EXPECT_EQ(convert(code, 10, 1, 8, true), n.get_str()) << code;
        const std::string bits = digitsText(random.digits(2, random.length(500)), true);
        EXPECT_EQ(convert(bits, 16, 1, 8, false), referenceGrayDecode(bits).get_str(16)) << bits;
    }
}

// There and back: an integer comes back as it was; a number with a point or an
// exponent comes back when the places going there are at least the places
// coming back times log(from) / log(to), plus one, so that the first rounding
// stays below half a place of the way back.
TEST(RoundTrip, ThereAndBackGivesTheNumberAgain) {
    RandomNumbers random(99);
    for (int round = 0; round < 300; ++round) {
        const std::uint32_t a = random.base();
        const std::uint32_t b = random.base();
        const bool negative = random.chance(2);
        DigitList whole = random.digits(a, random.length(300));
        whole.front() = std::max<std::uint32_t>(whole.front(), 1);
        DigitList fraction = random.digits(a, random.length(30));
        fraction.back() = std::max<std::uint32_t>(fraction.back(), 1);
        const int form = static_cast<int>(random.below(3));
        std::string original = (negative ? "-" : "") + digitsText(whole, true);
        std::size_t backPlaces = 0;
        if (form == 1) {
            original += "." + digitsText(fraction, true);
            backPlaces = fraction.size();
        } else if (form == 2) {
            const std::string marker = a == 10 ? "e" : "b^";
            original = (negative ? "-" : "") + digitsText({whole.front()}, true) + "." + digitsText(fraction, true) +
                       marker + "-" + digitsText(longDivision(mpz_class(1 + random.below(999)), a), true);
            backPlaces = fraction.size();
        }
        const auto therePlaces = static_cast<std::int32_t>(
            std::ceil(static_cast<double>(backPlaces + (form == 2 ? 1 : 0)) * std::log2(a) / std::log2(b)) + 1);
        const std::string there =
            convert(original, static_cast<std::int32_t>(b), static_cast<std::int32_t>(a), therePlaces, true);
        const std::string back = convert(there, static_cast<std::int32_t>(a), static_cast<std::int32_t>(b),
                                         static_cast<std::int32_t>(backPlaces), true);
        EXPECT_EQ(back, original) << "from base " << a << " to base " << b << " with " << therePlaces
                                  << " places there gave \"" << there << "\"";
    }
}

}  // namespace
}  // namespace radixel::testing
