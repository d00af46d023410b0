#include "TextView.hpp"

#include "CopiedText.hpp"
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

void TextView::updateScrollBars() {
    const int shown = visibleLines();
    const qsizetype hidden = std::max<qsizetype>(0, lineCount() - shown);
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<qsizetype>(hidden, INT_MAX)));
    verticalScrollBar()->setPageStep(std::max(1, shown));
    const double room = viewport()->width() - 2 * kMargin;
    horizontalScrollBar()->setRange(
        0,
        layout_.wraps() ? 0 : static_cast<int>(std::min<double>(std::max(0.0, layout_.widest() + 1 - room), INT_MAX)));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    horizontalScrollBar()->setSingleStep(std::max(1, lineHeight_));
}

// At a wrap the caret may stand after the line above (End took it there) or before the line
// below; at an LF it always stands before the line below.
qsizetype TextView::caretLine() const {
    const qsizetype line = layout_.lineOf(cursor_);
    if (caretAtLineEnd_ && line > 0 && lineStart(line) == cursor_ && buffer_.at(cursor_ - 1) != QLatin1Char('\n'))
        return line - 1;
    return line;
}

// Blanks that hang past the edge do not move an aligned line.
double TextView::lineLeft(qsizetype line) const {
    const double room = viewport()->width() - 2 * kMargin;
    double left = kMargin - horizontalScrollBar()->value();
    if (alignment_ & Qt::AlignLeft) return left;
    const double width = layout_.lineWidth(buffer_, line, !layout_.wraps());
    if (alignment_ & Qt::AlignRight) left += std::max(0.0, room - width);
    else if (alignment_ & Qt::AlignHCenter) left += std::max(0.0, (room - width) / 2);
    return left;
}

double TextView::xOf(qsizetype line, qsizetype position) const {
    return lineLeft(line) + layout_.xOf(buffer_, line, position);
}

qsizetype TextView::positionAt(QPoint point) const {
    const qsizetype line = std::clamp<qsizetype>(
        verticalScrollBar()->value() + (point.y() - kMargin) / lineHeight_ - (point.y() < kMargin ? 1 : 0), 0,
        lineCount() - 1);
    return layout_.positionAt(buffer_, line, point.x() - lineLeft(line));
}

int TextView::visibleLines() const { return std::max(1, (viewport()->height() - kMargin) / lineHeight_); }

QRect TextView::characterRect(qsizetype position) const {
    const qsizetype line = layout_.lineOf(position);
    const int y = kMargin + static_cast<int>(line - verticalScrollBar()->value()) * lineHeight_;
    const double x = xOf(line, position);
    const double width = position < lineEnd(line) ? layout_.advance(buffer_, position) : 0;
    return QRectF(x, y, width, lineHeight_).toAlignedRect();
}

