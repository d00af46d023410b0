#include "TextView.hpp"

#include "CopiedText.hpp"
#include "TextBoundaries.hpp"
#include "TextViewAccessible.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTimerEvent>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <utility>

namespace fw {

namespace {

// The blank around the text, as Qt's own text views leave it.
constexpr int kMargin = 4;

// An input method reads the text around the caret; this much of a long line is enough for it.
constexpr qsizetype kSurroundingText = 512;

// A step of the scroll bar sideways, as in Qt's editors.
constexpr int kSidewaysStep = 20;

QString noRoomToEdit() {
    return QStringLiteral("This change could not be made: there is not enough memory for it. The text is as it was.");
}

QString noRoomToCopy() {
    return QStringLiteral("The selection could not be copied: there is not enough memory for it.");
}

QString noRoomToLayOut() {
    return QStringLiteral("The text could not be laid out anew: there is not enough memory for it.");
}

}  // namespace

TextView::TextView(QWidget* parent) : QAbstractScrollArea(parent), layout_(nullptr) {
    TextViewAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    // Drops reach the view through its viewport, which must take them.
    viewport()->setAcceptDrops(true);
    verticalScrollBar()->setSingleStep(1);
    measureFont();
}

TextView::~TextView() = default;

void TextView::setText(QString text) {
    TextBuffer::readLineBreaks(text);
    TextBuffer::Replaced replaced = buffer_.replace(0, buffer_.size(), TextBuffer(std::move(text)));
    try {
        layOutAll();
    } catch (...) {
        buffer_.restore(std::move(replaced));
        throw;
    }
    textReplaced(replaced.removed);
}

TextLayoutSettings TextView::layoutSettings() const { return {layout_.sharedAdvances(), layout_.wraps(), wrapWidth()}; }

LaidOutText TextView::setLaidOutText(LaidOutText text) {
    const TextLayoutSettings now = layoutSettings();
    const TextLayoutSettings& made = text.settings_;
    if (made.advances != now.advances || made.wrapping != now.wrapping || (now.wrapping && made.width != now.width)) {
        text.layout_.setAdvances(now.advances);
        text.layout_.layOut(text.buffer_, now.wrapping, now.width);
        text.settings_ = now;
    }
    LaidOutText old;
    old.buffer_ = std::exchange(buffer_, std::move(text.buffer_));
    old.layout_ = std::exchange(layout_, std::move(text.layout_));
    old.settings_ = now;
    updateScrollBars();
    textReplaced(old.buffer_);
    return old;
}

// What follows a new text: no history, the caret at the start, the top in sight.
void TextView::textReplaced(const TextBuffer& old) {
    history_.clear();
    cursor_ = anchor_ = 0;
    caretAtLineEnd_ = false;
    wantedX_ = -1;
    preedit_.clear();
    clearNote();
    textChanged(0, old, buffer_);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void TextView::measureFont() {
    font_ = font();
    font_.setKerning(false);
    const QFontMetricsF metrics(font_);
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
    ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
    layout_.setAdvances(CharacterAdvances::ofFont(font_));
}

double TextView::wrapWidth() const { return std::max(1, viewport()->width() - 2 * kMargin); }

void TextView::layOutAll() {
    layout_.layOut(buffer_, layout_.wraps(), wrapWidth());
    updateScrollBars();
}

// As in Qt's editors, the view scrolls as far as the rows that fit above a margin at the bottom
// take, and pages by as many.
void TextView::updateScrollBars() {
    const int atEnd = std::max(1, (viewport()->height() - kMargin - 1) / lineHeight_);
    verticalScrollBar()->setRange(0, static_cast<int>(std::clamp<qsizetype>(lineCount() - atEnd, 0, INT_MAX)));
    verticalScrollBar()->setPageStep(atEnd);
    // Sideways, as far as the widest line and the margins on either side of it reach.
    const double wide = std::min<double>(layout_.widest() + 2 * kMargin, INT_MAX);
    horizontalScrollBar()->setRange(0, layout_.wraps() ? 0 : std::max(0, static_cast<int>(wide) - viewport()->width()));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    horizontalScrollBar()->setSingleStep(kSidewaysStep);
}

qsizetype TextView::topRow() const { return verticalScrollBar()->value(); }

int TextView::rowTop(qsizetype line) const {
    const qsizetype top = topRow();
    return (top == 0 ? kMargin : 0) +
           static_cast<int>(std::clamp<qsizetype>(line - top, -INT_MAX / 2 / lineHeight_, INT_MAX / 2 / lineHeight_)) *
               lineHeight_;
}

// The rows wholly in sight now, and once the view is scrolled, when the margin is gone.
int TextView::fullRows() const {
    return std::max(1, (viewport()->height() - (topRow() == 0 ? kMargin : 0)) / lineHeight_);
}

int TextView::rowsScrolled() const { return std::max(1, viewport()->height() / lineHeight_); }

// At a wrap the caret may stand after the line above (End took it there) or before the line
// below; at an LF it always stands before the line below.
qsizetype TextView::caretLine() const {
    const qsizetype line = layout_.lineOf(cursor_);
    if (caretAtLineEnd_ && isWrapPoint(cursor_)) return line - 1;
    return line;
}

// A row that the text goes on from on the next row, with no line break between.
bool TextView::isWrapped(qsizetype line) const {
    return line + 1 < lineCount() && buffer_.at(lineStart(line + 1) - 1) != QLatin1Char('\n');
}

// Where a row that wraps inside a word, not at a blank, ends: the caret may stand there after
// the row's last character.
bool TextView::isWrapPoint(qsizetype position) const {
    const qsizetype line = layout_.lineOf(position);
    return line > 0 && lineStart(line) == position && isWrapped(line - 1) &&
           !QChar::isSpace(buffer_.at(position - 1).unicode());
}

// Blanks that hang past the edge do not move an aligned line.
double TextView::alignmentOffset(qsizetype line) const {
    if (alignment_ & Qt::AlignLeft) return 0;
    const double room = viewport()->width() - 2 * kMargin;
    const double width = layout_.lineWidth(buffer_, line, !layout_.wraps());
    if (alignment_ & Qt::AlignRight) return std::max(0.0, room - width);
    if (alignment_ & Qt::AlignHCenter) return std::max(0.0, (room - width) / 2);
    return 0;
}

double TextView::contentX(qsizetype line, qsizetype position) const {
    return alignmentOffset(line) + layout_.xOf(buffer_, line, position);
}

double TextView::xOf(qsizetype line, qsizetype position) const {
    return kMargin - horizontalScrollBar()->value() + contentX(line, position);
}

// As Qt's editors place a click or a move to a place on a row: never past a wrapped row's last
// character, since the place after it is shown at the start of the next row.
qsizetype TextView::positionInRow(qsizetype line, double x) const {
    const qsizetype at = layout_.positionAt(buffer_, line, x - alignmentOffset(line));
    if (at == lineEnd(line) && isWrapped(line) && at > lineStart(line))
        return TextBoundaries::previousCharacter(buffer_, at);
    return at;
}

// Above the first row, when the view is scrolled to the top, is the text's start; below the last
// row, its end.
qsizetype TextView::positionAt(QPoint point) const {
    const qsizetype top = topRow();
    const int first = top == 0 ? kMargin : 0;
    if (top == 0 && point.y() < first) return 0;
    const qsizetype line = top + static_cast<qsizetype>(std::floor(double(point.y() - first) / lineHeight_));
    if (line >= lineCount()) return buffer_.size();
    if (line < 0) return 0;
    return positionInRow(line, point.x() - kMargin + horizontalScrollBar()->value());
}

QRect TextView::characterRect(qsizetype position) const {
    const qsizetype line = layout_.lineOf(position);
    const double x = xOf(line, position);
    const double width =
        position < lineEnd(line) ? layout_.advance(buffer_, position, x - xOf(line, lineStart(line))) : 0;
    return QRectF(x, rowTop(line), width, lineHeight_).toAlignedRect();
}

QRect TextView::caretRect() const {
    const qsizetype line = caretLine();
    const int x = static_cast<int>(std::floor(xOf(line, cursor_)));
    return QRect(x - 1, rowTop(line), 3, lineHeight_);
}

// The text and its lines change together or not at all: when laying the lines out fails, the
// text is put back, which needs no memory.
TextBuffer::Replaced TextView::splice(qsizetype position, qsizetype length, TextBuffer with) {
    const TextBuffer inserted = with;
    TextBuffer::Replaced replaced = buffer_.replace(position, length, std::move(with));
    try {
        layout_.update(buffer_, position, length, replaced.added);
    } catch (...) {
        buffer_.restore(std::move(replaced));
        throw;
    }
    updateScrollBars();
    clearNote();
    textChanged(position, replaced.removed, inserted);
    return replaced;
}

void TextView::replace(qsizetype position, qsizetype length, TextBuffer with, EditHistory::Kind kind) {
    const qsizetype added = with.size();
    history_.prepare(position, buffer_.slice(position, length), added, kind);
    try {
        splice(position, length, std::move(with));
    } catch (...) {
        history_.abandon();
        throw;
    }
    history_.commit();
    cursor_ = anchor_ = position + added;
    caretAtLineEnd_ = false;
    caretMoved();
}

void TextView::undoOrRedo(bool undo) {
    if (readOnly_ || !(undo ? history_.canUndo() : history_.canRedo())) return;
    if (undo) history_.prepareUndo();
    else history_.prepareRedo();
    const EditHistory::Change& change = undo ? history_.nextUndo() : history_.nextRedo();
    const qsizetype position = change.position;
    const qsizetype restored = change.removed.size();
    TextBuffer::Replaced replaced = splice(position, change.added, change.removed);
    if (undo) history_.undone(std::move(replaced.removed));
    else history_.redone(std::move(replaced.removed));
    cursor_ = anchor_ = position + restored;
    caretMoved();
}

template <class Command>
void TextView::guarded(const QString& failure, Command command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        showNote(failure);
    }
}

void TextView::showNote(const QString& note) {
    note_ = note;
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent told(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&told);
    }
}

