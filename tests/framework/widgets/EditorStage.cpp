#include "EditorStage.hpp"

#include "framework/TextView.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>

namespace sidebyside {

namespace {

QFont caseFont(const Setup& setup) {
    QFont font(setup.family);
    font.setPixelSize(setup.pixelSize);
    font.setKerning(false);
    return font;
}

// Qt's editor as it comes, but for what the number panes set: its tab stops stay Qt's own.
class PlainTextEditStage : public EditorStage {
public:
    PlainTextEditStage(const Setup& setup, QWidget* parent) : EditorStage(parent) {
        edit_ = new QPlainTextEdit(this);
        edit_->setLineWrapMode(setup.wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        edit_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit_->setReadOnly(setup.readOnly);
        edit_->setTabChangesFocus(!setup.acceptTabs);
        place(edit_, setup);
    }

    void start(const Setup& setup) override {
        edit_->setPlainText(parseMarks(setup.text).text);
        EditorStage::start(setup);
    }

protected:
    // The document holds a paragraph separator between blocks and a line separator where
    // Shift+Return broke a line; each is one position, as an LF is in ours.
    QString currentText() const override {
        QString text = edit_->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        return text;
    }
    qsizetype cursor() const override { return edit_->textCursor().position(); }
    qsizetype anchor() const override { return edit_->textCursor().anchor(); }
    void select(qsizetype anchor, qsizetype cursor) override {
        QTextCursor c(edit_->document());
        c.setPosition(static_cast<int>(anchor));
        c.setPosition(static_cast<int>(cursor), QTextCursor::KeepAnchor);
        edit_->setTextCursor(c);
    }
    std::vector<qsizetype> rowStarts() const override {
        std::vector<qsizetype> starts;
        for (QTextBlock block = edit_->document()->begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            if (!layout || layout->lineCount() == 0) {
                starts.push_back(block.position());
                continue;
            }
            for (int i = 0; i < layout->lineCount(); ++i)
                starts.push_back(block.position() + layout->lineAt(i).textStart());
        }
        return starts;
    }
    QRect positionRect(qsizetype position) const override {
        QTextCursor c(edit_->document());
        c.setPosition(static_cast<int>(position));
        return edit_->cursorRect(c);
    }
    QRect caretRect() const override { return edit_->cursorRect(); }

private:
    QPlainTextEdit* edit_ = nullptr;
};

class TextViewStage : public EditorStage {
public:
    TextViewStage(const Setup& setup, QWidget* parent) : EditorStage(parent) {
        view_ = new fw::TextView(this);
        view_->setWrapping(setup.wrap);
        view_->setReadOnly(setup.readOnly);
        view_->setTabChangesFocus(!setup.acceptTabs);
        place(view_, setup);
    }

