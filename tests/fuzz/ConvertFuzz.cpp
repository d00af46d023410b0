// Feeds arbitrary text to radixel::convert. The first four bytes pick the two
// bases, the places and the letter case; the rest is the number. Bases are
// drawn mostly from those with their own code paths, sometimes from the whole
// 32-bit range so that the argument checks are reached too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/convert.hpp"

namespace {

constexpr std::int32_t kBases[] = {1, 2, 3, 8, 10, 12, 16, 36, 37, 50, 64, 255, 256, 257, 1000, 4096, 65535, 65536};
constexpr std::size_t kBaseCount = sizeof kBases / sizeof kBases[0];

std::int32_t pickBase(std::uint8_t byte) {
    if (byte < 200) {
        return kBases[byte % kBaseCount];
    }
    // 0, negatives, 65537 and a spread of other values.
    return static_cast<std::int32_t>(byte - 200) * 1213 - 1;
}

// Mostly small places, which keep each run quick; now and then negative or large.
std::int32_t pickPlaces(std::uint8_t byte) {
    if (byte < 240) {
        return byte % 40;
    }
    return byte == 255 ? -1 : (byte - 240) * 500;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
    const std::string result =
        radixel::convert(text, pickBase(data[0]), pickBase(data[1]), pickPlaces(data[2]), (data[3] & 1) != 0);
    // Every answer is a number or a message: never empty.
    if (result.empty()) {
        __builtin_trap();
    }
    return 0;
}
