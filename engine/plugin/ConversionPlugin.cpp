// The conversion component as the program sees it: a module with one entry point, found by
// its signature text, that hands the call to the engine. Nothing may unwind across the C
// boundary, so every failure comes back as text, like every other answer of the engine.

#include "engine/convert.hpp"
#include "framework/PluginAbi.hpp"

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr char kxConvBaseSignature[] =
    "kxConvBase(inStr As String, baseTo As Integer, baseFrom As Integer, numPlaces As Integer, "
    "toUpperCase As Boolean) As String";

// A result text with its bytes; the caller's release hands it back here to be freed.
struct OwnedText : fw::PluginText {
    std::string bytes;
};

void releaseText(fw::PluginText* text) { delete static_cast<OwnedText*>(text); }

// The answer when memory has run out: it needs no allocation, so it can always be given, and
// its release leaves it in place.
constexpr char kOutOfMemory[] = "Not enough memory for this conversion.";
void keepText(fw::PluginText*) {}
fw::PluginText* outOfMemoryText() noexcept {
    static fw::PluginText text{kOutOfMemory, sizeof kOutOfMemory - 1, &keepText};
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
        return makeText("The conversion failed.");
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
    static const fw::PluginEntry entries[] = {
        {kxConvBaseSignature, reinterpret_cast<void (*)()>(&kxConvBase)},
    };
    static const fw::PluginTable table = {fw::PluginAbiVersion, sizeof entries / sizeof entries[0], entries};
    return &table;
}
