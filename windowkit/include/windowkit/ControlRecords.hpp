#pragma once
// What the design-time records of the program's windows have in common. A record is plain
// bytes, so one joined from parts with + is byte for byte the record written out in one piece;
// each builder takes as parameters exactly the values in which its records differ.

#include "framework/Color.hpp"
#include "framework/String.hpp"

#include <cstdint>
#include <string_view>

namespace radixel {

inline constexpr fw::Color kBlack = fw::Color::FromRGB(0x000000);
inline constexpr fw::Color kWhite = fw::Color::FromRGB(0xFFFFFF);

// Position and size in the window's units, from the top-left corner of its content area, also
// for a control that stands inside another one.
struct Bounds {
    std::int32_t left, top, width, height;
};

// The window edges a control keeps its distance to when the window is resized; a control
// locked to opposite edges grows and shrinks with the window.
struct Locks {
    bool left, top, right, bottom;
};

// The control neither moves nor stretches when the window is resized.
inline constexpr Locks kLockedLeftTop = {true, true, false, false};

struct WindowValues {
    std::int32_t placement;
    std::int32_t width;
    std::int32_t height;
    std::int32_t frame;
    bool hasBackColor;
    const char* title;
    bool resizeable;
    bool liveResize;
    bool maximizeButton;
};

// Every window is shown once built, has a close and a minimize button, and can be resized, when
// it is resizeable, from 64 by 64 to 32000 by 32000. Its BackColor is white, painted only when
// it has a back colour.
fw::String WindowRecord(const WindowValues& window);

// The items that every control record begins with: the name the control is already registered
// under, so that it is found under the same name after its record, the index of a control in
// no control array, its bounds and its locks.
fw::String ControlRecordHead(const char* name, Bounds at, Locks locks);

struct LabelValues {
    const char* name;
    Bounds at;
    Locks locks;
    std::int32_t tabIndex;
    const char* text;
    fw::Color textColor;
    bool multiline;
    bool bold;
    const char* initialParent;  // empty: the window itself
};

// Every label is enabled, visible and opaque, in the system font with the default alignment,
// and its text cannot be selected.
fw::String LabelRecord(const LabelValues& label);

struct TextAreaValues {
    const char* name;
    Bounds at;
    Locks locks;
    std::int32_t tabIndex;
    std::string_view text;
    bool readOnly;
};

// A bordered, multi-line, styled text area with a vertical scroll bar only, black text on white
// in the system font, that hides its selection while it lacks the focus and checks spelling as
// the user types.
fw::String TextAreaRecord(const TextAreaValues& area);

}  // namespace radixel
