// The conversion component as the program meets it: loaded with dlopen, its two entries found
// in its table by their signature texts, a conversion run on a worker thread and stopped from
// another, the stopped answer released like any other, and the next conversion right.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <string>
#include <string_view>
#include <thread>

#include "engine/convert.hpp"
#include "engine/plugin/ConversionSignature.hpp"
#include "framework/PluginAbi.hpp"

namespace radixel::testing {
namespace {

using ConvertEntry = fw::PluginText* (*)(const fw::PluginText*, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
using StopEntry = void (*)();

class Component {
public:
    Component() : module_(dlopen(RADIXEL_TEST_CONVERSION_PLUGIN, RTLD_NOW | RTLD_LOCAL)) {}
    ~Component() {
        if (module_ != nullptr) {
            dlclose(module_);
        }
    }
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    void (*entry(const char* signature) const)() {
        if (module_ == nullptr) {
            return nullptr;
        }
        auto tableFunction = reinterpret_cast<fw::PluginTableFunction>(dlsym(module_, fw::PluginTableSymbol));
        const fw::PluginTable* table = tableFunction ? tableFunction() : nullptr;
        if (table == nullptr || table->abiVersion != fw::PluginAbiVersion) {
            return nullptr;
        }
        for (std::uint32_t i = 0; i < table->entryCount; ++i) {
            if (std::strcmp(table->entries[i].signature, signature) == 0) {
                return table->entries[i].function;
            }
        }
        return nullptr;
    }

private:
    void* module_;
};

// Calls the entry as the binding does, and gives the answer back through its own release.
std::string call(ConvertEntry convert, const std::string& text, std::int32_t to, std::int32_t from) {
    const fw::PluginText lent{text.data(), text.size(), nullptr};
    fw::PluginText* answer = convert(&lent, to, from, 8, 1);
    std::string bytes(answer->data, answer->size);
    answer->release(answer);
    return bytes;
}

TEST(ComponentStop, TheStopEntryEndsTheConversionOfTheLoadedComponent) {
    const Component component;
    const auto convert = reinterpret_cast<ConvertEntry>(component.entry(kxConvBaseSignatureText));
    const auto stop = reinterpret_cast<StopEntry>(component.entry(kxConvBaseStopSignatureText));
    ASSERT_NE(convert, nullptr) << dlerror();
    ASSERT_NE(stop, nullptr);

    std::string digits(1500000, '3');
    digits.front() = '7';
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    const std::string expected = call(convert, digits, 16, 10);
    const auto duration = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(expected.size(), 1245723u);

    std::future<std::string> answer = std::async(std::launch::async, [&] { return call(convert, digits, 16, 10); });
    std::this_thread::sleep_for(duration / 4);
    stop();
    EXPECT_EQ(answer.get(), kStopped);
    EXPECT_TRUE(call(convert, digits, 16, 10) == expected);
    EXPECT_EQ(call(convert, "-1.2341234e20000", 16, 10), "-7.498C7FD9b^40E1");
}

}  // namespace
}  // namespace radixel::testing
