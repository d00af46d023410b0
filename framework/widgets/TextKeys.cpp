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
    {QKeySequence::DeleteEndOfLine, Command::EraseToLineEnd},
    {QKeySequence::Delete, Command::EraseForward},
    {QKeySequence::InsertParagraphSeparator, Command::NewLine},
    {QKeySequence::InsertLineSeparator, Command::NewLine},
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

Qt::KeyboardModifiers held(const QKeyEvent& key) {
    return key.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
}

}  // namespace

bool TextKeys::typesText(const QKeyEvent& key) {
    const QString text = key.text();
    if (text.isEmpty()) return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format) return true;
    if (held(key) & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

TextKeys::Reading TextKeys::read(const QKeyEvent& key) {
    for (const Move& m : kMoves) {
        if (key.matches(m.move)) return {m.command, false};
        if (key.matches(m.select)) return {m.command, true};
    }
    for (const Edit& e : kEdits)
        if (key.matches(e.keys)) return {e.command, false};
    // Backspace takes a character with Shift held too.
    if (key.key() == Qt::Key_Backspace && !(held(key) & ~Qt::ShiftModifier)) return {Command::EraseBack, false};
    if (key.key() == Qt::Key_Tab && !held(key)) return {Command::Tab, false};
    if (typesText(key)) return {Command::Type, false};
    return {};
}

bool TextKeys::overridesShortcut(const QKeyEvent& key) {
    for (QKeySequence::StandardKey k : kOwnShortcuts)
        if (key.matches(k)) return true;
    return !(held(key) & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && typesText(key);
}

bool TextKeys::isVertical(Command command) {
    return command == Command::Up || command == Command::Down || command == Command::PageUp ||
           command == Command::PageDown;
}

}  // namespace fw
