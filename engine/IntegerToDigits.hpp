#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <gmpxx.h>

#include "Radix.hpp"

namespace radixel::engine {

// The digits of x >= 0 in `base` (2..65536), most significant first, with
// leading zeros up to `minDigits` and at least one digit. Linear for a power
// of two; GMP's subquadratic mpn_get_str for the other bases up to 256;
// O(M(n) log n) divide and conquer for the rest.
Digits integerToDigits(const mpz_class& x, std::uint32_t base, std::size_t minDigits);

// The text of x >= 0 in a base up to 36, its digits written with `alphabet` and "-" before them
// when `negative` and x is not zero: the digits come out as characters in the text's own
// buffer, with no digit array in between. x is taken over and gone afterwards.
std::string integerText(mpz_class&& x, std::uint32_t base, const char* alphabet, bool negative);

}  // namespace radixel::engine
