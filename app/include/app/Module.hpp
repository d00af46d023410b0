#pragma once
// What the program does around Main: the class tables first, the module exits last.

namespace radixel {

// Builds every class table before any object exists: the framework's classes first, then the
// program's own in the order App, Window1, MenuBar1, AboutWindow, HelpWindow.
void InitializeModule();

// The module exits once the event loop has ended. The shared menu bar goes last, after
// everything that may still refer to it.
void FinalizeModule();

}  // namespace radixel