QRect TextView::caretRect() const {
    const qsizetype line = caretLine();
    const int y = kMargin + static_cast<int>(line - verticalScrollBar()->value()) * lineHeight_;
    const int x = static_cast<int>(std::floor(xOf(line, cursor_)));
    return QRect(x - 1, y, 3, lineHeight_);
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
    history_.prepare(position, length, kind);
    const qsizetype added = with.size();
    TextBuffer::Replaced replaced = splice(position, length, std::move(with));
    history_.record(position, std::move(replaced.removed), added, kind);
    cursor_ = anchor_ = position + added;
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
        if (const auto* own = qobject_cast<const CopiedText*>(offered)) insert(own->characters());
        else if (offered && offered->hasText()) insert(offered->text());
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
void TextView::removeTo(qsizetype to) {
    const qsizetype at = cursor_;
    anchor_ = at;
    cursor_ = to;
    removeSelectedText();
    if (hasSelection()) cursor_ = anchor_ = at;
}

void TextView::insertText(const QString& typed) {
    guarded(noRoomToEdit(), [&] { insert(typed); });
}

void TextView::insert(const QString& typed) {
    if (readOnly_) return;
    QString text = typed;
    TextBuffer::readLineBreaks(text);
    insert(TextBuffer(std::move(text)));
}

void TextView::insert(TextBuffer text) {
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
    // Characters typed in a row are undone together, up to a line break.
    const bool typed = selected == 0 && text.size() == 1 && text.at(0) != QLatin1Char('\n');
    replace(from, selected, std::move(text), typed ? EditHistory::Kind::Typing : EditHistory::Kind::Other);
}

void TextView::selectAll() {
    anchor_ = 0;
    cursor_ = buffer_.size();
    caretMoved();
}

void TextView::setCursorPosition(qsizetype position, bool keepAnchor) {
    cursor_ = std::clamp<qsizetype>(position, 0, buffer_.size());
    if (cursor_ < buffer_.size() && QChar::isLowSurrogate(buffer_.at(cursor_).unicode()) && cursor_ > 0) --cursor_;
    if (!keepAnchor) anchor_ = cursor_;
    caretMoved();
}

void TextView::caretMoved() {
    ensureCaretVisible();
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

void TextView::ensureCaretVisible() { ensureVisible(caretLine(), cursor_); }

void TextView::scrollToPosition(qsizetype position) {
    position = std::clamp<qsizetype>(position, 0, buffer_.size());
    ensureVisible(layout_.lineOf(position), position);
}

void TextView::ensureVisible(qsizetype line, qsizetype position) {
    QScrollBar* bar = verticalScrollBar();
    const int shown = visibleLines();
    if (line < bar->value()) bar->setValue(static_cast<int>(line));
    else if (line >= bar->value() + shown) bar->setValue(static_cast<int>(line - shown + 1));
    if (!layout_.wraps()) {
        QScrollBar* across = horizontalScrollBar();
        const double x = xOf(line, position) + across->value();
        const int room = viewport()->width() - 2 * kMargin;
        if (x - kMargin < across->value()) across->setValue(static_cast<int>(x) - kMargin);
        else if (x - kMargin > across->value() + room) across->setValue(static_cast<int>(x) - kMargin - room);
    }
}

qsizetype TextView::wordStart(qsizetype from) const {
    while (from > 0 && !buffer_.at(from - 1).isLetterOrNumber()) --from;
    while (from > 0 && buffer_.at(from - 1).isLetterOrNumber()) --from;
    return from;
}

qsizetype TextView::wordEnd(qsizetype from) const {
    const qsizetype size = buffer_.size();
    while (from < size && !buffer_.at(from).isLetterOrNumber()) ++from;
    while (from < size && buffer_.at(from).isLetterOrNumber()) ++from;
    return from;
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
    const QColor ink = palette().color(QPalette::Text);
    const bool showSelection = hasSelection() && (hasFocus() || !hideSelection_);
    const qsizetype selFrom = std::min(cursor_, anchor_);
    const qsizetype selTo = std::max(cursor_, anchor_);
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = std::min(lineCount(), first + visibleLines() + 1);
    const qsizetype caret = caretLine();
    const bool caretShown = hasFocus() && caretShown_;
    const auto advance = [this](qsizetype at) { return layout_.advance(buffer_, at); };

    for (qsizetype line = first; line < last; ++line) {
        const int top = kMargin + static_cast<int>(line - first) * lineHeight_;
        if (top > area.bottom() || top + lineHeight_ <= area.top()) continue;
        const qsizetype start = lineStart(line);
        const qsizetype end = lineEnd(line);
        const double left = lineLeft(line);
        // A line too wide for the view (without wrapping) is drawn from its first character
        // in sight.
        qsizetype from = start;
        double x = left;
        while (from < end && x + advance(from) < area.left()) x += advance(from++);
        qsizetype to = from;
        for (double right = x; to < end && right <= area.right(); ++to) right += advance(to);
        if (to < end && QChar::isLowSurrogate(buffer_.at(to).unicode())) ++to;
        QString shown = buffer_.mid(from, to - from);
        shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
        painter.setPen(ink);
        painter.drawText(QPointF(x, top + ascent_), shown);

        if (showSelection && selFrom <= end && selTo > start) {
            const qsizetype a = std::clamp(selFrom, from, to);
            const qsizetype b = std::clamp(selTo, from, to);
            double ax = x;
            for (qsizetype i = from; i < a; ++i) ax += advance(i);
            double bx = ax;
            for (qsizetype i = a; i < b; ++i) bx += advance(i);
            // A selected line break shows as a blank's width; a wrap is no character and shows nothing.
            if (selTo > end && end < buffer_.size() && to == end && buffer_.at(end) == QLatin1Char('\n'))
                bx += QFontMetricsF(font_).horizontalAdvance(QLatin1Char(' '));
            const QRectF band(ax, top, bx - ax, lineHeight_);
            painter.fillRect(band, palette().color(QPalette::Highlight));
            painter.save();
            painter.setClipRect(band);
            painter.setPen(palette().color(QPalette::HighlightedText));
            painter.drawText(QPointF(x, top + ascent_), shown);
            painter.restore();
        }
        if (line != caret) continue;
        double cx = xOf(line, cursor_);
        if (!preedit_.isEmpty()) {
            // What an input method composes goes in at the caret and pushes the rest of the line
            // on. Where it would run past the edge, as at a wrap, it is drawn back from the edge
            // over the end of the line, so that it stays in sight whole.
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
            QString after = buffer_.mid(rest, std::max<qsizetype>(0, to - rest));
            after.replace(QLatin1Char('\t'), QLatin1Char(' '));
            painter.drawText(QPointF((rest == cursor_ ? at : x) + width, top + ascent_), after);
            cx = at + width;
        }
        if (caretShown) painter.fillRect(QRectF(std::floor(cx), top, 1, lineHeight_), ink);
    }
    if (!note_.isEmpty()) paintNote(painter);
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
        setCursorPosition(positionAt(at), true);
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

bool TextView::move(TextKeys::Reading reading) {
    using Command = TextKeys::Command;
    const qsizetype line = caretLine();
    const double x = wantedX_ >= 0 ? wantedX_ : xOf(line, cursor_);
    auto toLine = [&](qsizetype target) {
        target = std::clamp<qsizetype>(target, 0, lineCount() - 1);
        const int y = kMargin + static_cast<int>(target - verticalScrollBar()->value()) * lineHeight_;
        return positionAt(QPoint(static_cast<int>(x), y));
    };
    qsizetype to = cursor_;
    bool atLineEnd = false;
    bool keepColumn = false;
    const bool select = reading.select;
    switch (reading.command) {
    case Command::Left:
        if (!select && hasSelection()) to = std::min(cursor_, anchor_);
        else if (to > 0) to -= (to > 1 && QChar::isLowSurrogate(buffer_.at(to - 1).unicode())) ? 2 : 1;
        break;
    case Command::Right:
        if (!select && hasSelection()) to = std::max(cursor_, anchor_);
        else if (to < buffer_.size())
            to += (to + 1 < buffer_.size() && QChar::isHighSurrogate(buffer_.at(to).unicode())) ? 2 : 1;
        break;
    case Command::Up:
        to = line == 0 ? 0 : toLine(line - 1);
        keepColumn = true;
        break;
    case Command::Down:
        to = line + 1 >= lineCount() ? buffer_.size() : toLine(line + 1);
        keepColumn = true;
        break;
    case Command::LineStart: to = lineStart(line); break;
    case Command::LineEnd:
        to = lineEnd(line);
        atLineEnd = true;
        break;
    case Command::TextStart: to = 0; break;
    case Command::TextEnd: to = buffer_.size(); break;
    case Command::PageUp:
    case Command::PageDown: {
        const int page = visibleLines();
        const int step = reading.command == Command::PageUp ? -page : page;
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + step);
        to = toLine(line + step);
        keepColumn = true;
        break;
    }
    case Command::WordLeft: to = wordStart(cursor_); break;
    case Command::WordRight: to = wordEnd(cursor_); break;
    default: return false;
    }
    wantedX_ = keepColumn ? x : -1;
    caretAtLineEnd_ = atLineEnd;
    setCursorPosition(to, select);
    return true;
}

bool TextView::edit(TextKeys::Reading reading, const QKeyEvent& key) {
    using Command = TextKeys::Command;
    const Command command = reading.command;
    if (command == Command::Copy) copy();
    else if (command == Command::SelectAll) selectAll();
    else if (readOnly_) return false;
    else if (command == Command::Cut) cut();
    else if (command == Command::Paste) paste();
    else if (command == Command::Undo) undo();
    else if (command == Command::Redo) redo();
    else if (hasSelection() && (command == Command::EraseWordBack || command == Command::EraseWordForward ||
                                command == Command::EraseBack || command == Command::EraseForward))
        removeSelectedText();
    else if (command == Command::EraseWordBack) removeTo(wordStart(cursor_));
    else if (command == Command::EraseWordForward) removeTo(wordEnd(cursor_));
    else if (command == Command::EraseBack || command == Command::EraseForward) {
        const bool back = command == Command::EraseBack;
        const qsizetype at = cursor_;
        if (back ? at == 0 : at == buffer_.size()) return true;
        caretAtLineEnd_ = false;
        // A surrogate pair goes as one character.
        qsizetype to = back ? at - 1 : at + 1;
        if (to > 0 && to < buffer_.size() && QChar::isLowSurrogate(buffer_.at(to).unicode())) to += back ? -1 : 1;
        removeTo(to);
    } else if (command == Command::NewLine) {
        insertText(QStringLiteral("\n"));
    } else if (command == Command::Tab && !tabChangesFocus_) {
        insertText(QStringLiteral("\t"));
    } else if (command == Command::Type) {
        insertText(key.text());
    } else {
        return false;
    }
    return true;
}

void TextView::keyPressEvent(QKeyEvent* key) {
    clearNote();
    const TextKeys::Reading reading = TextKeys::read(*key);
    if (!TextKeys::isVertical(reading.command)) wantedX_ = -1;
    if (readOnly_ && key->key() == Qt::Key_Space) {
        // Read-only text pages on the space bar, as a browser does.
        verticalScrollBar()->triggerAction(key->modifiers() & Qt::ShiftModifier ? QAbstractSlider::SliderPageStepSub
                                                                                : QAbstractSlider::SliderPageStepAdd);
    } else if (!move(reading) && !edit(reading, *key)) {
        key->ignore();
        return;
    }
    key->accept();
}

void TextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    clearNote();
    caretAtLineEnd_ = false;
    wantedX_ = -1;
    setCursorPosition(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    selecting_ = true;
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    const bool outside = at.y() < 0 || at.y() > viewport()->height();
    if (outside && !scrollTimer_) scrollTimer_ = startTimer(50);
    else if (!outside && scrollTimer_) killTimer(std::exchange(scrollTimer_, 0));
    setCursorPosition(positionAt(at), true);
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) selecting_ = false;
    if (scrollTimer_) killTimer(std::exchange(scrollTimer_, 0));
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const qsizetype at = positionAt(event->position().toPoint());
    qsizetype from = at, to = at;
    while (from > 0 && buffer_.at(from - 1).isLetterOrNumber()) --from;
    while (to < buffer_.size() && buffer_.at(to).isLetterOrNumber()) ++to;
    anchor_ = from;
    setCursorPosition(to, true);
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
    guarded(noRoomToEdit(), [&] { insert(event->mimeData()->text()); });
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
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) insertText(event->commitString());
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
