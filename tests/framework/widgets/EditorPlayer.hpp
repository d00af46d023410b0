#pragma once
// Plays a case on an editor through Qt's own event path, as the desktop would deliver it: keys
// to whichever widget has the focus, the mouse to the window, so that double and triple clicks
// are told apart by their times as the platform tells them.

#include "EditorCase.hpp"
#include "EditorStage.hpp"

#include <string>
#include <vector>

namespace sidebyside {

// The standard keys among the actions for which this platform has no such binding.
std::vector<std::string> unboundKeys(const std::vector<Action>& actions);

// Builds the editor of the kind on a window of its own, starts it as the case says, plays the
// case's actions on it and reads what it shows.
Outcome play(EditorStage::Kind kind, const Case& c);

}  // namespace sidebyside
