#pragma once
// Plug-ins: shared modules in the bundle's plug-in folder, each exporting one C-ABI table of
// entry points keyed by their full signature text (the layout: PluginAbi.hpp).

#include "String.hpp"

#include <cstddef>
#include <filesystem>

namespace fw {

// Where plug-ins are looked up: by default the folder "Plugins" beside the folder that holds
// the executable (links resolved, so a moved bundle or a linked executable still finds it);
// tests point it elsewhere, and an empty path restores the default.
void SetPluginFolder(const std::filesystem::path& folder);
std::filesystem::path PluginFolder();

// A table of slots for entry points, all empty, allocated anew by each call with new[]. The
// program never releases its table; whoever else asks for one frees it with delete[].
void** RuntimeAllocatePluginEntrypointsTable(std::size_t slots);
// The entry point whose signature text is exactly the given one, over every module ("*.so")
// in the plug-in folder in name order; nullptr when none matches. A module is loaded on first
// sight and stays loaded; one cut short, one that cannot be loaded, or one whose table has
// another layout version, is passed over.
void* RuntimeLookupPluginEntrypoint(const String& signature);
// The same lookup for an entry point that a module may well not have: a miss is no fault, so
// it is not reported.
void* RuntimeLookupOptionalPluginEntrypoint(const String& signature);
// Runs the program's binding routine once. Every signature that it looked up in vain is
// reported afterwards on stderr in one line naming the plug-in folder (and any module passed
// over), so that a bundle without its plug-in does not fail unexplained later.
void InitPluginEntrypoints(void (*programBinding)());

}  // namespace fw
