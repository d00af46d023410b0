#pragma once
// Plug-ins: shared modules in the bundle's plug-in folder, each exporting one C-ABI table of
// entry points keyed by their full signature text (the layout: PluginAbi.hpp).

#include "String.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace fw {

// Where plug-ins are looked up: by default the folder "Plugins" beside the folder that holds
// the executable (links resolved, so a moved bundle or a linked executable still finds it);
// tests point it elsewhere, and an empty path restores the default.
void SetPluginFolder(const std::filesystem::path& folder);
std::filesystem::path PluginFolder();

// A table of slots for entry points, all empty, allocated anew by each call with new[]. The
// program never releases its table; whoever else asks for one frees it with delete[].
void** RuntimeAllocatePluginEntrypointsTable(std::size_t slots);
// The trial helper that every module goes through before it is loaded (PluginTrialProtocol.hpp):
// by default the one in the folder of the executable (links resolved), so that it comes with the
// bundle; tests point it elsewhere, and an empty path restores the default.
void SetPluginTrialHelper(const std::filesystem::path& helper);
std::filesystem::path PluginTrialHelper();

// The entry point whose signature text is exactly the given one, over every module ("*.so")
// in the plug-in folder in name order; nullptr when none matches. A module is tried by the
// trial helper and then loaded on first sight, and stays loaded. One cut short, one that the
// helper refuses (it cannot be loaded, or its table has another layout version), one that
// crashes, aborts or hangs in its trial, or one without a helper to try it, is passed over, and
// not tried again while its file stays as it is.
void* RuntimeLookupPluginEntrypoint(const String& signature);
// The file name of the module that a lookup took this entry point from, or empty for an entry
// point that no lookup handed out. Read from the lookup's own records: a damaged module's
// symbol tables are not to be trusted.
std::string PluginModuleOf(const void* entry);
// The modules that the last lookup of this signature passed over, each as "file: why", when
// that lookup found nothing; empty when it found the entry point or passed nothing over.
std::vector<std::string> PluginsPassedOverFor(const String& signature);
// Runs the program's binding routine once. Every signature that it looked up in vain is
// reported afterwards on stderr in one line naming the plug-in folder (and any module passed
// over), so that a bundle without its plug-in does not fail unexplained later. A module that
// crashed, aborted or hung in its trial is reported in a line of its own even when another
// module served in its place.
void InitPluginEntrypoints(void (*programBinding)());

}  // namespace fw
