// A stand-in for the conversion component whose answer costs it nothing: numPlaces binary digits
// made once and kept, handed out again at every call of that length. What the program does
// from the component's return to the result shown is then all that a press costs.

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"

#include <cstdint>
#include <string>

namespace {

std::string ready;

void keepText(fw::PluginText*) {}

fw::PluginText* kxConvBase(const fw::PluginText*, std::int32_t, std::int32_t, std::int32_t numPlaces, std::int32_t) {
    static fw::PluginText answer{nullptr, 0, &keepText};
    const auto length = static_cast<std::size_t>(numPlaces < 0 ? 0 : numPlaces);
    if (ready.size() != length) {
        ready.clear();
        ready.shrink_to_fit();
        ready.resize(length);
        for (std::size_t i = 0; i < length; ++i) ready[i] = static_cast<char>('0' + i % 2);
    }
    answer.data = ready.data();
    answer.size = ready.size();
    return &answer;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
    static const fw::PluginEntry entries[] = {
        {radixel::kxConvBaseSignatureText, reinterpret_cast<void (*)()>(&kxConvBase)},
    };
    static const fw::PluginTable table = {fw::PluginAbiVersion, sizeof entries / sizeof entries[0], entries};
    return &table;
}
