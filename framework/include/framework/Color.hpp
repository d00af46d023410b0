#pragma once
#include <cstdint>

namespace fw {

struct Color {
    std::uint8_t red = 0, green = 0, blue = 0;

    static constexpr Color FromRGB(std::uint32_t rgb) {
        return Color{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                     static_cast<std::uint8_t>(rgb)};
    }
    friend constexpr bool operator==(Color, Color) = default;
};

}  // namespace fw
