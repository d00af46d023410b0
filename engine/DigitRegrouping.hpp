#pragma once

#include <cstdint>
#include <optional>

#include "Radix.hpp"

namespace radixel::engine {

// The digits of an integer in base `to`, most significant first, without
// leading zeros and at least one digit, read directly off its `digits` in base
// `from` when one base is the other to a power k >= 1: every k source digits,
// grouped from the least significant end, make one target digit, or every
// source digit splits into k target digits. Linear in the digits, and the same
// digits as integerToDigits(digitsToInteger(...), to, 1) would give. Nothing
// when neither base is a power of the other, or either is not positional.
std::optional<Digits> regroupDigits(const Digits& digits, std::uint32_t from, std::uint32_t to);

}  // namespace radixel::engine
