#pragma once
// Plug-ins: shared modules in the bundle's plug-in folder, each exporting one C-ABI table of
// entry points keyed by their full signature text.

#include "String.hpp"

#include <cstddef>
#include <filesystem>

namespace fw {

// Where plug-ins are looked up: by default the folder "Plugins" beside the folder that holds
// the executable; tests point it at the build's plug-in folder.
void SetPluginFolder(const std::filesystem::path& folder);
std::filesystem::path PluginFolder();

// A table of slots for entry points; allocated once, never released.
void** RuntimeAllocatePluginEntrypointsTable(std::size_t slots);
// The entry point whose signature text is exactly the given one, over every module in the
// plug-in folder; nullptr when none matches.
void* RuntimeLookupPluginEntrypoint(const String& signature);
// Runs the program's binding routine once.
void InitPluginEntrypoints(void (*programBinding)());

}  // namespace fw
