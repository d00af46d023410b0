#pragma once
// What the start-up tests share: a process set up as the program's own main sets it up, and a
// way back to the state before start-up for tests that run in one process.

#include "framework/Window.hpp"

#include <memory>
#include <string>
#include <vector>

namespace radixel::testing {

inline constexpr const char* kConversionWindow = "Window1.Window1";
inline constexpr const char* kAboutWindow = "AboutWindow.AboutWindow";
inline constexpr const char* kHelpWindow = "HelpWindow.HelpWindow";

// Closes the program's windows, unregisters the application object and releases the shared
// menu bar. The binding of the conversion function stays: it is made once per process.
void ResetProgramState();

std::shared_ptr<fw::Window> OpenWindow(const char* fullClassName);
bool IsShown(const std::shared_ptr<fw::Window>& window);

// True when the conversion function answers as the bound component does.
bool ConversionIsBound();

// The item names in the application object's handler registry, in registration order.
std::vector<std::string> HandlerNames();

}  // namespace radixel::testing
