// The conversion component as the program sees it: a module with two entry points, each found
// by its signature text, that hand the calls to the engine: the conversion, and the stop of
// every conversion running at the moment. Nothing may unwind across the C boundary, so every
// failure comes back as text, like every other answer of the engine. The engine ends every
// thread it starts before its call returns, so nothing of the module runs between calls.

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

// The answers when memory has run out and when the conversion was stopped: they need no
// allocation, so they can always be given, and their release leaves them in place.
void keepText(fw::PluginText*) {}
fw::PluginText* outOfMemoryText() noexcept {
    static fw::PluginText text{radixel::kOutOfMemory.data(), radixel::kOutOfMemory.size(), &keepText};
    return &text;
}
fw::PluginText* stoppedText() noexcept {
    static fw::PluginText text{radixel::kStopped.data(), radixel::kStopped.size(), &keepText};
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
        std::string answer = radixel::convert(in, baseTo, baseFrom, numPlaces, toUpperCase != 0);
        if (answer == radixel::kStopped) {
            return stoppedText();
        }
        return makeText(std::move(answer));
    } catch (const std::bad_alloc&) {
        return outOfMemoryText();
    } catch (...) {
        return makeText(std::string(radixel::kInternalFault));
    }
}

void kxConvBaseStop() noexcept { radixel::stopConversions(); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
    static const fw::PluginEntry entries[] = {
        {radixel::kxConvBaseSignatureText, reinterpret_cast<void (*)()>(&kxConvBase)},
        {radixel::kxConvBaseStopSignatureText, &kxConvBaseStop},
    };
    static const fw::PluginTable table = {fw::PluginAbiVersion, sizeof entries / sizeof entries[0], entries};
    return &table;
}
