#pragma once
// A call into a plug-in module that cannot end the program unexplained: while one is in
// progress, a fatal signal in any thread (a fault, an abort) first writes one line on stderr that
// names the signal and the module, and then ends the program as it would have ended without it,
// so that its exit status still tells the signal.

namespace fw {

class PluginCallScope {
public:
    // entry is the entry point about to be called, as the plug-in lookup handed it out; component
    // says what the module is to the user ("the conversion component"). The line is made here, so
    // that the signal handler has only to write it.
    PluginCallScope(const void* entry, const char* component);
    ~PluginCallScope();
    PluginCallScope(const PluginCallScope&) = delete;
    PluginCallScope& operator=(const PluginCallScope&) = delete;
};

}  // namespace fw
