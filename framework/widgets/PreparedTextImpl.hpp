#pragma once
// The inside of a PreparedText, which only the text area that takes it sees (framework use).

#include "LaidOutText.hpp"
#include "PreparedText.hpp"

#include <QString>

#include <optional>

namespace fw {

// Laid out when a preparer made it, else its characters alone.
struct PreparedText::Impl {
    QString text;
    std::optional<LaidOutText> laidOut;
    bool held = true;
};

struct TextPreparer::Impl {
    TextLayoutSettings settings;
};

}  // namespace fw
