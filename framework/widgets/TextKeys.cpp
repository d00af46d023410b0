#include "TextKeys.hpp"

#include <QKeySequence>

namespace fw {

namespace {

using Command = TextKeys::Command;

struct Move {
    QKeySequence::StandardKey move, select;
    Command command;
};

constexpr Move kMoves[] = {
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Command::Left},
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Command::Right},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Command::Up},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Command::Down},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Command::LineStart},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Command::LineEnd},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Command::TextStart},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Command::TextEnd},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Command::PageUp},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Command::PageDown},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Command::WordLeft},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Command::WordRight},
};

struct Edit {
    QKeySequence::StandardKey keys;
    Command command;
};

// In this order: Copy and Select All before the edits, as they are all a read-only text takes.
constexpr Edit kEdits[] = {
    {QKeySequence::Copy, Command::Copy},
    {QKeySequence::SelectAll, Command::SelectAll},
    {QKeySequence::Cut, Command::Cut},
    {QKeySequence::Paste, Command::Paste},
    {QKeySequence::Undo, Command::Undo},
    {QKeySequence::Redo, Command::Redo},
    {QKeySequence::DeleteStartOfWord, Command::EraseWordBack},
    {QKeySequence::DeleteEndOfWord, Command::EraseWordForward},
};

// The keys the view takes before the window's shortcuts.
constexpr QKeySequence::StandardKey kOwnShortcuts[] = {
    QKeySequence::Copy,
    QKeySequence::Cut,
    QKeySequence::Paste,
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::SelectAll,
    QKeySequence::MoveToStartOfDocument,
    QKeySequence::MoveToEndOfDocument,
    QKeySequence::SelectStartOfDocument,
    QKeySequence::SelectEndOfDocument,
    QKeySequence::MoveToNextWord,
    QKeySequence::MoveToPreviousWord,
    QKeySequence::SelectNextWord,
    QKeySequence::SelectPreviousWord,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
};

bool typesText(const QKeyEvent& key) {
    return !key.text().isEmpty() && key.text().at(0).isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

}  // namespace

TextKeys::Reading TextKeys::read(const QKeyEvent& key) {
    for (const Move& m : kMoves) {
        if (key.matches(m.move)) return {m.command, false};
        if (key.matches(m.select)) return {m.command, true};
    }
    for (const Edit& e : kEdits)
        if (key.matches(e.keys)) return {e.command, false};
    switch (key.key()) {
    case Qt::Key_Backspace: return {Command::EraseBack, false};
    case Qt::Key_Delete: return {Command::EraseForward, false};
    case Qt::Key_Return:
    case Qt::Key_Enter: return {Command::NewLine, false};
    case Qt::Key_Tab:
        if (!(key.modifiers() & ~Qt::KeypadModifier)) return {Command::Tab, false};
        break;
    default: break;
    }
    if (typesText(key)) return {Command::Type, false};
    return {};
}

bool TextKeys::overridesShortcut(const QKeyEvent& key) {
    for (QKeySequence::StandardKey k : kOwnShortcuts)
        if (key.matches(k)) return true;
    const Qt::KeyboardModifiers command = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return !command && !key.text().isEmpty() && key.text().at(0).isPrint();
}

bool TextKeys::isVertical(Command command) {
    return command == Command::Up || command == Command::Down || command == Command::PageUp ||
           command == Command::PageDown;
}

}  // namespace fw