void TextView::clearNote() {
    if (note_.isEmpty()) return;
    note_.clear();
    viewport()->update();
}

void TextView::undo() {
    guarded(noRoomToEdit(), [this] { undoOrRedo(true); });
}

void TextView::redo() {
    guarded(noRoomToEdit(), [this] { undoOrRedo(false); });
}

QString TextView::selectedText() const {
    const qsizetype from = std::min(cursor_, anchor_);
    return buffer_.mid(from, std::max(cursor_, anchor_) - from);
}

// The clipboard takes the selection with its UTF-8 made here, under the guard; see CopiedText.
bool TextView::copySelection() {
    bool copied = false;
    guarded(noRoomToCopy(), [&] {
        const qsizetype from = std::min(cursor_, anchor_);
        auto* selection = new CopiedText(buffer_.slice(from, std::max(cursor_, anchor_) - from));
        QGuiApplication::clipboard()->setMimeData(selection);
        copied = true;
    });
    return copied;
}

void TextView::copy() {
    if (hasSelection()) copySelection();
}

// What could not be copied is not taken out.
void TextView::cut() {
    if (readOnly_ || !hasSelection()) return;
    if (copySelection()) removeSelectedText();
}

void TextView::paste() {
    if (readOnly_) return;
    guarded(noRoomToEdit(), [this] {
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        // What this program copied is pasted as it is held, sharing its strings.
        if (const auto* own = qobject_cast<const CopiedText*>(offered))
            insert(own->characters(), EditHistory::Kind::Pasting);
        else if (offered && offered->hasText()) insert(offered->text(), EditHistory::Kind::Pasting);
    });
}

