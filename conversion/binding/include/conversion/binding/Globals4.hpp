#pragma once
// The conversion call that the rest of the program uses, and the call that stops it.

#include "framework/String.hpp"

#include <cstdint>

namespace radixel::Globals4 {

// inStr read in base baseFrom, written in base baseTo with at most numPlaces places after the
// base point. When the conversion component was not found at start-up the answer is a text
// that says so, in place of a conversion. It may be called from any thread.
fw::String kxConvBase(const fw::String& inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                      bool toUpperCase);

// Asks every conversion running at this moment, on any thread, to end soon; each then answers
// with a text that its caller must drop. A conversion started afterwards runs as usual. False
// when the component has no stop entry: its conversions run to their end.
bool kxConvBaseStop();

}  // namespace radixel::Globals4
