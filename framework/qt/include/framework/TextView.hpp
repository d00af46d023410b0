#pragma once
// The scrolling plain text editor behind TextArea (framework use).

#include "EditHistory.hpp"
#include "LaidOutText.hpp"
#include "LineLayout.hpp"
#include "TextBuffer.hpp"
#include "TextKeys.hpp"

#include <QAbstractScrollArea>
#include <QString>

#include <functional>
#include <utility>

class QPainter;

namespace fw {

// A multi-line plain text editor whose work follows what is shown, not the length of its text:
// a number of a hundred million digits is held, scrolled, edited and copied as readily as a
// line of prose.
//
// It is the widget over parts that each do one thing: the text in a TextBuffer, its undo in an
// EditHistory, its shown lines in a LineLayout, the platform's keys read by TextKeys, where
// characters and words begin in TextBoundaries, and what screen readers learn through an
// accessible interface of its own. Only the lines in sight are drawn, each without kerning, so
// that what is drawn matches what was measured character by character.
//
// Keys and the mouse act as in Qt's QPlainTextEdit on Linux, as a table of cases in the tests
// holds them: but for one thing by design, that End on a row where a number wraps leaves the
// caret at that row's end, where Qt's editor shows it at the next row's start, and Up and Down
// from there keep it at rows' ends. A read-only text has no caret that keys move: they scroll.
//
// A command that memory cannot carry out leaves the text, its lines and the undo history as they
// were, and a note over the text says so until the next key, click or edit. A copy hands the
// clipboard its UTF-8 made at once, so that another program reading it later asks for no memory.
// Screen readers reach the text, caret and selection through an accessible interface that reads
// the text piece by piece.
class TextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    QString text() const { return buffer_.toString(); }
    const TextBuffer& buffer() const { return buffer_; }
    const LineLayout& layout() const { return layout_; }
    // Replaces the whole text, CR LF and CR read as LF; the undo history is cleared. A text that
    // memory cannot hold raises std::bad_alloc and leaves the view as it was.
    void setText(QString text);

    // A text laid out elsewhere, as on a thread that made it, for setLaidOutText(): what laying
    // out for this view takes, given on the event loop. See LaidOutText.
    TextLayoutSettings layoutSettings() const;
    // Replaces the whole text as setText does, with a text and lines laid out elsewhere: at no
    // cost in the text's length when they were laid out with the settings the view has now, and
    // else laid out again here. Returns the text it replaced, whose memory the caller may give
    // back where that takes the loop no time. A text whose lines memory cannot hold raises
    // std::bad_alloc and leaves the view as it was.
    LaidOutText setLaidOutText(LaidOutText text);

    // The user's commands, as the keys and the Edit menu give them.
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void selectAll();
    void removeSelectedText();
    // Types the text over the selection, as far as the typing limit leaves room.
    void insertText(const QString& text);

    bool hasSelection() const { return cursor_ != anchor_; }
    QString selectedText() const;
    qsizetype cursorPosition() const { return cursor_; }
    // The selection's other end; the caret's own place when nothing is selected.
    qsizetype anchorPosition() const { return anchor_; }
    void setCursorPosition(qsizetype position, bool keepAnchor = false);

    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    // The most characters the user may bring the text to (0: no limit); setText is not held to it.
    void setLimit(qsizetype limit) { limit_ = limit; }
    void setTabChangesFocus(bool changes) { tabChangesFocus_ = changes; }
    void setWrapping(bool wrapping);
    void setAlignment(Qt::Alignment alignment);
    // Shows the selection only while the view has the focus.
    void setHideSelection(bool hide);
    // Sees each key press first; a key for which it returns true goes no further.
    void setKeyFilter(std::function<bool(const QKeyEvent&)> filter) { keyFilter_ = std::move(filter); }

    // The words shown over the text after a command that memory could not carry out; empty
    // when there is none.
    const QString& note() const { return note_; }

    // The shown lines: how many, and where each starts in the text.
    qsizetype lineCount() const { return layout_.lineCount(); }
    qsizetype lineStart(qsizetype line) const { return layout_.lineStart(line); }

