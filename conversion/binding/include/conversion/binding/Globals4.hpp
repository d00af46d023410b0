#pragma once
// The conversion call that the rest of the program uses.

#include "framework/String.hpp"

#include <cstdint>

namespace radixel::Globals4 {

// inStr read in base baseFrom, written in base baseTo with at most numPlaces places after the
// base point. When the conversion component was not found at start-up the answer is a text
// that says so, in place of a conversion.
fw::String kxConvBase(const fw::String& inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                      bool toUpperCase);

}  // namespace radixel::Globals4