void TextView::removeSelectedText() {
    guarded(noRoomToEdit(), [this] { removeSelection(); });
}

void TextView::removeSelection() {
    if (readOnly_ || !hasSelection()) return;
    const qsizetype from = std::min(cursor_, anchor_);
    replace(from, std::max(cursor_, anchor_) - from, TextBuffer(), EditHistory::Kind::Other);
}

// Takes out what lies between the caret and `to` without showing it selected first; what memory
// does not let go stays, and unselected.
void TextView::removeTo(qsizetype to, EditHistory::Kind kind) {
    if (readOnly_ || to == cursor_) return;
    const qsizetype from = std::min(cursor_, to);
    const qsizetype at = cursor_;
    guarded(noRoomToEdit(), [&] { replace(from, std::max(at, to) - from, TextBuffer(), kind); });
}

// Text given as a whole is one step of the history, whatever it holds; a single character is
// typing, which the characters typed after it join.
void TextView::insertText(const QString& typed) {
    const bool oneCharacter = !typed.isEmpty() && typed != QLatin1String("\n") &&
                              (typed.size() == 1 || (typed.size() == 2 && typed.at(0).isHighSurrogate()));
    guarded(noRoomToEdit(),
            [&] { insert(typed, oneCharacter ? EditHistory::Kind::Typing : EditHistory::Kind::Other); });
}

void TextView::insert(const QString& typed, EditHistory::Kind kind) {
    if (readOnly_) return;
    QString text = typed;
    TextBuffer::readLineBreaks(text);
    insert(TextBuffer(std::move(text)), kind);
}

void TextView::insert(TextBuffer text, EditHistory::Kind kind) {
    if (readOnly_) return;
    const qsizetype from = std::min(cursor_, anchor_);
    const qsizetype selected = std::max(cursor_, anchor_) - from;
    if (limit_ > 0) {
        const qsizetype room = limit_ - (buffer_.size() - selected);
        if (room <= 0) return;
        if (text.size() > room) {
            // Half a surrogate pair is no character.
            qsizetype keep = room;
            if (QChar::isHighSurrogate(text.at(keep - 1).unicode())) --keep;
            text = text.slice(0, keep);
        }
    }
    if (text.isEmpty() && selected == 0) return;
    replace(from, selected, std::move(text), kind);
}

// As in Qt's editors, selecting all leaves the view where it was.
void TextView::selectAll() {
    anchor_ = 0;
    cursor_ = buffer_.size();
    caretAtLineEnd_ = false;
    caretMoved(false);
}

void TextView::setCursorPosition(qsizetype position, bool keepAnchor) {
    cursor_ = std::clamp<qsizetype>(position, 0, buffer_.size());
    if (cursor_ < buffer_.size() && QChar::isLowSurrogate(buffer_.at(cursor_).unicode()) && cursor_ > 0) --cursor_;
    if (!keepAnchor) anchor_ = cursor_;
    caretMoved();
}

