#pragma once

#include <cstddef>
#include <cstdint>

#include <gmpxx.h>

#include "Radix.hpp"

namespace radixel::engine {

// The digits of x >= 0 in `base` (2..65536), most significant first, with
// leading zeros up to `minDigits` and at least one digit. Linear for a power
// of two; GMP's subquadratic mpn_get_str for the other bases up to 256;
// O(M(n) log n) divide and conquer for the rest.
Digits integerToDigits(const mpz_class& x, std::uint32_t base, std::size_t minDigits);

}  // namespace radixel::engine
