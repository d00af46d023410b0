#pragma once

#include "framework/String.hpp"

namespace radixel {

// The help window's text: 70 lines of printable ASCII joined by single CRs, with no break after
// the last line. Its worked examples are results the conversion engine gives.
fw::String HelpText();

}  // namespace radixel
