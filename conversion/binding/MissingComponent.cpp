#include "MissingComponent.hpp"

#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/Plugins.hpp"

#include <string>
#include <vector>

namespace radixel {

fw::String MissingComponentText() {
    std::string text = "The conversion component is missing: no plug-in in \"" + fw::PluginFolder().string() +
                       "\" provides kxConvBase";
    const std::vector<std::string> passedOver = fw::PluginsPassedOverFor(kxConvBaseSignature());
    for (std::size_t i = 0; i < passedOver.size(); ++i) text += (i ? "; " : " (passed over: ") + passedOver[i];
    if (!passedOver.empty()) text += ")";
    return fw::String(text + ".");
}

}  // namespace radixel
