// A stand-in for the conversion component whose conversions take as long as a test asks:
// numPlaces milliseconds, holding a megabyte of memory while they run. It answers
// "slow: " and the text it was given once it has worked that long, and "stopped" when its stop
// entry ended it first. Built with the stop entry and without it (SLOW_WITHOUT_STOP), for a
// component that cannot be stopped. Counters tell a test what it did.

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<std::int32_t> started{0};
std::atomic<std::int32_t> running{0};
std::atomic<std::int32_t> stops{0};
// Every stop moves it on; a conversion that sees it move from where it began ends.
std::atomic<std::uint64_t> stopGeneration{0};

struct OwnedText : fw::PluginText {
    std::string bytes;
};

void releaseText(fw::PluginText* text) { delete static_cast<OwnedText*>(text); }

fw::PluginText* makeText(std::string bytes) {
    auto* text = new OwnedText;
    text->bytes = std::move(bytes);
    text->data = text->bytes.data();
    text->size = text->bytes.size();
    text->release = &releaseText;
    return text;
}

fw::PluginText* kxConvBase(const fw::PluginText* inStr, std::int32_t, std::int32_t, std::int32_t numPlaces,
                           std::int32_t) {
    ++started;
    ++running;
    const std::uint64_t generation = stopGeneration;
    std::vector<char> workspace(1 << 20, 1);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(numPlaces);
    bool stopped = false;
    while (!stopped && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        stopped = stopGeneration != generation;
    }
    fw::PluginText* answer = makeText(stopped ? "stopped" : "slow: " + std::string(inStr->data, inStr->size));
    --running;
    return answer;
}

[[maybe_unused]] void kxConvBaseStop() {
    ++stops;
    ++stopGeneration;
}

std::int32_t Started() { return started; }
std::int32_t Running() { return running; }
std::int32_t Stops() { return stops; }

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
    static const fw::PluginEntry entries[] = {
        {radixel::kxConvBaseSignatureText, reinterpret_cast<void (*)()>(&kxConvBase)},
#ifndef SLOW_WITHOUT_STOP
        {radixel::kxConvBaseStopSignatureText, reinterpret_cast<void (*)()>(&kxConvBaseStop)},
#endif
        {"Started() As Integer", reinterpret_cast<void (*)()>(&Started)},
        {"Running() As Integer", reinterpret_cast<void (*)()>(&Running)},
        {"Stops() As Integer", reinterpret_cast<void (*)()>(&Stops)},
    };
    static const fw::PluginTable table = {fw::PluginAbiVersion, sizeof entries / sizeof entries[0], entries};
    return &table;
}
