#pragma once

#include "info/HelpText.hpp"

#include <string>
#include <vector>

// The help text cut at its CRs, so that a test can speak of line numbers.
inline std::vector<std::string> HelpLines() {
    const std::string text = radixel::HelpText().bytes();
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}
