#pragma once
// The canvas "Canvas1" in which both information windows show the emblem.

#include "framework/String.hpp"
#include "framework/Window.hpp"

#include <cstdint>

namespace radixel {

// The canvas's record: 128 by 128, the emblem's own size, with its top-left corner at left, top.
fw::String EmblemCanvasRecord(std::int32_t left, std::int32_t top);

// Creates the canvas under its name and gives it the emblem as its backdrop, then the record,
// which sets no backdrop, so the emblem stays; a nil emblem is set as it is. A
// NilObjectException from the emblem leaves the canvas registered with neither.
void CreateEmblemCanvas(fw::Window& window, const fw::String& record);

}  // namespace radixel
