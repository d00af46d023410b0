#include "IntegerPower.hpp"

#include "Radix.hpp"

namespace radixel::engine {

mpz_class integerPower(std::uint32_t base, std::size_t exponent) {
    mpz_class result = 1;
    multiplyByPower(result, base, exponent);
    return result;
}

void multiplyByPower(mpz_class& x, std::uint32_t base, std::size_t exponent) {
    const OddPart parts = oddPartOf(base);
    if (parts.odd > 1 && exponent > 0) {
        mpz_class oddPower;
        mpz_ui_pow_ui(oddPower.get_mpz_t(), parts.odd, exponent);
        x *= oddPower;
    }
    mpz_mul_2exp(x.get_mpz_t(), x.get_mpz_t(), parts.twos * exponent);
}

}  // namespace radixel::engine
