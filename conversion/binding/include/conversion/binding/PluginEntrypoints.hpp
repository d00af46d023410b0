#pragma once
// The program's binding to the conversion component: one slot, filled once at start-up by
// looking the function up by its full signature text. Beside it stands the component's stop
// entry, which a component may or may not have.

#include "framework/String.hpp"

namespace radixel {

// The table of entry points; nil until InitPluginEntrypoints has run. Slot 0 is kxConvBase.
extern void** plugin_entrypoints;

// kxConvBaseStop, or nil: the component has none, or InitPluginEntrypoints has not run.
extern void* plugin_stop_entrypoint;

// The text by which kxConvBase is looked up, 123 characters of UTF-8.
const fw::String& kxConvBaseSignature();
// The text by which kxConvBaseStop is looked up.
const fw::String& kxConvBaseStopSignature();

// Allocates the table and fills slot 0, then looks for the stop entry; run once, by
// fw::InitPluginEntrypoints.
void InitPluginEntrypoints();

}  // namespace radixel
