#include "IntegerPower.hpp"

#include <bit>
#include <cmath>

#include "ConversionStop.hpp"
#include "ProductInPieces.hpp"
#include "Radix.hpp"

namespace radixel::engine {

mpz_class integerPower(std::uint32_t base, std::size_t exponent) {
    mpz_class result = 1;
    multiplyByPower(result, base, exponent);
    return result;
}

namespace {

// Powers of at most this many bits are GMP's to build in one call, which takes some tens of
// milliseconds; larger ones are built by squaring in steps that a stop can come between.
constexpr double kPowerInOneCallBits = 64.0 * (1 << 20);

// odd^exponent by squaring from the exponent's top bit down, each square in pieces.
mpz_class powerInSteps(std::uint32_t odd, std::size_t exponent) {
    mpz_class power = odd;
    for (auto bit = static_cast<int>(std::bit_width(exponent)) - 2; bit >= 0; --bit) {
        checkStop();
        mpz_class square;
        productInPieces(square, power.get_mpz_t(), power.get_mpz_t());
        power.swap(square);
        if (((exponent >> bit) & 1) != 0) {
            mpz_mul_ui(power.get_mpz_t(), power.get_mpz_t(), odd);
        }
    }
    return power;
}

}  // namespace

void multiplyByPower(mpz_class& x, std::uint32_t base, std::size_t exponent) {
    const OddPart parts = oddPartOf(base);
    if (parts.odd > 1 && exponent > 0) {
        mpz_class oddPower;
        if (static_cast<double>(exponent) * std::log2(parts.odd) > kPowerInOneCallBits) {
            oddPower = powerInSteps(parts.odd, exponent);
        } else {
            mpz_ui_pow_ui(oddPower.get_mpz_t(), parts.odd, exponent);
        }
        mpz_class product;
        productInPieces(product, x.get_mpz_t(), oddPower.get_mpz_t());
        x.swap(product);
    }
    mpz_mul_2exp(x.get_mpz_t(), x.get_mpz_t(), parts.twos * exponent);
}

}  // namespace radixel::engine
