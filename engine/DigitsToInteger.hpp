#pragma once

#include <cstddef>
#include <cstdint>

#include <gmpxx.h>

namespace radixel::engine {

// The value of `count` digits of `base` (2..65536), most significant first.
// Linear for a power of two; GMP's subquadratic mpn_set_str for the other
// bases up to 256; O(M(n) log n) divide and conquer for the rest.
mpz_class digitsToInteger(const std::uint16_t* digits, std::size_t count, std::uint32_t base);

}  // namespace radixel::engine
