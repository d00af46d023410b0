#pragma once
// What each key does in a text view (framework use).

#include <QKeyEvent>

namespace fw {

// The keys of a text view, as the platform binds them and as Qt's editors read them: a key press
// is read as one command, so that the view carries out commands and never looks at keys itself.
// A key that Qt's editors leave alone, such as Return or Delete with Ctrl or Alt held, is read as
// no command and goes on to the window.
class TextKeys {
public:
    enum class Command {
        None,
        // Moves of the caret; with `select`, the selection's far end moves with it.
        Left,
        Right,
        WordLeft,
        WordRight,
        Up,
        Down,
        PageUp,
        PageDown,
        LineStart,
        LineEnd,
        TextStart,
        TextEnd,
        // What leaves the text alone.
        Copy,
        SelectAll,
        // Edits.
        Cut,
        Paste,
        Undo,
        Redo,
        EraseBack,
        EraseForward,
        EraseWordBack,
        EraseWordForward,
        EraseToLineEnd,
        NewLine,
        Tab,
        Type,  // the key's text
    };

    struct Reading {
        Command command = Command::None;
        bool select = false;
    };

    // What the key press asks of the view.
    static Reading read(const QKeyEvent& key);
    // Whether the view takes the key before the window's shortcuts, as Qt's editors take theirs.
    static bool overridesShortcut(const QKeyEvent& key);
    // Whether the command moves the caret up or down, keeping to the column it had.
    static bool isVertical(Command command);
    // Whether the key's text is typed into the text: a printable character, a character beyond
    // the first plane, or a format character such as a zero-width joiner, without Ctrl.
    static bool typesText(const QKeyEvent& key);
};

}  // namespace fw
