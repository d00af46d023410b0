#include "Rounding.hpp"

#include <algorithm>
#include <cmath>

#include "IntegerPower.hpp"
#include "Radix.hpp"

namespace radixel::engine {

namespace {

double log2OfInteger(const mpz_class& x) {
    long exponent = 0;
    const double fraction = mpz_get_d_2exp(&exponent, x.get_mpz_t());
    return static_cast<double>(exponent) + std::log2(fraction);
}

// Rounds quotient up when remainder / divisor >= 1/2.
void roundHalfAwayFromZero(mpz_class& quotient, const mpz_class& remainder, const mpz_class& divisor) {
    mpz_class twice;
    mpz_mul_2exp(twice.get_mpz_t(), remainder.get_mpz_t(), 1);
    if (twice >= divisor) {
        ++quotient;
    }
}

}  // namespace

mpz_class roundToPlaces(const Ratio& value, std::uint32_t base, std::size_t places) {
    mpz_class scaled = value.numerator;
    multiplyByPower(scaled, base, places);
    if (value.denominator == 1) {
        return scaled;
    }
    mpz_class quotient;
    mpz_class remainder;
    mpz_tdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), scaled.get_mpz_t(), value.denominator.get_mpz_t());
    roundHalfAwayFromZero(quotient, remainder, value.denominator);
    return quotient;
}

Scientific roundToScientific(const Ratio& value, std::uint32_t base, std::size_t places,
                             std::optional<std::size_t> endsAfter) {
    // The logarithm picks the exponent; it can be one off only where the value
    // lies within rounding error of a power of the base, which the exact
    // comparisons below settle.
    const double magnitude = (log2OfInteger(value.numerator) - log2OfInteger(value.denominator)) / log2Of(base);
    std::int64_t exponent = static_cast<std::int64_t>(std::floor(magnitude));
    std::size_t kept = places;
    mpz_class low;
    mpz_class high;
    mpz_class quotient;
    mpz_class remainder;
    mpz_class divisor;
    for (;;) {
        if (endsAfter) {
            const std::int64_t needed = static_cast<std::int64_t>(*endsAfter) + exponent;
            kept = std::min(places, static_cast<std::size_t>(std::max<std::int64_t>(needed, 0)));
        }
        low = integerPower(base, kept);
        high = low * base;
        const std::int64_t scale = static_cast<std::int64_t>(kept) - exponent;
        mpz_class dividend = value.numerator;
        divisor = value.denominator;
        if (scale >= 0) {
            multiplyByPower(dividend, base, static_cast<std::size_t>(scale));
        } else {
            multiplyByPower(divisor, base, static_cast<std::size_t>(-scale));
        }
        mpz_tdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), dividend.get_mpz_t(), divisor.get_mpz_t());
        if (quotient < low) {
            --exponent;
        } else if (quotient >= high) {
            ++exponent;
        } else {
            break;
        }
    }
    roundHalfAwayFromZero(quotient, remainder, divisor);
    if (quotient == high) {
        quotient = low;
        ++exponent;
    }
    return Scientific{quotient, exponent, kept};
}

}  // namespace radixel::engine
