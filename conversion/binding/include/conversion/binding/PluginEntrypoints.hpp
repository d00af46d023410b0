#pragma once
// The program's binding to the conversion component: one slot, filled once at start-up by
// looking the function up by its full signature text.

#include "framework/String.hpp"

namespace radixel {

// The table of entry points; nil until InitPluginEntrypoints has run. Slot 0 is kxConvBase.
extern void** plugin_entrypoints;

// The text by which kxConvBase is looked up, 123 characters of UTF-8.
const fw::String& kxConvBaseSignature();

// Allocates the table and fills slot 0; run once, by fw::InitPluginEntrypoints.
void InitPluginEntrypoints();

}  // namespace radixel
