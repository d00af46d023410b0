#pragma once
// A GIF of two pixels, red then blue, written out byte by byte: Qt cannot write GIF, and a
// picture this small shows both that the reader is there and that it decodes correctly.

#include <string>

inline std::string tinyGif() {
    // clang-format off
    static const unsigned char bytes[] = {
        'G', 'I', 'F', '8', '9', 'a',
        0x02, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,  // 2 x 1, a global table of two colours
        0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,        // red, blue
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00,
        0x02, 0x02, 0x44, 0x0A, 0x00,              // LZW codes clear, 0, 1, end in 3 bits each
        0x3B,
    };
    // clang-format on
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}
