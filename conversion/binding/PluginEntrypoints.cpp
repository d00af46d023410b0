#include "conversion/binding/PluginEntrypoints.hpp"

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/Plugins.hpp"

namespace radixel {

void** plugin_entrypoints = nullptr;
void* plugin_stop_entrypoint = nullptr;

const fw::String& kxConvBaseSignature() {
    static const fw::String signature(kxConvBaseSignatureText);
    return signature;
}

const fw::String& kxConvBaseStopSignature() {
    static const fw::String signature(kxConvBaseStopSignatureText);
    return signature;
}

// A component without the stop entry still converts, so its absence is looked up quietly.
void InitPluginEntrypoints() {
    plugin_entrypoints = fw::RuntimeAllocatePluginEntrypointsTable(1);
    plugin_entrypoints[0] = fw::RuntimeLookupPluginEntrypoint(kxConvBaseSignature());
    plugin_stop_entrypoint = fw::RuntimeLookupOptionalPluginEntrypoint(kxConvBaseStopSignature());
}

}  // namespace radixel
