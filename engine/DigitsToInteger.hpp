#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include <gmpxx.h>

#include "NumberReader.hpp"

namespace radixel::engine {

// The value of `count` digits of `base` (2..65536), most significant first.
// Linear for a power of two; GMP's subquadratic mpn_set_str for the other
// bases up to 256; O(M(n) log n) divide and conquer for the rest.
mpz_class digitsToInteger(const std::uint16_t* digits, std::size_t count, std::uint32_t base);

// The same for digits of a base up to 36 read straight off `text`, through `values`; nothing when
// a character of the text is no plain digit of the base. On a thread of a conversion, every
// character of a text too long for one thread is read on one of its threads.
std::optional<mpz_class> plainDigitsToInteger(std::string_view text, std::uint32_t base, const PlainDigitTable& values);

}  // namespace radixel::engine
