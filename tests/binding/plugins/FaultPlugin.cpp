// Stand-ins for a damaged or faulty conversion component, each failing in the one way that the
// FAULT_... macro it is built with names: while it is loaded, in its table, when called, when
// stopped or at its exit. Its faults are real ones: a write to a page that may not be touched,
// an abort, a loop that never ends, a stack that runs out.

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[maybe_unused]] volatile char* noAccessPage() {
    static void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return static_cast<volatile char*>(page);
}

[[maybe_unused]] void crash() { noAccessPage()[0] = 1; }

[[noreturn, maybe_unused]] void hang() {
    for (;;) pause();
}

volatile int bottom = -1;
[[maybe_unused]] int deeper(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    if (depth == bottom) return frame[0];
    return deeper(depth + 1) + frame[0];
}

// Each time the module is loaded it says so, in the file that the environment names, so that a
// test can count how often it was tried.
void noteLoad() {
    if (const char* log = std::getenv("RADIXEL_TEST_FAULT_LOG"))
        if (FILE* file = std::fopen(log, "a")) {
            std::fputs("loaded\n", file);
            std::fclose(file);
        }
}

struct OnLoad {
    OnLoad() {
        noteLoad();
#if defined(FAULT_CRASH_WHEN_LOADED)
        crash();
#elif defined(FAULT_HANG_WHEN_LOADED)
        hang();
#elif defined(FAULT_EXIT_WHEN_LOADED)
        _exit(0);
#endif
    }
    ~OnLoad() {
#if defined(FAULT_CRASH_AT_EXIT)
        crash();
#endif
    }
} onLoad;

struct OwnedText : fw::PluginText {
    std::string bytes;
};

void releaseText(fw::PluginText* text) { delete static_cast<OwnedText*>(text); }

fw::PluginText* kxConvBase(const fw::PluginText* inStr, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    const std::string_view in(inStr->data, inStr->size);
#if defined(FAULT_CRASH_WHEN_CALLED)
    crash();
#elif defined(FAULT_ABORT_WHEN_CALLED)
    std::abort();
#elif defined(FAULT_HANG_WHEN_CALLED)
    hang();
#elif defined(FAULT_BY_INPUT)
    if (in == "segv") crash();
    if (in == "abort") std::abort();
    if (in == "deep") deeper(0);
#endif
    auto* text = new OwnedText;
    text->bytes = "answered " + std::string(in);
    text->data = text->bytes.data();
    text->size = text->bytes.size();
    text->release = &releaseText;
    return text;
}

void kxConvBaseStop() {
#if defined(FAULT_CRASH_WHEN_STOPPED)
    crash();
#endif
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const fw::PluginTable* radixel_plugin_table() {
#if defined(FAULT_CRASH_IN_TABLE)
    crash();
#endif
    static fw::PluginEntry entries[] = {
        {radixel::kxConvBaseSignatureText, reinterpret_cast<void (*)()>(&kxConvBase)},
        {radixel::kxConvBaseStopSignatureText, reinterpret_cast<void (*)()>(&kxConvBaseStop)},
    };
    static fw::PluginTable table = {fw::PluginAbiVersion, sizeof entries / sizeof entries[0], entries};
#if defined(FAULT_ENTRIES_NOWHERE)
    table.entries = reinterpret_cast<const fw::PluginEntry*>(const_cast<char*>(noAccessPage()));
#elif defined(FAULT_SIGNATURE_NOWHERE)
    entries[0].signature = const_cast<const char*>(noAccessPage());
#endif
    return &table;
}
