#pragma once
// The binary contract between the framework and a plug-in module. A module is a shared
// library that exports one C function, radixel_plugin_table, which returns the module's table
// of entry points. Nothing else crosses between the two, so a module needs neither Qt nor the
// framework, and this header includes nothing but the C library's integer types.

#include <cstddef>
#include <cstdint>

namespace fw {

extern "C" {

// Text crossing the boundary. A text handed to an entry point is lent: the entry point reads
// it during the call and never releases it (its release is null). A text that an entry point
// returns carries one reference, which the caller gives back exactly once through the text's
// own release function, so the module that allocated it is also the one that frees it.
struct PluginText {
    const char* data;  // size bytes of UTF-8, not necessarily followed by a zero byte
    std::size_t size;
    void (*release)(PluginText* text);
};

struct PluginEntry {
    const char* signature;  // zero-terminated UTF-8, matched byte for byte
    void (*function)();     // called as the type that its signature describes
};

struct PluginTable {
    std::uint32_t abiVersion;  // a table of any other version than PluginAbiVersion is skipped
    std::uint32_t entryCount;
    const PluginEntry* entries;
};

using PluginTableFunction = const PluginTable* (*)();

}  // extern "C"

inline constexpr std::uint32_t PluginAbiVersion = 1;
inline constexpr const char* PluginTableSymbol = "radixel_plugin_table";

}  // namespace fw
