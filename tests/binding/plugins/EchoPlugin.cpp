// A stand-in for the conversion component that answers with what it was given, so that a
// test sees exactly what crossed the boundary. It also counts the texts it handed out and got
// back. Built a second time with another table version, which the loader must pass over.

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"

#include <cstdint>
#include <string>

#ifndef ECHO_TABLE_VERSION
#define ECHO_TABLE_VERSION 1
#endif

namespace {

std::int32_t outstandingTexts = 0;

struct OwnedText : fw::PluginText {
    std::string bytes;
};

void releaseText(fw::PluginText* text) {
    --outstandingTexts;
    delete static_cast<OwnedText*>(text);
}

fw::PluginText* kxConvBase(const fw::PluginText* inStr, std::int32_t baseTo, std::int32_t baseFrom,
                           std::int32_t numPlaces, std::int32_t toUpperCase) {
    auto* text = new OwnedText;
    text->bytes = (ECHO_TABLE_VERSION == 1 ? "" : "future ");
    text->bytes += "inStr=" + std::string(inStr->data, inStr->size) + (inStr->release ? " (owned)" : " (lent)") +
                   " baseTo=" + std::to_string(baseTo) + " baseFrom=" + std::to_string(baseFrom) +
                   " numPlaces=" + std::to_string(numPlaces) + " toUpperCase=" + std::to_string(toUpperCase);
    text->data = text->bytes.data();
    text->size = text->bytes.size();
    text->release = &releaseText;
    ++outstandingTexts;
    return text;
}

std::int32_t OutstandingTexts() { return outstandingTexts; }

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
    static const fw::PluginEntry entries[] = {
        {"OutstandingTexts() As Integer", reinterpret_cast<void (*)()>(&OutstandingTexts)},
        {radixel::kxConvBaseSignatureText, reinterpret_cast<void (*)()>(&kxConvBase)},
    };
    static const fw::PluginTable table = {ECHO_TABLE_VERSION, sizeof entries / sizeof entries[0], entries};
    return &table;
}