    // Where the character at `position` is shown, in the viewport's coordinates.
    QRect characterRect(qsizetype position) const;
    // The place in the text nearest to a point of the viewport.
    qsizetype positionAt(QPoint point) const;
    // Scrolls the character at `position` into sight.
    void scrollToPosition(qsizetype position);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // How a drag with the button down extends the selection: by characters, or by the words or
    // lines that a double or a triple click selected.
    enum class Selecting { No, Characters, Words, Paragraphs };

    TextBuffer::Replaced splice(qsizetype position, qsizetype length, TextBuffer with);
    void replace(qsizetype position, qsizetype length, TextBuffer with, EditHistory::Kind kind);
    void undoOrRedo(bool undo);
    bool copySelection();
    void insert(const QString& typed, EditHistory::Kind kind);
    void insert(TextBuffer text, EditHistory::Kind kind);
    void removeSelection();
    void removeTo(qsizetype to, EditHistory::Kind kind);
    template <class Command>
    void guarded(const QString& failure, Command command);
    void showNote(const QString& note);
    void clearNote();
    void textChanged(qsizetype position, const TextBuffer& removed, const TextBuffer& added);
    bool move(TextKeys::Reading reading);
    bool edit(TextKeys::Reading reading, const QKeyEvent& key);
    bool scrollKey(const QKeyEvent& key);
    void moveVertically(qsizetype rows, bool select);
    void page(bool down, bool select);

    void layOutAll();
    void textReplaced(const TextBuffer& old);
    double wrapWidth() const;
    void updateScrollBars();
    void paintLine(QPainter& painter, qsizetype line, int top, const QRect& area) const;
    void paintNote(QPainter& painter) const;

    // Rows are those of the layout, in the viewport: as in Qt's editors, the first row stands a
    // margin below the top only while the view is scrolled to the top.
    qsizetype topRow() const;
    int rowTop(qsizetype line) const;
    int fullRows() const;
    int rowsScrolled() const;
    qsizetype caretLine() const;
    qsizetype lineEnd(qsizetype line) const { return layout_.lineEnd(buffer_, line); }
    bool isWrapped(qsizetype line) const;
    bool isWrapPoint(qsizetype position) const;
    double alignmentOffset(qsizetype line) const;
    double contentX(qsizetype line, qsizetype position) const;
    double xOf(qsizetype line, qsizetype position) const;
    qsizetype positionInRow(qsizetype line, double x) const;
    QRect caretRect() const;
    void ensureVisible(qsizetype line, qsizetype position);
    void caretMoved(bool scroll = true);
    void restartBlink();
    void measureFont();
    void extendSelection(qsizetype to);

    TextBuffer buffer_;
    EditHistory history_;
    LineLayout layout_;

    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    // At a wrap, the caret stands after the row above (End took it there) rather than before the
    // row below; Up and Down keep it at rows' ends.
    bool caretAtLineEnd_ = false;
    double wantedX_ = -1;  // the place on its row that Up and Down keep to, scrolling aside
    QString preedit_;
    QString note_;
    qsizetype toldCursor_ = 0;  // the caret and selection that screen readers were last told of
    qsizetype toldAnchor_ = 0;

    bool readOnly_ = false;
    bool tabChangesFocus_ = true;
    bool hideSelection_ = true;
    qsizetype limit_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    std::function<bool(const QKeyEvent&)> keyFilter_;

    Selecting selecting_ = Selecting::No;
    std::pair<qsizetype, qsizetype> selectedUnit_;  // the word or line a double or triple click chose
    QPoint doubleClickPoint_;
    quint64 doubleClickTime_ = 0;
    bool doubleClicked_ = false;

    QFont font_;
    int lineHeight_ = 1;
    int ascent_ = 0;

    int blinkTimer_ = 0;
    bool caretShown_ = false;
    int scrollTimer_ = 0;  // scrolls while a drag selection is outside the view
};

}  // namespace fw