void TextView::caretMoved(bool scroll) {
    if (scroll) ensureVisible(caretLine(), cursor_);
    restartBlink();
    viewport()->update();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
    if (!QAccessible::isActive()) {
        toldCursor_ = cursor_;
        toldAnchor_ = anchor_;
        return;
    }
    // A caret that merely moves selects nothing: only a selection made, changed or dropped is told.
    const bool rangeChanged = std::min(cursor_, anchor_) != std::min(toldCursor_, toldAnchor_) ||
                              std::max(cursor_, anchor_) != std::max(toldCursor_, toldAnchor_);
    const bool selectionChanged = rangeChanged && (hasSelection() || toldCursor_ != toldAnchor_);
    const bool cursorChanged = cursor_ != toldCursor_;
    toldCursor_ = cursor_;
    toldAnchor_ = anchor_;
    if (selectionChanged) {
        QAccessibleTextSelectionEvent told(this, static_cast<int>(std::min(cursor_, anchor_)),
                                           static_cast<int>(std::max(cursor_, anchor_)));
        told.setCursorPosition(static_cast<int>(cursor_));
        QAccessible::updateAccessibility(&told);
    }
    if (cursorChanged) {
        QAccessibleTextCursorEvent told(this, static_cast<int>(cursor_));
        QAccessible::updateAccessibility(&told);
    }
}

// Screen readers hear of a change as the platform's text events put it; a reader that misses one
// for want of memory is better than an edit lost.
void TextView::textChanged(qsizetype position, const TextBuffer& removed, const TextBuffer& added) {
    if (!QAccessible::isActive() || (removed.isEmpty() && added.isEmpty())) return;
    try {
        const int at = static_cast<int>(position);
        if (removed.isEmpty()) {
            QAccessibleTextInsertEvent told(this, at, added.toString());
            QAccessible::updateAccessibility(&told);
        } else if (added.isEmpty()) {
            QAccessibleTextRemoveEvent told(this, at, removed.toString());
            QAccessible::updateAccessibility(&told);
        } else {
            QAccessibleTextUpdateEvent told(this, at, removed.toString(), added.toString());
            QAccessible::updateAccessibility(&told);
        }
    } catch (const std::bad_alloc&) {}
}

void TextView::scrollToPosition(qsizetype position) {
    position = std::clamp<qsizetype>(position, 0, buffer_.size());
    ensureVisible(layout_.lineOf(position), position);
}

// As Qt's editors do: a row above the view comes to its top, one below it to its bottom, and a
// place that has left the view sideways comes to its middle.
void TextView::ensureVisible(qsizetype line, qsizetype position) {
    QScrollBar* bar = verticalScrollBar();
    if (line < topRow()) bar->setValue(static_cast<int>(std::min<qsizetype>(line, INT_MAX)));
    else if (line >= topRow() + fullRows())
        bar->setValue(static_cast<int>(std::min<qsizetype>(line - rowsScrolled() + 1, INT_MAX)));
    if (!layout_.wraps()) {
        QScrollBar* across = horizontalScrollBar();
        const auto x = static_cast<int>(std::lround(xOf(line, position)));
        if (x - 1 < 0 || x + 1 > viewport()->width() - 1)
            across->setValue(x + across->value() - viewport()->width() / 2);
    }
}

void TextView::setReadOnly(bool readOnly) {
    if (readOnly != readOnly_ && QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent told(this, changed);
        readOnly_ = readOnly;
        QAccessible::updateAccessibility(&told);
    }
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    restartBlink();
    viewport()->update();
}

// When the lines cannot be laid out the new way, the view keeps the old way with them: an edit
// then lays its lines out as their neighbours are, and the same setting made again tries anew.
void TextView::setWrapping(bool wrapping) {
    if (wrapping == layout_.wraps()) return;
    guarded(noRoomToLayOut(), [&] {
        layout_.layOut(buffer_, wrapping, wrapWidth());
        updateScrollBars();
        horizontalScrollBar()->setValue(0);
    });
    viewport()->update();
}

void TextView::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    viewport()->update();
}

void TextView::setHideSelection(bool hide) {
    hideSelection_ = hide;
    viewport()->update();
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (layout_.wraps() && wrapWidth() != layout_.width()) {
        guarded(noRoomToLayOut(), [this] {
            const qsizetype top = lineStart(verticalScrollBar()->value());
            layOutAll();
            verticalScrollBar()->setValue(static_cast<int>(layout_.lineOf(top)));
        });
    } else {
        updateScrollBars();
    }
}

void TextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureFont();
        guarded(noRoomToLayOut(), [this] { layOutAll(); });
        viewport()->update();
    }
}

void TextView::scrollContentsBy(int, int) { viewport()->update(); }

void TextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font_);
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    const qsizetype first = topRow();
    const qsizetype last = std::min(lineCount(), first + rowsScrolled() + 1);
    for (qsizetype line = first; line < last; ++line) {
        const int top = rowTop(line);
        if (top > area.bottom() || top + lineHeight_ <= area.top()) continue;
        paintLine(painter, line, top, area);
    }
    if (!note_.isEmpty()) paintNote(painter);
}

