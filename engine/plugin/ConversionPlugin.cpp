// The conversion component as the program sees it: a module with one entry point, found by
// its signature text, that hands the call to the engine. Nothing may unwind across the C
// boundary, so every failure comes back as text, like every other answer of the engine.

#include "engine/convert.hpp"
#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace {

// A result text with its bytes; the caller's release hands it back here to be freed.
struct OwnedText : fw::PluginText {
    std::string bytes;
};

void releaseText(fw::PluginText* text) { delete static_cast<OwnedText*>(text); }

// The answer when memory has run out: it needs no allocation, so it can always be given, and
// its release leaves it in place.
void keepText(fw::PluginText*) {}
fw::PluginText* outOfMemoryText() noexcept {
    static fw::PluginText text{radixel::kOutOfMemory.data(), radixel::kOutOfMemory.size(), &keepText};
    return &text;
}

fw::PluginText* makeText(std::string bytes) noexcept {
    auto* text = new (std::nothrow) OwnedText;
    if (!text) return outOfMemoryText();
    text->bytes = std::move(bytes);
    text->data = text->bytes.data();
    text->size = text->bytes.size();
    text->release = &releaseText;
    return text;
}

fw::PluginText* kxConvBase(const fw::PluginText* inStr, std::int32_t baseTo, std::int32_t baseFrom,
                           std::int32_t numPlaces, std::int32_t toUpperCase) noexcept {
    std::string_view in = inStr && inStr->data ? std::string_view(inStr->data, inStr->size) : std::string_view();
    try {
        return makeText(radixel::convert(in, baseTo, baseFrom, numPlaces, toUpperCase != 0));
    } catch (const std::bad_alloc&) {
        return outOfMemoryText();
    } catch (...) {
        return makeText(std::string(radixel::kInternalFault));
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
    static const fw::PluginEntry entries[] = {
        {radixel::kxConvBaseSignatureText, reinterpret_cast<void (*)()>(&kxConvBase)},
    };
    static const fw::PluginTable table = {fw::PluginAbiVersion, sizeof entries / sizeof entries[0], entries};
    return &table;
}
