#include "TextPlace.hpp"

#include "ConversionStop.hpp"

#include <cstdint>
#include <cstdio>

namespace radixel::engine {

namespace {

// Decodes the UTF-8 sequence at `offset` and gives its length; false when it is
// malformed, overlong or a surrogate, in which case the byte stands on its own.
bool decodeAt(std::string_view text, std::size_t offset, std::uint32_t& codePoint, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[offset]);
    std::uint32_t minimum = 0;
    length = 1;
    if (lead < 0x80) {
        codePoint = lead;
        return true;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - offset < length) {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[offset + i]);
        if ((byte & 0xC0) != 0x80) {
            return false;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return codePoint >= minimum && codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

}  // namespace

std::size_t characterNumber(std::string_view text, std::size_t offset) {
    std::size_t number = 1;
    std::size_t at = 0;
    StopCountdown countdown;
    while (at < offset && at < text.size()) {
        countdown.tick();
        std::uint32_t codePoint = 0;
        std::size_t length = 1;
        if (!decodeAt(text, at, codePoint, length)) {
            length = 1;
        }
        at += length;
        ++number;
    }
    return number;
}

std::string shownCharacter(std::string_view text, std::size_t offset) {
    const auto byte = static_cast<unsigned char>(text[offset]);
    if (byte > 0x20 && byte < 0x7F) {
        return std::string{'\'', static_cast<char>(byte), '\''};
    }
    char buffer[16];
    std::uint32_t codePoint = 0;
    std::size_t length = 1;
    if (decodeAt(text, offset, codePoint, length)) {
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    } else {
        std::snprintf(buffer, sizeof buffer, "byte 0x%02X", static_cast<unsigned>(byte));
    }
    return buffer;
}

}  // namespace radixel::engine