// Each run of characters between tabs is drawn where the layout puts it, a tab being a gap to
// the next tab stop.
void TextView::paintLine(QPainter& painter, qsizetype line, int top, const QRect& area) const {
    const QColor ink = palette().color(QPalette::Text);
    const qsizetype start = lineStart(line);
    const qsizetype end = lineEnd(line);
    const double left = xOf(line, start);
    // A line too wide for the view (without wrapping) is drawn from its first character in sight.
    qsizetype from = start;
    double x = left;
    for (double step; from < end && x + (step = layout_.advance(buffer_, from, x - left)) < area.left(); ++from)
        x += step;
    qsizetype to = from;
    for (double right = x; to < end && right <= area.right(); ++to) right += layout_.advance(buffer_, to, right - left);
    if (to < end && QChar::isLowSurrogate(buffer_.at(to).unicode())) ++to;
    const QString shown = buffer_.mid(from, to - from);
    // Draws the characters of [a, b) of those shown, which start at `ax`.
    const auto draw = [&](qsizetype a, qsizetype b, double ax) {
        qsizetype run = a;
        for (qsizetype i = a; i <= b; ++i) {
            if (i < b && shown.at(i - from) != QLatin1Char('\t')) continue;
            if (i > run) painter.drawText(QPointF(ax, top + ascent_), shown.mid(run - from, i - run));
            for (qsizetype j = run; j < i; ++j) ax += layout_.advance(buffer_, j, ax - left);
            if (i < b) ax += LineLayout::tabAdvance(ax - left);
            run = i + 1;
        }
    };
    painter.setPen(ink);
    draw(from, to, x);

    const bool showSelection = hasSelection() && (hasFocus() || !hideSelection_);
    const qsizetype selFrom = std::min(cursor_, anchor_);
    const qsizetype selTo = std::max(cursor_, anchor_);
    if (showSelection && selFrom <= end && selTo > start) {
        const qsizetype a = std::clamp(selFrom, from, to);
        const qsizetype b = std::clamp(selTo, from, to);
        const double ax = xOf(line, a);
        double bx = xOf(line, b);
        // A selected line break shows as a blank's width; a wrap is no character and shows nothing.
        if (selTo > end && end < buffer_.size() && to == end && buffer_.at(end) == QLatin1Char('\n'))
            bx += QFontMetricsF(font_).horizontalAdvance(QLatin1Char(' '));
        const QRectF band(ax, top, bx - ax, lineHeight_);
        painter.fillRect(band, palette().color(QPalette::Highlight));
        painter.save();
        painter.setClipRect(band);
        painter.setPen(palette().color(QPalette::HighlightedText));
        draw(from, to, x);
        painter.restore();
    }
    if (line != caretLine()) return;
    double cx = xOf(line, cursor_);
    if (!preedit_.isEmpty()) {
        // What an input method composes goes in at the caret and pushes the rest of the line on.
        // Where it would run past the edge, as at a wrap, it is drawn back from the edge over
        // the end of the line, so that it stays in sight whole.
        const double width = QFontMetricsF(font_).horizontalAdvance(preedit_);
        const double edge = viewport()->width() - kMargin;
        const double at = std::max<double>(kMargin, std::min(cx, edge - width));
        painter.fillRect(QRectF(at, top, viewport()->width() - at, lineHeight_), palette().color(QPalette::Base));
        QFont underlined = font_;
        underlined.setUnderline(true);
        painter.setFont(underlined);
        painter.setPen(ink);
        painter.drawText(QPointF(at, top + ascent_), preedit_);
        painter.setFont(font_);
        const qsizetype rest = std::max(cursor_, from);
        if (rest < to) draw(rest, to, (rest == cursor_ ? at : x) + width);
        cx = at + width;
    }
    if (hasFocus() && caretShown_) painter.fillRect(QRectF(std::floor(cx), top, 1, lineHeight_), ink);
}

// The note stands over the top of the text, in the colours of a tool tip, so that it cannot be
// taken for part of the text.
void TextView::paintNote(QPainter& painter) const {
    painter.setFont(font());
    const QRect room = viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
    const QRect words = painter.boundingRect(room.adjusted(kMargin, kMargin, -kMargin, -kMargin), flags, note_);
    const QRect box(room.left(), room.top(), room.width(), words.height() + 2 * kMargin);
    painter.fillRect(box, palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawText(box.adjusted(kMargin, kMargin, -kMargin, -kMargin), flags, note_);
}

void TextView::restartBlink() {
    if (blinkTimer_) killTimer(blinkTimer_);
    blinkTimer_ = 0;
    caretShown_ = hasFocus() && !readOnly_;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (caretShown_ && flash > 0) blinkTimer_ = startTimer(flash / 2);
}

void TextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blinkTimer_) {
        caretShown_ = !caretShown_;
        viewport()->update(caretRect());
    } else if (event->timerId() == scrollTimer_) {
        const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
        QScrollBar* bar = verticalScrollBar();
        if (at.y() < 0) bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (at.y() > viewport()->height()) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        extendSelection(positionAt(at));
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void TextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void TextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    restartBlink();
    viewport()->update();
}

