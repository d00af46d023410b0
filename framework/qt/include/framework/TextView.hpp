#pragma once
// The scrolling plain text editor behind TextArea (framework use).

#include <QAbstractScrollArea>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace fw {

// A multi-line plain text editor whose work follows what is shown, not the length of its text:
// a number of a hundred million digits is held, scrolled, edited and copied as readily as a
// line of prose.
//
// The text stays in one buffer, line breaks as LF. Lines wrap at the width of the view: after
// the last blank that fits, or anywhere in a run wider than the view; without wrapping they
// break only at LF. Where each shown line starts is kept in a table that an edit updates from
// the edited line only until the old lines come back in step; the widths come from the
// advance of each character, measured once per font. Only the lines in sight are drawn.
//
// Each line is measured and drawn without kerning, so that what is drawn matches what was
// measured character by character.
//
// A command that memory cannot carry out leaves the text, its lines and the undo history as they
// were, and a note over the text says so until the next key, click or edit. Screen readers reach
// the text, caret and selection through an accessible interface that reads the text piece by
// piece.
class TextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    const QString& text() const { return text_; }
    // Replaces the whole text, CR LF and CR read as LF; the undo history is cleared. A text that
    // memory cannot hold raises std::bad_alloc and leaves the view as it was.
    void setText(QString text);

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
    qsizetype lineCount() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype lineStart(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }

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
    friend class TextViewAccessible;

    // One change of the text, as undo puts it back: at pos, `added` characters replaced `removed`.
    struct Change {
        qsizetype pos;
        QString removed;
        qsizetype added;
        bool typed;  // typing in a row is undone as one change
    };

    QString splice(qsizetype pos, qsizetype length, QString with);
    void replace(qsizetype pos, qsizetype length, const QString& with, bool typed);
    void applyChange(std::vector<Change>& from, std::vector<Change>& to);
    void insert(const QString& typed);
    void removeSelection();
    void removeTo(qsizetype to);
    template <class Command>
    void guarded(const QString& failure, Command command);
    void showNote(const QString& note);
    void clearNote();
    void textChanged(qsizetype pos, const QString& removed, const QString& added);
    bool editKey(QKeyEvent* event);
    bool moveKey(QKeyEvent* event);
    bool handlesShortcut(QKeyEvent* event) const;

    float advance(qsizetype at) const {
        const float known = advances_[text_.at(at).unicode()];
        return known >= 0 ? known : measureAdvance(at);
    }
    float measureAdvance(qsizetype at) const;
    void measureFont();
    // The start of the line after the one that starts at `from`, or -1 when it runs to the end;
    // `width` receives the line's width when the view does not wrap.
    qsizetype nextLineStart(qsizetype from, double* width) const;
    void layOutAll();
    void layOutAfterEdit(qsizetype pos, qsizetype removed, qsizetype added);
    double wrapWidth() const;
    void updateScrollBars();
    void paintNote(QPainter& painter) const;

    qsizetype lineOf(qsizetype position) const;
    qsizetype caretLine() const;
    qsizetype lineEnd(qsizetype line) const;  // before its LF, if any
    double lineWidth(qsizetype line) const;
    double lineLeft(qsizetype line) const;
    double xOf(qsizetype line, qsizetype position) const;
    qsizetype positionAt(QPoint point) const;
    int visibleLines() const;
    QRect caretRect() const;
    QRect characterRect(qsizetype position) const;
    void ensureVisible(qsizetype line, qsizetype position);
    void ensureCaretVisible();
    void caretMoved();
    void restartBlink();
    qsizetype wordStart(qsizetype from) const;
    qsizetype wordEnd(qsizetype from) const;

    QString text_;
    std::vector<qsizetype> starts_{0};
    double widest_ = 0;  // without wrapping, the widest line laid out

    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    bool caretAtLineEnd_ = false;  // at a wrap, the caret stands after the line above
    double wantedX_ = -1;          // the column that Up and Down keep to
    QString preedit_;
    QString note_;
    qsizetype toldCursor_ = 0;  // the caret and selection that screen readers were last told of
    qsizetype toldAnchor_ = 0;
    std::vector<Change> undo_;
    std::vector<Change> redo_;

    bool readOnly_ = false;
    bool wrapping_ = true;
    bool tabChangesFocus_ = true;
    bool hideSelection_ = true;
    bool selecting_ = false;
    qsizetype limit_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    std::function<bool(const QKeyEvent&)> keyFilter_;

    mutable std::vector<float> advances_;  // by UTF-16 code unit, < 0 until measured
    QFont font_;
    int lineHeight_ = 1;
    int ascent_ = 0;
    double laidOutWidth_ = -1;

    int blinkTimer_ = 0;
    bool caretShown_ = false;
    int scrollTimer_ = 0;  // scrolls while a drag selection is outside the view
};

}  // namespace fw
