// The bundle's plug-in trial helper: a process of its own in which a module is loaded, its table
// read as the program's lookup reads it, and each entry that the program calls made once, before
// the program loads the module itself. A module whose loading, constructors, table, entries or
// exit code crash, abort or hang does so here, where it costs the program only a line. It needs
// neither Qt nor the framework; the verdict goes back as framework/PluginTrialProtocol.hpp says.

#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"
#include "framework/PluginTrialProtocol.hpp"

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// A sanitizer that catches the module's fault would end the helper with a status of its own; the
// program reads a fault from the signal, so the helper lets the signal end it as it would unchecked.
extern "C" const char* __asan_default_options() {
    return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:detect_leaks=0";
}
#endif

namespace {

using Convert = fw::PluginText* (*)(const fw::PluginText*, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
using Stop = void (*)();

[[noreturn]] void refuse(const std::string& reason) {
    std::string line = reason;
    for (char& c : line)
        if (c == '\n') c = ' ';
    std::fprintf(stderr, "%s%s\n", fw::PluginTrialRefused, line.c_str());
    std::fflush(stderr);
    std::_Exit(fw::PluginTrialRefusedStatus);
}

bool is(const fw::PluginEntry& entry, const char* signature) { return std::strcmp(entry.signature, signature) == 0; }

// A conversion as small as one can be; its answer is read to its last byte and handed back, as
// the program does with every answer.
void tryConversion(Convert convert) {
    const fw::PluginText one{"1", 1, nullptr};
    fw::PluginText* answer = convert(&one, 2, 10, 8, 1);
    if (!answer) return;
    volatile unsigned char sum = 0;
    for (std::size_t i = 0; answer->data && i < answer->size; ++i)
        sum = static_cast<unsigned char>(sum + static_cast<unsigned char>(answer->data[i]));
    if (answer->release) answer->release(answer);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) refuse("the helper takes the path of one module");
    void* handle = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        refuse(why ? why : "cannot be loaded");
    }
    auto tableFunction = reinterpret_cast<fw::PluginTableFunction>(dlsym(handle, fw::PluginTableSymbol));
    if (!tableFunction) refuse(std::string("no ") + fw::PluginTableSymbol);
    const fw::PluginTable* table = tableFunction();
    if (!table || table->abiVersion != fw::PluginAbiVersion || (table->entryCount != 0 && !table->entries))
        refuse("table of another layout version");

    // Every entry's signature is read, as a lookup that finds nothing reads them all. The stop
    // comes last, when no conversion runs, as it may at any time in the program.
    Stop stop = nullptr;
    for (std::uint32_t i = 0; i < table->entryCount; ++i) {
        const fw::PluginEntry& entry = table->entries[i];
        if (!entry.signature || !entry.function) continue;
        if (is(entry, radixel::kxConvBaseSignatureText)) tryConversion(reinterpret_cast<Convert>(entry.function));
        if (is(entry, radixel::kxConvBaseStopSignatureText)) stop = reinterpret_cast<Stop>(entry.function);
    }
    if (stop) stop();

    std::fprintf(stderr, "%s\n", fw::PluginTrialPassed);
    std::fflush(stderr);
    // Returning runs the module's exit code as the program's end would.
    return 0;
}
