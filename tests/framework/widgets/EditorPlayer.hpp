#pragma once
// Plays a case on an editor through Qt's own event path, as the desktop would deliver it: keys
// to whichever widget has the focus, the mouse to the window, so that double and triple clicks
// are told apart by their times as the platform tells them.

#include "EditorCase.hpp"
#include "EditorStage.hpp"

#include <optional>
#include <string>

namespace sidebyside {

// Why the case cannot be played here, or nothing: a standard key that this platform binds to no
// key, or a primary selection that it does not have.
std::optional<std::string> whyNotHere(const Case& c);

// Builds the editor of the kind on a window of its own, starts it as the case says, plays the
// case's actions on it and reads what it shows.
Outcome play(EditorStage::Kind kind, const Case& c);

}  // namespace sidebyside
