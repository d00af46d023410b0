#pragma once
// How the framework and the bundle's plug-in trial helper speak. Before a module is loaded into
// the program, the helper loads it in a process of its own, reads its table as the lookup does
// and calls each entry that it knows once, so that a module that crashes, aborts or hangs does
// so there. The helper is started with the module's path as its one argument, and answers by a
// last line on its standard error and its exit status:
// - passed: the line PluginTrialPassed, then exit status 0 once the module's own exit code ran;
// - refused (cannot be loaded, no table, a table of another layout version): a line that starts
//   with PluginTrialRefused and goes on with the reason, then PluginTrialRefusedStatus.
// Any other end (a signal, another status, no verdict, no end within the framework's time
// bound) is the module's fault, since the helper does nothing else.

namespace fw {

// The helper's file name, in the folder of the program's executable.
inline constexpr const char* PluginTrialHelperName = "radixel-plugin-trial";
inline constexpr const char* PluginTrialPassed = "radixel-plugin-trial: passed";
inline constexpr const char* PluginTrialRefused = "radixel-plugin-trial: refused: ";
inline constexpr int PluginTrialRefusedStatus = 2;

}  // namespace fw
