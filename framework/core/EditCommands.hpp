#pragma once
// The desktop's standard Edit commands, known by the names of the menu entries that choose
// them (framework use): EditUndo, EditCut, EditCopy, EditPaste, EditClear and EditSelectAll.
// Each acts on the text control that the keyboard serves, a one-line field or a pane, with
// that control's own undo; on a read-only control only what reads it (copying, selecting).

#include <string_view>

namespace fw {

// Runs the command of that name on the focused text control. False when the name is no Edit
// command, or no text control has the keyboard focus.
bool RunEditCommand(std::string_view name);

// Watches the Qt application object (once per object), so that the commands find the text
// control that the menu bar took the keyboard focus from, with the selection it had then.
void WatchEditTarget();

}  // namespace fw
