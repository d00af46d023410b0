#include "conversion/binding/PluginEntrypoints.hpp"

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/Plugins.hpp"

namespace radixel {

void** plugin_entrypoints = nullptr;

const fw::String& kxConvBaseSignature() {
    static const fw::String signature(kxConvBaseSignatureText);
    return signature;
}

void InitPluginEntrypoints() {
    plugin_entrypoints = fw::RuntimeAllocatePluginEntrypointsTable(1);
    plugin_entrypoints[0] = fw::RuntimeLookupPluginEntrypoint(kxConvBaseSignature());
}

}  // namespace radixel
