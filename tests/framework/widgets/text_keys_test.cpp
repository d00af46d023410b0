#include "framework/TextKeys.hpp"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

using Command = fw::TextKeys::Command;

TEST(TextKeys, EachKeyIsReadAsTheCommandThePlatformBindsItTo) {
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const struct {
        const char* key;
        int code;
        Qt::KeyboardModifiers modifiers;
        QString text;
        Command command;
        bool select;
    } cases[] = {
        {"Left", Qt::Key_Left, none, "", Command::Left, false},
        {"Shift+Right", Qt::Key_Right, shift, "", Command::Right, true},
        {"Ctrl+Right", Qt::Key_Right, ctrl, "", Command::WordRight, false},
        {"Ctrl+Shift+Left", Qt::Key_Left, ctrl | shift, "", Command::WordLeft, true},
        {"Up", Qt::Key_Up, none, "", Command::Up, false},
        {"Shift+Down", Qt::Key_Down, shift, "", Command::Down, true},
        {"Page Down", Qt::Key_PageDown, none, "", Command::PageDown, false},
        {"Shift+Page Up", Qt::Key_PageUp, shift, "", Command::PageUp, true},
        {"Home", Qt::Key_Home, none, "", Command::LineStart, false},
        {"Shift+End", Qt::Key_End, shift, "", Command::LineEnd, true},
        {"Ctrl+Home", Qt::Key_Home, ctrl, "", Command::TextStart, false},
        {"Ctrl+Shift+End", Qt::Key_End, ctrl | shift, "", Command::TextEnd, true},
        {"Ctrl+C", Qt::Key_C, ctrl, "\x03", Command::Copy, false},
        {"Ctrl+Insert", Qt::Key_Insert, ctrl, "", Command::Copy, false},
        {"Ctrl+A", Qt::Key_A, ctrl, "\x01", Command::SelectAll, false},
        {"Ctrl+X", Qt::Key_X, ctrl, "\x18", Command::Cut, false},
        {"Shift+Delete", Qt::Key_Delete, shift, "", Command::Cut, false},
        {"Ctrl+V", Qt::Key_V, ctrl, "\x16", Command::Paste, false},
        {"Shift+Insert", Qt::Key_Insert, shift, "", Command::Paste, false},
        {"Ctrl+Z", Qt::Key_Z, ctrl, "\x1a", Command::Undo, false},
        {"Ctrl+Shift+Z", Qt::Key_Z, ctrl | shift, "\x1a", Command::Redo, false},
        {"Backspace", Qt::Key_Backspace, none, "\b", Command::EraseBack, false},
        {"Delete", Qt::Key_Delete, none, "\x7f", Command::EraseForward, false},
        {"Ctrl+Backspace", Qt::Key_Backspace, ctrl, "", Command::EraseWordBack, false},
        {"Ctrl+Delete", Qt::Key_Delete, ctrl, "", Command::EraseWordForward, false},
        {"Return", Qt::Key_Return, none, "\r", Command::NewLine, false},
        {"Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", Command::NewLine, false},
        {"Tab", Qt::Key_Tab, none, "\t", Command::Tab, false},
        {"Shift+Tab", Qt::Key_Backtab, shift, "", Command::None, false},
        {"a", Qt::Key_A, none, "a", Command::Type, false},
        {"Shift+a", Qt::Key_A, shift, "A", Command::Type, false},
        {"a blank", Qt::Key_Space, none, " ", Command::Type, false},
        {"Ctrl+Q", Qt::Key_Q, ctrl, "\x11", Command::None, false},
        {"Escape", Qt::Key_Escape, none, "\x1b", Command::None, false},
        // As in Qt's editors: Backspace takes a character with Shift too, and none of these edit.
        {"Shift+Backspace", Qt::Key_Backspace, shift, "\b", Command::EraseBack, false},
        {"Ctrl+Shift+Backspace", Qt::Key_Backspace, ctrl | shift, "", Command::None, false},
        {"Alt+Delete", Qt::Key_Delete, Qt::AltModifier, "", Command::None, false},
        {"Ctrl+Return", Qt::Key_Return, ctrl, "\r", Command::None, false},
        {"Alt+Return", Qt::Key_Return, Qt::AltModifier, "\r", Command::None, false},
        {"Shift+Return", Qt::Key_Return, shift, "\r", Command::NewLine, false},
        {"Ctrl+Tab", Qt::Key_Tab, ctrl, "\t", Command::None, false},
        // What the keyboard types: beyond the first plane, and format characters.
        {"an emoji", Qt::Key_unknown, none, "\U0001F600", Command::Type, false},
        {"a zero-width joiner", Qt::Key_unknown, none, "\u200D", Command::Type, false},
        {"a combining accent", Qt::Key_unknown, none, "\u0301", Command::Type, false},
        {"a control character", Qt::Key_unknown, none, "\x07", Command::None, false},
    };
    for (const auto& c : cases) {
        const QKeyEvent key(QEvent::KeyPress, c.code, c.modifiers, c.text);
        const fw::TextKeys::Reading reading = fw::TextKeys::read(key);
        EXPECT_EQ(reading.command, c.command) << c.key;
        EXPECT_EQ(reading.select, c.select) << c.key;
    }
}

// The view's own keys reach it before a menu's shortcut, as in Qt's editors; the rest go on.
TEST(TextKeys, TheViewTakesItsOwnKeysBeforeTheWindowsShortcuts) {
    const struct {
        int code;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool taken;
    } cases[] = {
        {Qt::Key_C, Qt::ControlModifier, "\x03", true},     {Qt::Key_Z, Qt::ControlModifier, "\x1a", true},
        {Qt::Key_End, Qt::ControlModifier, "", true},       {Qt::Key_Right, Qt::ControlModifier, "", true},
        {Qt::Key_Backspace, Qt::ControlModifier, "", true}, {Qt::Key_7, Qt::NoModifier, "7", true},
        {Qt::Key_Q, Qt::ControlModifier, "\x11", false},    {Qt::Key_F1, Qt::NoModifier, "", false},
        {Qt::Key_H, Qt::AltModifier, "h", false},
    };
    for (const auto& c : cases) {
        const QKeyEvent key(QEvent::ShortcutOverride, c.code, c.modifiers, c.text);
        EXPECT_EQ(fw::TextKeys::overridesShortcut(key), c.taken) << key.keyCombination().toCombined();
    }
}

}  // namespace
