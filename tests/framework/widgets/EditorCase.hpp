#pragma once
// One case of the comparison between our text view and Qt's QPlainTextEdit: how both editors
// start, what the user does to them, and what each ends with.
//
// A case is written in text terms, so that it reads as a user's steps and means the same on
// either editor: the caret and anchor are marks in the starting text, a click names a row of
// the laid-out text and a column in it, a key names the platform's standard key where Qt
// defines one.

#include <QKeySequence>
#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace sidebyside {

// How both editors start. In `text`, '|' marks the caret and '^' the anchor of a selection;
// without '|' the caret is at the start.
struct Setup {
    QString text;
    QSize size{208, 196};  // the number panes' size
    // A font whose rows are as high in both editors: Qt's editor places rows at fractional
    // heights, ours at whole pixels, and this one's line spacing is close to a whole 14.
    QString family = QStringLiteral("DejaVu Sans Mono");
    int pixelSize = 12;
    bool wrap = true;
    bool readOnly = false;
    bool acceptTabs = false;
    int topRow = -1;  // the row scrolled to the top once the caret is placed, as the scroll bar does it
    QString clipboard = QStringLiteral("(clipboard)");
    // What the X11 primary selection holds, for a case that needs one; such a case is played only
    // where the platform has a primary selection.
    std::optional<QString> primarySelection;
};

// The text with its marks taken out, and where they stood.
struct MarkedText {
    QString text;
    qsizetype cursor = 0;
    qsizetype anchor = 0;
};
MarkedText parseMarks(const QString& marked);

// A point in the view, given by the laid-out text: a row counted from the text's first, and a
// column of that row.
struct Where {
    enum Place { Column, RightOfRow, TopMargin, BelowText };
    Place place = Column;
    int row = 0;
    int column = 0;
};
inline Where at(int row, int column) { return {Where::Column, row, column}; }
inline Where rightOf(int row) { return {Where::RightOfRow, row, 0}; }
// In the blank above the first row shown, over the given column of that row.
inline Where topMargin(int column) { return {Where::TopMargin, 0, column}; }
// In the blank below the last row, over the given column.
inline Where belowText(int column) { return {Where::BelowText, 0, column}; }

struct Action {
    enum Kind { StandardKey, Key, Type, Click, DoubleClick, TripleClick, Drag, DoubleClickDrag, ScrollTo, Record };
    Kind kind = Key;
    QKeySequence::StandardKey standard = QKeySequence::UnknownKey;
    int binding = 0;  // which of the platform's bindings for the standard key
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    int times = 1;
    QString text;
    Where from;
    Where to;
    int row = 0;
};

// The platform's binding for a standard key (the first when it has several).
Action key(QKeySequence::StandardKey standard, int times = 1);
// Another of the platform's bindings for a standard key, counted from 0.
Action binding(QKeySequence::StandardKey standard, int index);
// A key as it is pressed, where the platform names no standard key for what it does.
Action key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1);
// Text typed a character (a code point) at a time, each as one key giving it.
Action type(const QString& text);
Action click(Where where, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
Action doubleClick(Where where);
Action tripleClick(Where where);
// Pressed at one point, moved with the button down and released at the other.
Action drag(Where from, Where to);
Action doubleClickDrag(Where from, Where to);
// The vertical scroll bar set so that the row is the first shown.
Action scrollTo(int row);
// Keeps the text as it is now among the outcome's records, so that a case can follow the text
// through undo and redo.
Action record();

std::string describe(const Action& action);
std::string describe(const std::vector<Action>& actions);

struct Case {
    const char* name;
    Setup setup;
    std::vector<Action> actions;
    // Set where our view differs from Qt's by design: why it does.
    const char* differsByDesign = nullptr;
};

struct CaseGroup {
    const char* name;
    std::vector<Case> cases;
};

// What an editor shows once a case has been played on it.
struct Outcome {
    QString text;  // line breaks as LF
    qsizetype cursor = 0;
    qsizetype anchor = 0;
    int caretRow = 0;             // the row the caret is drawn on
    int topRow = 0;               // the first row shown
    int left = 0;                 // how far the view is scrolled sideways, in pixels
    std::vector<qsizetype> rows;  // where each row of the laid-out text starts
    QString focus;                // which widget has the keyboard focus
    QString clipboard;
    std::vector<QString> recorded;
};

// The fields in which two outcomes differ, each as "field: ours ..., Qt's ...".
std::vector<std::string> differences(const Outcome& ours, const Outcome& qt);
std::string describe(const Outcome& outcome);
// A text written on one line, with the caret and anchor marked as in a setup's text.
std::string markedText(const QString& text, std::optional<qsizetype> cursor = {}, qsizetype anchor = -1);

}  // namespace sidebyside
