#pragma once
// Conversions between the framework's values and Qt's, shared by the window and control
// classes (framework use only).

#include "Color.hpp"
#include "String.hpp"

#include <QColor>
#include <QString>

#include <cstdint>

class QKeyEvent;
class QWidget;

namespace fw::qtbridge {

QString toQString(const String& text);
String toString(const QString& text);

// The program writes line breaks as CR; Qt's plain text breaks at LF. CR LF counts as one
// break, so text pasted from elsewhere keeps its lines.
std::string crToLineFeeds(std::string_view text);

QColor toQColor(Color colour);

// A key as the program's key handlers take it: its text, or for keys without text a control
// code: 1 Home, 3 Enter, 4 End, 8 Backspace, 9 Tab, 11 Page Up, 12 Page Down, 13 Return,
// 27 Escape, 28 to 31 the arrows left, right, up, down, 127 Delete.
String keyText(const QKeyEvent& key);

// The controls' alignment codes: 0 and 1 left, 2 centred, 3 right; any other code is left.
Qt::Alignment horizontalAlignment(std::int32_t code);

// Widgets need a QApplication; without one every attempt to make a widget raises
// RuntimeException instead of letting Qt abort the process.
void requireWidgets(const char* what);

// Hides the widget and hands it to the event loop for deletion: the widget may be inside one
// of its own events (a close button, a click handler that drops the last reference). Once the
// application object is gone, Qt can no longer delete widgets, and the process is ending.
void releaseWidget(QWidget* widget);

}  // namespace fw::qtbridge
