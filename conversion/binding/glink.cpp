#include "conversion/binding/glink.hpp"

#include "conversion/binding/PluginEntrypoints.hpp"

namespace radixel::glink {

namespace {
using Entry = fw::PluginText* (*)(const fw::PluginText*, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
using StopEntry = void (*)();
}  // namespace

fw::PluginText* kxConvBase(const fw::PluginText* inStr, std::int32_t baseTo, std::int32_t baseFrom,
                           std::int32_t numPlaces, std::int32_t toUpperCase) {
    return reinterpret_cast<Entry>(plugin_entrypoints[0])(inStr, baseTo, baseFrom, numPlaces, toUpperCase);
}

void kxConvBaseStop() { reinterpret_cast<StopEntry>(plugin_stop_entrypoint)(); }

}  // namespace radixel::glink
