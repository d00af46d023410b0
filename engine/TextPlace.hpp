#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace radixel::engine {

// The 1-based number of the character that starts at byte `offset`, counting
// UTF-8 sequences as one character each, so that it matches what the user sees.
std::size_t characterNumber(std::string_view text, std::size_t offset);

// The character at byte `offset` as a message shows it: a printable ASCII
// character in single quotes, anything else as its code point ("U+00A0"), or
// a byte that is no valid UTF-8 as "byte 0xFF". Messages stay plain ASCII.
std::string shownCharacter(std::string_view text, std::size_t offset);

}  // namespace radixel::engine
