#pragma once
// Event numbers by which the framework calls into the program.

namespace fw::events {

// Application
inline constexpr int AppOpen = 0;
inline constexpr int AppEnableMenuItems = 2;

// Window, run in this order while a window is built
inline constexpr int WindowLayout = 0;
inline constexpr int WindowCreateControls = 1;
inline constexpr int WindowOpen = 4;

// Controls
inline constexpr int TextAreaKeyDown = 13;
inline constexpr int PushButtonAction = 15;

}  // namespace fw::events