bool TextView::focusNextPrevChild(bool next) {
    if (!tabChangesFocus_ && !readOnly_) return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool TextView::event(QEvent* event) {
    // The filter sees Tab too, before it moves the focus on.
    if (event->type() == QEvent::KeyPress && keyFilter_ && keyFilter_(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && TextKeys::overridesShortcut(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

// Up and Down keep to the place on the row they started from. At a row's end that End reached,
// the caret stands, as far as they are concerned, at the start of the next row, as in Qt's
// editors, which show it there; they keep it at rows' ends.
void TextView::moveVertically(qsizetype rows, bool select) {
    qsizetype line = caretLine();
    double x = wantedX_ >= 0 ? wantedX_ : contentX(line, cursor_);
    const bool atLineEnd = caretAtLineEnd_ && isWrapPoint(cursor_);
    if (atLineEnd) {
        ++line;
        x = contentX(line, cursor_);
    }
    const qsizetype target = std::clamp<qsizetype>(line + rows, 0, lineCount() - 1);
    if (target == line) {
        // Past the first or the last row only a selection moves on, to the text's start or end.
        if (select) setCursorPosition(rows < 0 ? 0 : buffer_.size(), true);
        return;
    }
    const qsizetype to = positionInRow(target, x);
    wantedX_ = x;
    cursor_ = to;
    caretAtLineEnd_ = atLineEnd && isWrapPoint(to);
    if (!select) anchor_ = cursor_;
    caretMoved();
}

// As Qt's editors page: the first row not wholly in sight comes to the top (going down), or the
// rows above come into sight (going up), and the caret moves by rows until it stands where it
// stood in the view, or at the first or last row.
void TextView::page(bool down, bool select) {
    const qsizetype caret = caretLine();
    const double x = wantedX_ >= 0 ? wantedX_ : contentX(caret, cursor_);
    const bool wasAtTop = topRow() == 0;
    const int wasAt = rowTop(caret);
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(static_cast<int>(down ? topRow() + fullRows() : topRow() - rowsScrolled()));
    qsizetype line = caret;
    if (down) {
        while (line + 1 < lineCount() && (line == caret || rowTop(line) < wasAt)) ++line;
    } else {
        const int aim = wasAtTop ? 0 : wasAt;
        while (line > 0 && (line == caret || rowTop(line) > aim)) --line;
    }
    wantedX_ = x;
    caretAtLineEnd_ = false;
    cursor_ = positionInRow(line, x);
    if (!select) anchor_ = cursor_;
    caretMoved();
}

bool TextView::move(TextKeys::Reading reading) {
    using Command = TextKeys::Command;
    const bool select = reading.select;
    const qsizetype line = caretLine();
    qsizetype to = cursor_;
    bool atLineEnd = false;
    switch (reading.command) {
    case Command::Left:
        if (!select && hasSelection()) to = std::min(cursor_, anchor_);
        else to = TextBoundaries::previousCharacter(buffer_, cursor_);
        break;
    case Command::Right:
        if (!select && hasSelection()) to = std::max(cursor_, anchor_);
        else to = TextBoundaries::nextCharacter(buffer_, cursor_);
        break;
    case Command::Up:
    case Command::Down: moveVertically(reading.command == Command::Up ? -1 : 1, select); return true;
    case Command::PageUp:
    case Command::PageDown: page(reading.command == Command::PageDown, select); return true;
    case Command::LineStart: to = lineStart(line); break;
    case Command::LineEnd:
        // Qt's editors stop before the blank a row wraps at; where a row wraps in a word, the
        // caret stays at its end, after its last character.
        to = lineEnd(line);
        if (isWrapped(line)) {
            if (QChar::isSpace(buffer_.at(to - 1).unicode())) --to;
            else atLineEnd = true;
        }
        break;
    case Command::TextStart: to = 0; break;
    case Command::TextEnd: to = buffer_.size(); break;
    case Command::WordLeft: to = TextBoundaries::previousWord(buffer_, cursor_); break;
    case Command::WordRight: to = TextBoundaries::nextWord(buffer_, cursor_); break;
    default: return false;
    }
    wantedX_ = -1;
    caretAtLineEnd_ = atLineEnd;
    setCursorPosition(to, select);
    return true;
}

bool TextView::edit(TextKeys::Reading reading, const QKeyEvent& key) {
    using Command = TextKeys::Command;
    using Kind = EditHistory::Kind;
    const Command command = reading.command;
    const bool erases = command == Command::EraseWordBack || command == Command::EraseWordForward ||
                        command == Command::EraseBack || command == Command::EraseForward ||
                        command == Command::EraseToLineEnd;
    if (command == Command::Copy) copy();
    else if (command == Command::SelectAll) selectAll();
    else if (readOnly_) return false;
    else if (command == Command::Cut) cut();
    else if (command == Command::Paste) paste();
    else if (command == Command::Undo) undo();
    else if (command == Command::Redo) redo();
    else if (erases && hasSelection()) removeSelectedText();
    else if (command == Command::EraseWordBack) removeTo(TextBoundaries::previousWord(buffer_, cursor_), Kind::Other);
    else if (command == Command::EraseWordForward) removeTo(TextBoundaries::nextWord(buffer_, cursor_), Kind::Other);
    else if (command == Command::EraseToLineEnd)
        removeTo(TextBoundaries::paragraphAt(buffer_, cursor_).second, Kind::Other);
    else if (command == Command::EraseForward)
        removeTo(TextBoundaries::nextCharacter(buffer_, cursor_), Kind::ErasingForward);
    else if (command == Command::EraseBack) {
        // Backspace takes a character of a cluster at a time, as Qt's editors do, but a
        // surrogate pair whole.
        qsizetype to = cursor_ - 1;
        if (to > 0 && QChar::isLowSurrogate(buffer_.at(to).unicode()) &&
            QChar::isHighSurrogate(buffer_.at(to - 1).unicode()))
            --to;
        if (cursor_ > 0) removeTo(to, Kind::ErasingBack);
    } else if (command == Command::NewLine) {
        guarded(noRoomToEdit(), [this] { insert(QStringLiteral("\n"), Kind::Other); });
    } else if (command == Command::Tab && !tabChangesFocus_) {
        guarded(noRoomToEdit(), [this] { insert(QStringLiteral("\t"), Kind::Typing); });
    } else if (command == Command::Type) {
        guarded(noRoomToEdit(), [&] { insert(key.text(), Kind::Typing); });
    } else {
        return false;
    }
    return true;
}

// A read-only text has no caret to move: the keys that would move one scroll, as in Qt's
// editors, and Copy and Select All still act.
bool TextView::scrollKey(const QKeyEvent& key) {
    QScrollBar* down = verticalScrollBar();
    QScrollBar* across = horizontalScrollBar();
    const bool plain = !(key.modifiers() & ~Qt::KeypadModifier);
    if (key.key() == Qt::Key_Space) {
        down->triggerAction(key.modifiers() & Qt::ShiftModifier ? QAbstractSlider::SliderPageStepSub
                                                                : QAbstractSlider::SliderPageStepAdd);
    } else if (key.matches(QKeySequence::MoveToPreviousPage)) {
        down->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (key.matches(QKeySequence::MoveToNextPage)) {
        down->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (key.key() == Qt::Key_Home && plain) {
        down->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (key.key() == Qt::Key_End && plain) {
        down->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        switch (key.key()) {
        case Qt::Key_Up: down->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case Qt::Key_Down: down->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        case Qt::Key_Left: across->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case Qt::Key_Right: across->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        default: return false;
        }
    }
    return true;
}

void TextView::keyPressEvent(QKeyEvent* key) {
    clearNote();
    const TextKeys::Reading reading = TextKeys::read(*key);
    if (!TextKeys::isVertical(reading.command)) wantedX_ = -1;
    const bool leavesText =
        reading.command == TextKeys::Command::Copy || reading.command == TextKeys::Command::SelectAll;
    bool taken = false;
    if (readOnly_ && !leavesText) taken = scrollKey(*key);
    else taken = move(reading) || edit(reading, *key);
    key->setAccepted(taken);
}

// A press soon after a double click, near where it was, is a triple click, which selects the
// line from line break to line break with its line break. Dragging then extends the selection
// by what the click selected: characters, words or such lines.
void TextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    clearNote();
    caretAtLineEnd_ = false;
    wantedX_ = -1;
    const QPoint point = event->position().toPoint();
    const qsizetype at = positionAt(point);
    const bool triple =
        doubleClicked_ &&
        event->timestamp() - doubleClickTime_ <
            static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
        (point - doubleClickPoint_).manhattanLength() < QGuiApplication::styleHints()->startDragDistance();
    doubleClicked_ = false;
    if (triple) {
        const auto [from, to] = TextBoundaries::paragraphAt(buffer_, at);
        selectedUnit_ = {from, std::min(buffer_.size(), to + 1)};
        selecting_ = Selecting::Paragraphs;
        anchor_ = selectedUnit_.first;
        setCursorPosition(selectedUnit_.second, true);
        return;
    }
    selecting_ = Selecting::Characters;
    setCursorPosition(at, event->modifiers() & Qt::ShiftModifier);
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    if (selecting_ == Selecting::No || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    const bool outside = at.y() < 0 || at.y() > viewport()->height();
    if (outside && !scrollTimer_) scrollTimer_ = startTimer(50);
    else if (!outside && scrollTimer_) killTimer(std::exchange(scrollTimer_, 0));
    extendSelection(positionAt(at));
}

// Extends the selection to `to`, by whole words or lines where a double or triple click began
// it: a word reached goes in as far as its nearer end, as in Qt's editors, and the word or line
// first chosen stays selected.
void TextView::extendSelection(qsizetype to) {
    if (selecting_ == Selecting::Characters) {
        setCursorPosition(to, true);
        return;
    }
    const auto [first, last] = selectedUnit_;
    if (to >= first && to <= last) {
        anchor_ = first;
        setCursorPosition(last, true);
        return;
    }
    qsizetype from = 0, end = 0;
    if (selecting_ == Selecting::Words) {
        from = TextBoundaries::startOfWord(buffer_, to);
        end = TextBoundaries::endOfWord(buffer_, from);
        const qsizetype line = layout_.lineOf(from);
        if (end == from || layout_.lineOf(std::max(from, end - 1)) != line) return;
        const double mouse = contentX(line, to);
        to = mouse - contentX(line, from) < contentX(line, end) - mouse ? from : end;
    } else {
        std::tie(from, end) = TextBoundaries::paragraphAt(buffer_, to);
        to = to < first ? from : std::min(buffer_.size(), end + 1);
    }
    anchor_ = to < first ? last : first;
    setCursorPosition(to, true);
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) selecting_ = Selecting::No;
    if (scrollTimer_) killTimer(std::exchange(scrollTimer_, 0));
}

// As in Qt's editors, a double click selects the word under it, a run of punctuation marks, or
// the word before the blanks it lands on; on an empty line, nothing.
void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    const qsizetype at = positionAt(point);
    doubleClicked_ = true;
    doubleClickTime_ = event->timestamp();
    doubleClickPoint_ = point;
    const qsizetype line = layout_.lineOf(at);
    if (lineEnd(line) == lineStart(line)) return;
    selectedUnit_ = TextBoundaries::wordAt(buffer_, at);
    selecting_ = Selecting::Words;
    anchor_ = selectedUnit_.first;
    setCursorPosition(selectedUnit_.second, true);
}

// As Qt's own text views: a read-only text offers only Copy and Select All.
void TextView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool editable = !readOnly_;
    auto add = [&](const QString& caption, QKeySequence::StandardKey keys, bool enabled, auto run) {
        QAction* action = menu.addAction(caption, this, run);
        action->setShortcut(keys);
        action->setEnabled(enabled);
    };
    if (editable) {
        add(QStringLiteral("&Undo"), QKeySequence::Undo, history_.canUndo(), [this] { undo(); });
        add(QStringLiteral("&Redo"), QKeySequence::Redo, history_.canRedo(), [this] { redo(); });
        menu.addSeparator();
        add(QStringLiteral("Cu&t"), QKeySequence::Cut, hasSelection(), [this] { cut(); });
    }
    add(QStringLiteral("&Copy"), QKeySequence::Copy, hasSelection(), [this] { copy(); });
    if (editable) {
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        add(QStringLiteral("&Paste"), QKeySequence::Paste, offered && offered->hasText(), [this] { paste(); });
        add(QStringLiteral("Delete"), QKeySequence::Delete, hasSelection(), [this] { removeSelectedText(); });
    }
    menu.addSeparator();
    add(QStringLiteral("Select All"), QKeySequence::SelectAll, !buffer_.isEmpty(), [this] { selectAll(); });
    menu.exec(event->globalPos());
}

// Text dropped from elsewhere goes in where it is dropped, as a paste would.
void TextView::dragEnterEvent(QDragEnterEvent* event) {
    if (!readOnly_ && event->mimeData()->hasText()) event->acceptProposedAction();
}

void TextView::dragMoveEvent(QDragMoveEvent* event) {
    if (!readOnly_ && event->mimeData()->hasText()) event->acceptProposedAction();
}

void TextView::dropEvent(QDropEvent* event) {
    if (readOnly_ || !event->mimeData()->hasText()) return;
    setCursorPosition(positionAt(event->position().toPoint()));
    guarded(noRoomToEdit(), [&] { insert(event->mimeData()->text(), EditHistory::Kind::Pasting); });
    event->acceptProposedAction();
    setFocus(Qt::MouseFocusReason);
}

void TextView::inputMethodEvent(QInputMethodEvent* event) {
    if (readOnly_) {
        event->ignore();
        return;
    }
    if (event->replacementLength() > 0) {
        const qsizetype from = std::clamp<qsizetype>(cursor_ + event->replacementStart(), 0, buffer_.size());
        anchor_ = from;
        cursor_ = std::min(buffer_.size(), from + event->replacementLength());
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0)
        guarded(noRoomToEdit(), [&] { insert(event->commitString(), EditHistory::Kind::Other); });
    preedit_ = event->preeditString();
    viewport()->update();
    event->accept();
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const {
    const qsizetype from = std::max<qsizetype>(0, cursor_ - kSurroundingText);
    switch (query) {
    case Qt::ImEnabled: return !readOnly_;
    case Qt::ImHints: return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImFont: return font_;
    case Qt::ImCursorRectangle: return QRectF(caretRect()).translated(viewport()->pos());
    case Qt::ImSurroundingText: return buffer_.mid(from, std::min(buffer_.size(), cursor_ + kSurroundingText) - from);
    case Qt::ImCursorPosition: return static_cast<int>(cursor_ - from);
    case Qt::ImAnchorPosition: return static_cast<int>(std::clamp(anchor_, from, cursor_ + kSurroundingText) - from);
    case Qt::ImCurrentSelection: {
        const qsizetype a = std::min(cursor_, anchor_);
        return buffer_.mid(a, std::min<qsizetype>(std::max(cursor_, anchor_) - a, kSurroundingText));
    }
    case Qt::ImMaximumTextLength: return limit_ > 0 ? QVariant(static_cast<int>(limit_)) : QVariant();
    default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

}  // namespace fw
