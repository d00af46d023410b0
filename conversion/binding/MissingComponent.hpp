#pragma once

#include "framework/String.hpp"

namespace radixel {

// The answer of the conversion call when no conversion component was bound at start-up: where
// it was looked for, and every module passed over there with the reason.
fw::String MissingComponentText();

}  // namespace radixel
