#pragma once
// The keys that a menu entry's shortcut text names (framework use).

#include "String.hpp"

#include <QKeySequence>

#include <optional>

namespace fw {

// "Cmd+X" is Ctrl+X here ("Cmd", "Command", "Ctrl" and "Control" all mean Ctrl; "Option" is
// Alt); the empty text is no shortcut. Nothing when the text names no key.
std::optional<QKeySequence> ParseMenuShortcut(const String& text);

}  // namespace fw
