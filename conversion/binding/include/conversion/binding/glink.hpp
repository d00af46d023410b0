#pragma once
// The call glue: the bound entry points called as they stand.

#include "framework/PluginAbi.hpp"

#include <cstdint>

namespace radixel::glink {

// Calls slot 0 with the arguments unchanged, in signature order, and returns its text, whose
// one reference passes to the caller. Slot 0 must be filled: the glue tests nothing.
fw::PluginText* kxConvBase(const fw::PluginText* inStr, std::int32_t baseTo, std::int32_t baseFrom,
                           std::int32_t numPlaces, std::int32_t toUpperCase);

// Calls the stop entry, which must be bound.
void kxConvBaseStop();

}  // namespace radixel::glink
