#pragma once
// What screen readers learn of a text view.

#include "TextView.hpp"

#include <QAccessibleWidget>

#include <utility>

namespace fw {

// A text view as screen readers see it: its text, read a piece at a time, its caret and
// selection, and, while it is editable, edits that go the view's own undoable way. A word or
// paragraph may be a number of millions of digits: a piece longer than a screen reader reads out
// whole is read by the lines it is shown on.
class TextViewAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit TextViewAccessible(TextView* view);
    // Makes Qt ask here for the interface of every text view; once is enough.
    static void install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    int characterCount() const override;
    QString text(int start, int end) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    int selectionCount() const override;
    void selection(int index, int* start, int* end) const override;
    void addSelection(int start, int end) override;
    void removeSelection(int index) override;
    void setSelection(int index, int start, int end) override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int start, int end) override;
    QString attributes(int offset, int* start, int* end) const override;

    void deleteText(int start, int end) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int start, int end, const QString& text) override;

private:
    TextView* view() const { return static_cast<TextView*>(widget()); }
    QString piece(std::pair<qsizetype, qsizetype> range, int* start, int* end) const;
    std::pair<qsizetype, qsizetype> pieceAt(qsizetype at, QAccessible::TextBoundaryType type) const;
};

}  // namespace fw
