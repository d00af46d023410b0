#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "Rounding.hpp"

// A quotient n / d in lowest terms has an ending expansion in base b exactly
// when every prime factor of d divides b; it ends after max over those primes
// p of ceil(v_p(d) / v_p(b)) places. Knowing that lets a conversion asked for a
// billion places of 1.5 give "1.8" instead of building a billion zeros.
namespace radixel::engine {

// The places after which value's expansion in `target` ends, if it does.
// Costs a gcd of numerator and denominator and one mpz_remove per prime of
// `target`: worth it only when the places asked for are many.
std::optional<std::size_t> placesToEnd(const Ratio& value, std::uint32_t target);

// The places after which every multiple of 1 / base^count ends in `target`:
// when each prime of `base` divides `target`, the largest over those primes p
// of ceil(count * v_p(base) / v_p(target)); nothing otherwise. Costs no
// arithmetic on the value, so it serves where the value is too large for a gcd.
std::optional<std::size_t> placesToEndOfPower(std::uint32_t base, std::size_t count, std::uint32_t target);

}  // namespace radixel::engine