    void start(const Setup& setup) override {
        view_->setText(parseMarks(setup.text).text);
        EditorStage::start(setup);
    }

protected:
    QString currentText() const override { return view_->text(); }
    qsizetype cursor() const override { return view_->cursorPosition(); }
    // The view names its anchor only to screen readers, as the far end of its selection.
    qsizetype anchor() const override {
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(view_)->textInterface();
        if (text->selectionCount() == 0) return cursor();
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        return cursor() == start ? end : start;
    }
    void select(qsizetype anchor, qsizetype cursor) override {
        view_->setCursorPosition(anchor);
        view_->setCursorPosition(cursor, true);
    }
    std::vector<qsizetype> rowStarts() const override {
        std::vector<qsizetype> starts;
        for (qsizetype i = 0; i < view_->lineCount(); ++i) starts.push_back(view_->lineStart(i));
        return starts;
    }
    QRect positionRect(qsizetype position) const override {
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(view_)->textInterface();
        const QRect shown = text->characterRect(static_cast<int>(position));
        return QRect(view_->viewport()->mapFromGlobal(shown.topLeft()), QSize(1, shown.height()));
    }
    // What the view tells an input method, in its own coordinates rather than its viewport's.
    QRect caretRect() const override {
        const QWidget* widget = view_;
        const QRect rect = widget->inputMethodQuery(Qt::ImCursorRectangle).toRectF().toRect();
        return rect.translated(-view_->viewport()->pos());
    }

private:
    fw::TextView* view_ = nullptr;
};

}  // namespace

std::unique_ptr<EditorStage> EditorStage::make(Kind kind, const Setup& setup, QWidget* parent) {
    if (kind == Kind::Qt) return std::make_unique<PlainTextEditStage>(setup, parent);
    return std::make_unique<TextViewStage>(setup, parent);
}

EditorStage::EditorStage(QWidget* parent) : QWidget(parent) {
    previous_ = new QLineEdit(this);
    next_ = new QLineEdit(this);
}

const char* EditorStage::editorName() const {
    return qobject_cast<QPlainTextEdit*>(editor_) ? "QPlainTextEdit" : "fw::TextView";
}

// The panes' frame and scroll bars: a vertical bar always, a horizontal one only without
// wrapping, when a line is wider than the view.
void EditorStage::place(QAbstractScrollArea* editor, const Setup& setup) {
    editor_ = editor;
    editor->setFont(caseFont(setup));
    editor->setFrameShape(QFrame::StyledPanel);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setHorizontalScrollBarPolicy(setup.wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    const int fieldHeight = previous_->sizeHint().height();
    previous_->setGeometry(0, 0, setup.size.width(), fieldHeight);
    editor->setGeometry(0, fieldHeight, setup.size.width(), setup.size.height());
    next_->setGeometry(0, fieldHeight + setup.size.height(), setup.size.width(), fieldHeight);
    setTabOrder(previous_, editor);
    setTabOrder(editor, next_);
    setFixedSize(setup.size.width(), setup.size.height() + 2 * fieldHeight);
}

void EditorStage::start(const Setup& setup) {
    const MarkedText marked = parseMarks(setup.text);
    select(marked.anchor, marked.cursor);
    if (setup.topRow >= 0) scrollTo(setup.topRow);
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(setup.clipboard);
    if (setup.primarySelection && clipboard->supportsSelection())
        clipboard->setText(*setup.primarySelection, QClipboard::Selection);
    editor_->setFocus(Qt::OtherFocusReason);
    recorded_.clear();
}

void EditorStage::scrollTo(int row) { editor_->verticalScrollBar()->setValue(row); }

QPoint EditorStage::pointAt(const Where& where) const {
    const std::vector<qsizetype> rows = rowStarts();
    const qsizetype size = currentText().size();
    const int last = static_cast<int>(rows.size()) - 1;
    int row = where.row;
    if (where.place == Where::TopMargin) row = editor_->verticalScrollBar()->value();
    if (where.place == Where::BelowText) row = last;
    row = std::clamp(row, 0, last);
    // A column past the row's end stands at its end, never at the start of the next row.
    const qsizetype rowEnd = row < last ? rows[static_cast<std::size_t>(row) + 1] - 1 : size;
    const qsizetype position = std::min(rows[static_cast<std::size_t>(row)] + where.column, rowEnd);
    const QRect rowRect = positionRect(rows[static_cast<std::size_t>(row)]);
    // A little into the character, so that the click lands before it in either editor.
    const int x = positionRect(position).left() + 2;
    const QWidget* viewport = editor_->viewport();
    switch (where.place) {
    case Where::Column: return {x, rowRect.center().y()};
    case Where::RightOfRow: return {viewport->width() - 2, rowRect.center().y()};
    case Where::TopMargin: return {x, 1};
    case Where::BelowText: return {x, viewport->height() - 2};
    }
    return {};
}

Outcome EditorStage::outcome() const {
    Outcome o;
    o.text = currentText();
    o.cursor = cursor();
    o.anchor = anchor();
    o.rows = rowStarts();
    o.topRow = editor_->verticalScrollBar()->value();
    o.left = editor_->horizontalScrollBar()->value();
    // The row whose top the caret stands at.
    const int caretTop = caretRect().top();
    int best = 0;
    for (std::size_t i = 0; i < o.rows.size(); ++i) {
        const int distance = std::abs(positionRect(o.rows[i]).top() - caretTop);
        if (distance < std::abs(positionRect(o.rows[static_cast<std::size_t>(best)]).top() - caretTop))
            best = static_cast<int>(i);
    }
    o.caretRow = best;
    const QWidget* focused = QApplication::focusWidget();
    if (focused == editor_) o.focus = QStringLiteral("the editor");
    else if (focused == previous_) o.focus = QStringLiteral("the field before");
    else if (focused == next_) o.focus = QStringLiteral("the field after");
    else o.focus = focused ? QString::fromLatin1(focused->metaObject()->className()) : QStringLiteral("nothing");
    o.clipboard = QApplication::clipboard()->text();
    o.recorded = recorded_;
    return o;
}

}  // namespace sidebyside
