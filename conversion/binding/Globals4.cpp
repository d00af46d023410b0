#include "conversion/binding/Globals4.hpp"

#include "MissingComponent.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "conversion/binding/glink.hpp"
#include "framework/PluginCallScope.hpp"

#include <memory>

namespace radixel::Globals4 {

namespace {

struct ReleaseText {
    void operator()(fw::PluginText* text) const {
        if (text->release) text->release(text);
    }
};

}  // namespace

fw::String kxConvBase(const fw::String& inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                      bool toUpperCase) {
    // An empty slot would be a jump to nowhere; the user gets told instead.
    if (!plugin_entrypoints || !plugin_entrypoints[0]) return MissingComponentText();

    const fw::PluginText lent{inStr.data(), inStr.size(), nullptr};
    const std::int32_t upperCaseBit = static_cast<unsigned char>(toUpperCase) & 1;
    const fw::PluginCallScope inConversion(plugin_entrypoints[0], "the conversion component");
    std::unique_ptr<fw::PluginText, ReleaseText> result(
        glink::kxConvBase(&lent, baseTo, baseFrom, numPlaces, upperCaseBit));
    if (!result || !result->data) return fw::String();
    return fw::String(std::string(result->data, result->size));
}

}  // namespace radixel::Globals4
