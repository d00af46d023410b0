#pragma once

#include <cstddef>
#include <cstdint>

#include <gmpxx.h>

namespace radixel::engine {

// base^exponent. The factors of two in the base become one shift, so a power
// of two costs a single allocation and 10^n costs a power of 5 only.
mpz_class integerPower(std::uint32_t base, std::size_t exponent);

// x *= base^exponent, with the same split into odd part and shift.
void multiplyByPower(mpz_class& x, std::uint32_t base, std::size_t exponent);

}  // namespace radixel::engine
