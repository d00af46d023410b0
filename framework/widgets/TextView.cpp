#include "TextView.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
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

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

void toLineFeeds(QString& text) {
    if (!text.contains(QLatin1Char('\r'))) return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

QAccessibleInterface* accessibleTextView(const QString& className, QObject* object);

TextView::TextView(QWidget* parent) : QAbstractScrollArea(parent) {
    [[maybe_unused]] static const bool accessible = (QAccessible::installFactory(accessibleTextView), true);
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
    toLineFeeds(text);
    std::swap(text_, text);
    try {
        layOutAll();
    } catch (...) {
        std::swap(text_, text);
        throw;
    }
    undo_.clear();
    redo_.clear();
    cursor_ = anchor_ = 0;
    caretAtLineEnd_ = false;
    wantedX_ = -1;
    preedit_.clear();
    clearNote();
    textChanged(0, text, text_);
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
    advances_.assign(0x10000, -1.0f);
}

// Surrogates are never cached: their entries stay unmeasured, so that the one test of the cache
// also sends them here.
float TextView::measureAdvance(qsizetype at) const {
    const char16_t c = text_.at(at).unicode();
    if (QChar::isLowSurrogate(c)) return 0;  // the pair is measured at its first half
    const QFontMetricsF metrics(font_);
    if (QChar::isHighSurrogate(c))
        return at + 1 < text_.size() ? static_cast<float>(metrics.horizontalAdvance(text_.mid(at, 2))) : 0;
    // A tab is shown as a blank.
    const float measured = c == u'\n' ? 0 : static_cast<float>(metrics.horizontalAdvance(QChar(c == u'\t' ? u' ' : c)));
    advances_[c] = measured;
    return measured;
}

double TextView::wrapWidth() const { return std::max(1, viewport()->width() - 2 * kMargin); }

// Blanks hang past the edge, so a line breaks after the last blank that starts inside it. A
// surrogate pair is one character and never broken, even where it alone is wider than the view.
qsizetype TextView::nextLineStart(qsizetype from, double* width) const {
    const qsizetype size = text_.size();
    const QChar* chars = text_.constData();
    const double limit = wrapping_ ? laidOutWidth_ : HUGE_VAL;
    double x = 0;
    qsizetype afterBlank = -1;
    for (qsizetype i = from; i < size; ++i) {
        const char16_t c = chars[i].unicode();
        if (c == u'\n') {
            if (width) *width = x;
            return i + 1;
        }
        // The hot loop of every layout: one look-up a character once its advance is known.
        const float known = advances_[c];
        x += known >= 0 ? known : measureAdvance(i);
        if (isBlank(c)) {
            afterBlank = i + 1;
        } else if (x > limit && i > from && !QChar::isLowSurrogate(c)) {
            return afterBlank > from ? afterBlank : i;
        }
    }
    if (width) *width = x;
    return -1;
}

// Either all lines are laid out at the view's width, or they stay as they were.
void TextView::layOutAll() {
    const double before = std::exchange(laidOutWidth_, wrapWidth());
    std::vector<qsizetype> starts{0};
    double widest = 0;
    double width = 0;
    try {
        for (qsizetype at = nextLineStart(0, &width); at >= 0; at = nextLineStart(at, &width)) {
            starts.push_back(at);
            widest = std::max(widest, width);
        }
    } catch (...) {
        laidOutWidth_ = before;
        throw;
    }
    widest_ = std::max(widest, width);
    starts_ = std::move(starts);
    updateScrollBars();
}

// Lines before the edit keep their starts; from the line before the edited one (whose end may
// now fit more or less), lines are laid out anew until one starts where an old one started,
// shifted by the change: from there on the text, and so its lines, are as before. The new lines
// are found and their room made before the table changes, so that it changes whole or not at all.
void TextView::layOutAfterEdit(qsizetype pos, qsizetype removed, qsizetype added) {
    const qsizetype shift = added - removed;
    const qsizetype first = std::max<qsizetype>(0, lineOf(pos) - 1);
    const auto oldEnd = static_cast<qsizetype>(starts_.size());
    auto next =
        static_cast<qsizetype>(std::upper_bound(starts_.begin(), starts_.end(), pos + removed) - starts_.begin());
    std::vector<qsizetype> fresh;
    double width = 0;
    double widest = widest_;
    qsizetype resumed = oldEnd;
    for (qsizetype at = nextLineStart(lineStart(first), &width); at >= 0; at = nextLineStart(at, &width)) {
        widest = std::max(widest, width);
        if (at > pos + added) {
            while (next < oldEnd && lineStart(next) + shift < at) ++next;
            if (next < oldEnd && lineStart(next) + shift == at) {
                resumed = next;
                break;
            }
        }
        fresh.push_back(at);
    }
    if (resumed == oldEnd) widest = std::max(widest, width);
    const auto needed = static_cast<std::size_t>(oldEnd - (resumed - first - 1)) + fresh.size();
    if (needed > starts_.capacity()) starts_.reserve(std::max(needed, 2 * starts_.capacity()));
    widest_ = widest;
    starts_.erase(starts_.begin() + first + 1, starts_.begin() + resumed);
    starts_.insert(starts_.begin() + first + 1, fresh.begin(), fresh.end());
    for (auto it = starts_.begin() + first + 1 + static_cast<qsizetype>(fresh.size()); it != starts_.end(); ++it)
        *it += shift;
    updateScrollBars();
}

void TextView::updateScrollBars() {
    const int shown = visibleLines();
    const qsizetype hidden = std::max<qsizetype>(0, lineCount() - shown);
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<qsizetype>(hidden, INT_MAX)));
    verticalScrollBar()->setPageStep(std::max(1, shown));
    const double room = viewport()->width() - 2 * kMargin;
    horizontalScrollBar()->setRange(
        0, wrapping_ ? 0 : static_cast<int>(std::min<double>(std::max(0.0, widest_ + 1 - room), INT_MAX)));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    horizontalScrollBar()->setSingleStep(std::max(1, lineHeight_));
}

qsizetype TextView::lineOf(qsizetype position) const {
    return static_cast<qsizetype>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

// At a wrap the caret may stand after the line above (End took it there) or before the line
// below; at an LF it always stands before the line below.
qsizetype TextView::caretLine() const {
    const qsizetype line = lineOf(cursor_);
    if (caretAtLineEnd_ && line > 0 && lineStart(line) == cursor_ && text_.at(cursor_ - 1) != QLatin1Char('\n'))
        return line - 1;
    return line;
}

qsizetype TextView::lineEnd(qsizetype line) const {
    if (line + 1 >= lineCount()) return text_.size();
    const qsizetype next = lineStart(line + 1);
    return text_.at(next - 1) == QLatin1Char('\n') ? next - 1 : next;
}

double TextView::lineWidth(qsizetype line) const {
    double width = 0;
    qsizetype end = lineEnd(line);
    // Blanks that hang past the edge do not move an aligned line.
    if (wrapping_ && !(alignment_ & Qt::AlignLeft))
        while (end > lineStart(line) && isBlank(text_.at(end - 1).unicode())) --end;
    for (qsizetype i = lineStart(line); i < end; ++i) width += advance(i);
    return width;
}

double TextView::lineLeft(qsizetype line) const {
    const double room = viewport()->width() - 2 * kMargin;
    double left = kMargin - horizontalScrollBar()->value();
    if (alignment_ & Qt::AlignRight) left += std::max(0.0, room - lineWidth(line));
    else if (alignment_ & Qt::AlignHCenter) left += std::max(0.0, (room - lineWidth(line)) / 2);
    return left;
}

double TextView::xOf(qsizetype line, qsizetype position) const {
    double x = lineLeft(line);
    for (qsizetype i = lineStart(line); i < position; ++i) x += advance(i);
    return x;
}

qsizetype TextView::positionAt(QPoint point) const {
    const qsizetype line = std::clamp<qsizetype>(
        verticalScrollBar()->value() + (point.y() - kMargin) / lineHeight_ - (point.y() < kMargin ? 1 : 0), 0,
        lineCount() - 1);
    const qsizetype end = lineEnd(line);
    double x = lineLeft(line);
    for (qsizetype i = lineStart(line); i < end; ++i) {
        const double step = advance(i);
        if (step > 0 && point.x() < x + step / 2) return i;
        x += step;
    }
    return end;
}

int TextView::visibleLines() const { return std::max(1, (viewport()->height() - kMargin) / lineHeight_); }

QRect TextView::characterRect(qsizetype position) const {
    const qsizetype line = lineOf(position);
    const int y = kMargin + static_cast<int>(line - verticalScrollBar()->value()) * lineHeight_;
    const double x = xOf(line, position);
    const double width = position < lineEnd(line) ? advance(position) : 0;
    return QRectF(x, y, width, lineHeight_).toAlignedRect();
}

QRect TextView::caretRect() const {
    const qsizetype line = caretLine();
    const int y = kMargin + static_cast<int>(line - verticalScrollBar()->value()) * lineHeight_;
    const int x = static_cast<int>(std::floor(xOf(line, cursor_)));
    return QRect(x - 1, y, 3, lineHeight_);
}

namespace {

QString noRoomToEdit() {
    return QStringLiteral("This change could not be made: there is not enough memory for it. The text is as it was.");
}

QString noRoomToCopy() {
    return QStringLiteral("The selection could not be copied: there is not enough memory for it.");
}

QString noRoomToLayOut() {
    return QStringLiteral("The text could not be laid out anew: there is not enough memory for it.");
}

// Grows a history ahead of the change it will record, so that recording it cannot fail once the
// text has changed.
void makeRoom(auto& changes) {
    if (changes.size() == changes.capacity()) changes.reserve(2 * changes.size() + 8);
}

}  // namespace

// The text and its lines change together or not at all. What the change needs is allocated
// before the text changes; when laying the lines out fails after all, the text is put back, which
// shrinks it or grows it within the room the change left, so needs no memory. Returns the
// characters taken out.
QString TextView::splice(qsizetype pos, qsizetype length, QString with) {
    const qsizetype added = with.size();
    const QString inserted = with;
    // Replacing the whole text keeps the old one rather than copying it out, so that clearing a
    // text memory can barely hold needs no more.
    const bool whole = pos == 0 && length == text_.size();
    QString removed;
    if (whole) {
        removed = std::exchange(text_, std::move(with));
    } else {
        removed = text_.mid(pos, length);
        text_.replace(pos, length, with);
    }
    try {
        layOutAfterEdit(pos, length, added);
    } catch (...) {
        if (whole) text_ = std::move(removed);
        else text_.replace(pos, added, removed);
        throw;
    }
    clearNote();
    textChanged(pos, removed, inserted);
    return removed;
}

void TextView::replace(qsizetype pos, qsizetype length, const QString& with, bool typed) {
    const bool continues =
        typed && length == 0 && !undo_.empty() && undo_.back().typed && undo_.back().pos + undo_.back().added == pos;
    if (!continues) makeRoom(undo_);
    QString removed = splice(pos, length, with);
    if (continues) undo_.back().added += with.size();
    else undo_.push_back({pos, std::move(removed), with.size(), typed});
    redo_.clear();
    cursor_ = anchor_ = pos + with.size();
    caretMoved();
}

void TextView::applyChange(std::vector<Change>& from, std::vector<Change>& to) {
    if (readOnly_ || from.empty()) return;
    makeRoom(to);
    const Change& change = from.back();
    const qsizetype pos = change.pos;
    const qsizetype restored = change.removed.size();
    QString taken = splice(pos, change.added, change.removed);
    from.pop_back();
    to.push_back({pos, std::move(taken), restored, false});
    cursor_ = anchor_ = pos + restored;
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
    guarded(noRoomToEdit(), [this] { applyChange(undo_, redo_); });
}

void TextView::redo() {
    guarded(noRoomToEdit(), [this] { applyChange(redo_, undo_); });
}

QString TextView::selectedText() const {
    const qsizetype from = std::min(cursor_, anchor_);
    return text_.mid(from, std::max(cursor_, anchor_) - from);
}

void TextView::copy() {
    if (hasSelection()) guarded(noRoomToCopy(), [this] { QGuiApplication::clipboard()->setText(selectedText()); });
}

// What could not be copied is not taken out.
void TextView::cut() {
    if (readOnly_ || !hasSelection()) return;
    bool copied = false;
    guarded(noRoomToCopy(), [&] {
        QGuiApplication::clipboard()->setText(selectedText());
        copied = true;
    });
    if (copied) removeSelectedText();
}

void TextView::paste() {
    if (readOnly_) return;
    guarded(noRoomToEdit(), [this] {
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        if (offered && offered->hasText()) insert(offered->text());
    });
}

void TextView::removeSelectedText() {
    guarded(noRoomToEdit(), [this] { removeSelection(); });
}

void TextView::removeSelection() {
    if (readOnly_ || !hasSelection()) return;
    const qsizetype from = std::min(cursor_, anchor_);
    replace(from, std::max(cursor_, anchor_) - from, QString(), false);
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
    toLineFeeds(text);
    const qsizetype from = std::min(cursor_, anchor_);
    const qsizetype selected = std::max(cursor_, anchor_) - from;
    if (limit_ > 0) {
        const qsizetype room = limit_ - (text_.size() - selected);
        if (room <= 0) return;
        if (text.size() > room) {
            // Half a surrogate pair is no character.
            qsizetype keep = room;
            if (QChar::isHighSurrogate(text.at(keep - 1).unicode())) --keep;
            text.truncate(keep);
        }
    }
    if (text.isEmpty() && selected == 0) return;
    // Characters typed in a row are undone together, up to a line break.
    replace(from, selected, text, selected == 0 && text.size() == 1 && text != QLatin1String("\n"));
}

void TextView::selectAll() {
    anchor_ = 0;
    cursor_ = text_.size();
    caretMoved();
}

void TextView::setCursorPosition(qsizetype position, bool keepAnchor) {
    cursor_ = std::clamp<qsizetype>(position, 0, text_.size());
    if (cursor_ < text_.size() && QChar::isLowSurrogate(text_.at(cursor_).unicode()) && cursor_ > 0) --cursor_;
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
void TextView::textChanged(qsizetype pos, const QString& removed, const QString& added) {
    if (!QAccessible::isActive() || (removed.isEmpty() && added.isEmpty())) return;
    try {
        const int at = static_cast<int>(pos);
        if (removed.isEmpty()) {
            QAccessibleTextInsertEvent told(this, at, added);
            QAccessible::updateAccessibility(&told);
        } else if (added.isEmpty()) {
            QAccessibleTextRemoveEvent told(this, at, removed);
            QAccessible::updateAccessibility(&told);
        } else {
            QAccessibleTextUpdateEvent told(this, at, removed, added);
            QAccessible::updateAccessibility(&told);
        }
    } catch (const std::bad_alloc&) {}
}

void TextView::ensureCaretVisible() { ensureVisible(caretLine(), cursor_); }

void TextView::ensureVisible(qsizetype line, qsizetype position) {
    QScrollBar* bar = verticalScrollBar();
    const int shown = visibleLines();
    if (line < bar->value()) bar->setValue(static_cast<int>(line));
    else if (line >= bar->value() + shown) bar->setValue(static_cast<int>(line - shown + 1));
    if (!wrapping_) {
        QScrollBar* across = horizontalScrollBar();
        const double x = xOf(line, position) + across->value();
        const int room = viewport()->width() - 2 * kMargin;
        if (x - kMargin < across->value()) across->setValue(static_cast<int>(x) - kMargin);
        else if (x - kMargin > across->value() + room) across->setValue(static_cast<int>(x) - kMargin - room);
    }
}

qsizetype TextView::wordStart(qsizetype from) const {
    while (from > 0 && !text_.at(from - 1).isLetterOrNumber()) --from;
    while (from > 0 && text_.at(from - 1).isLetterOrNumber()) --from;
    return from;
}

qsizetype TextView::wordEnd(qsizetype from) const {
    const qsizetype size = text_.size();
    while (from < size && !text_.at(from).isLetterOrNumber()) ++from;
    while (from < size && text_.at(from).isLetterOrNumber()) ++from;
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
    if (wrapping == wrapping_) return;
    guarded(noRoomToLayOut(), [&] {
        wrapping_ = wrapping;
        try {
            layOutAll();
        } catch (...) {
            wrapping_ = !wrapping;
            throw;
        }
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
    if (wrapping_ && wrapWidth() != laidOutWidth_) {
        guarded(noRoomToLayOut(), [this] {
            const qsizetype top = lineStart(verticalScrollBar()->value());
            layOutAll();
            verticalScrollBar()->setValue(static_cast<int>(lineOf(top)));
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
        if (to < end && QChar::isLowSurrogate(text_.at(to).unicode())) ++to;
        QString shown = text_.mid(from, to - from);
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
            if (selTo > end && end < text_.size() && to == end && text_.at(end) == QLatin1Char('\n'))
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
            QString after = text_.mid(rest, std::max<qsizetype>(0, to - rest));
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

// The view's own keys are taken before the window's shortcuts, as Qt's editors take them.
bool TextView::handlesShortcut(QKeyEvent* key) const {
    static const QKeySequence::StandardKey own[] = {
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
    for (QKeySequence::StandardKey k : own)
        if (key->matches(k)) return true;
    const Qt::KeyboardModifiers command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return !command && !key->text().isEmpty() && key->text().at(0).isPrint();
}

bool TextView::event(QEvent* event) {
    // The filter sees Tab too, before it moves the focus on.
    if (event->type() == QEvent::KeyPress && keyFilter_ && keyFilter_(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && handlesShortcut(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool TextView::moveKey(QKeyEvent* key) {
    struct Move {
        QKeySequence::StandardKey move, select;
        int kind;
    };
    enum { Left, Right, Up, Down, Home, End, Top, Bottom, PageUp, PageDown, WordLeft, WordRight };
    static const Move moves[] = {
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Left},
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Right},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Up},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Down},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Home},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, End},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Top},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Bottom},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, PageUp},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, PageDown},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, WordLeft},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, WordRight},
    };
    const Move* found = nullptr;
    bool select = false;
    for (const Move& m : moves) {
        if (key->matches(m.move)) found = &m;
        else if (key->matches(m.select)) found = &m, select = true;
        if (found) break;
    }
    if (!found) return false;

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
    switch (found->kind) {
    case Left:
        if (!select && hasSelection()) to = std::min(cursor_, anchor_);
        else if (to > 0) to -= (to > 1 && QChar::isLowSurrogate(text_.at(to - 1).unicode())) ? 2 : 1;
        break;
    case Right:
        if (!select && hasSelection()) to = std::max(cursor_, anchor_);
        else if (to < text_.size())
            to += (to + 1 < text_.size() && QChar::isHighSurrogate(text_.at(to).unicode())) ? 2 : 1;
        break;
    case Up:
        to = line == 0 ? 0 : toLine(line - 1);
        keepColumn = true;
        break;
    case Down:
        to = line + 1 >= lineCount() ? text_.size() : toLine(line + 1);
        keepColumn = true;
        break;
    case Home: to = lineStart(line); break;
    case End:
        to = lineEnd(line);
        atLineEnd = true;
        break;
    case Top: to = 0; break;
    case Bottom: to = text_.size(); break;
    case PageUp:
    case PageDown: {
        const int page = visibleLines();
        const int step = found->kind == PageUp ? -page : page;
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + step);
        to = toLine(line + step);
        keepColumn = true;
        break;
    }
    case WordLeft: to = wordStart(cursor_); break;
    case WordRight: to = wordEnd(cursor_); break;
    }
    wantedX_ = keepColumn ? x : -1;
    caretAtLineEnd_ = atLineEnd;
    setCursorPosition(to, select);
    return true;
}

bool TextView::editKey(QKeyEvent* key) {
    if (key->matches(QKeySequence::Copy)) copy();
    else if (key->matches(QKeySequence::SelectAll)) selectAll();
    else if (readOnly_) return false;
    else if (key->matches(QKeySequence::Cut)) cut();
    else if (key->matches(QKeySequence::Paste)) paste();
    else if (key->matches(QKeySequence::Undo)) undo();
    else if (key->matches(QKeySequence::Redo)) redo();
    else if (hasSelection() &&
             (key->matches(QKeySequence::DeleteStartOfWord) || key->matches(QKeySequence::DeleteEndOfWord) ||
              key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete))
        removeSelectedText();
    else if (key->matches(QKeySequence::DeleteStartOfWord)) removeTo(wordStart(cursor_));
    else if (key->matches(QKeySequence::DeleteEndOfWord)) removeTo(wordEnd(cursor_));
    else if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
        const bool back = key->key() == Qt::Key_Backspace;
        const qsizetype at = cursor_;
        if (back ? at == 0 : at == text_.size()) return true;
        caretAtLineEnd_ = false;
        // A surrogate pair goes as one character.
        qsizetype to = back ? at - 1 : at + 1;
        if (to > 0 && to < text_.size() && QChar::isLowSurrogate(text_.at(to).unicode())) to += back ? -1 : 1;
        removeTo(to);
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        insertText(QStringLiteral("\n"));
    } else if (key->key() == Qt::Key_Tab && !tabChangesFocus_ && !(key->modifiers() & ~Qt::KeypadModifier)) {
        insertText(QStringLiteral("\t"));
    } else if (!key->text().isEmpty() && key->text().at(0).isPrint() &&
               !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        insertText(key->text());
    } else {
        return false;
    }
    return true;
}

void TextView::keyPressEvent(QKeyEvent* key) {
    clearNote();
    const bool vertical =
        key->matches(QKeySequence::MoveToPreviousLine) || key->matches(QKeySequence::MoveToNextLine) ||
        key->matches(QKeySequence::SelectPreviousLine) || key->matches(QKeySequence::SelectNextLine) ||
        key->matches(QKeySequence::MoveToPreviousPage) || key->matches(QKeySequence::MoveToNextPage) ||
        key->matches(QKeySequence::SelectPreviousPage) || key->matches(QKeySequence::SelectNextPage);
    if (!vertical) wantedX_ = -1;
    if (readOnly_ && key->key() == Qt::Key_Space) {
        // Read-only text pages on the space bar, as a browser does.
        verticalScrollBar()->triggerAction(key->modifiers() & Qt::ShiftModifier ? QAbstractSlider::SliderPageStepSub
                                                                                : QAbstractSlider::SliderPageStepAdd);
    } else if (!moveKey(key) && !editKey(key)) {
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
    while (from > 0 && text_.at(from - 1).isLetterOrNumber()) --from;
    while (to < text_.size() && text_.at(to).isLetterOrNumber()) ++to;
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
        add(QStringLiteral("&Undo"), QKeySequence::Undo, !undo_.empty(), [this] { undo(); });
        add(QStringLiteral("&Redo"), QKeySequence::Redo, !redo_.empty(), [this] { redo(); });
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
    add(QStringLiteral("Select All"), QKeySequence::SelectAll, !text_.isEmpty(), [this] { selectAll(); });
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
        const qsizetype from = std::clamp<qsizetype>(cursor_ + event->replacementStart(), 0, text_.size());
        anchor_ = from;
        cursor_ = std::min(text_.size(), from + event->replacementLength());
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
    case Qt::ImSurroundingText: return text_.mid(from, std::min(text_.size(), cursor_ + kSurroundingText) - from);
    case Qt::ImCursorPosition: return static_cast<int>(cursor_ - from);
    case Qt::ImAnchorPosition: return static_cast<int>(std::clamp(anchor_, from, cursor_ + kSurroundingText) - from);
    case Qt::ImCurrentSelection: {
        const qsizetype a = std::min(cursor_, anchor_);
        return text_.mid(a, std::min<qsizetype>(std::max(cursor_, anchor_) - a, kSurroundingText));
    }
    case Qt::ImMaximumTextLength: return limit_ > 0 ? QVariant(static_cast<int>(limit_)) : QVariant();
    default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

namespace {

// Screen readers step through a text by characters, words, lines and paragraphs. A word or
// paragraph may be a number of millions of digits: the longest piece read out whole is this,
// and a longer one is read by the lines it is shown on.
constexpr qsizetype kLongestPiece = 4096;

int toInt(qsizetype n) { return static_cast<int>(std::min<qsizetype>(n, INT_MAX)); }

}  // namespace

// What screen readers learn of the view: its text, read a piece at a time and never copied whole,
// its caret and selection, and, while it is editable, edits that go the view's own undoable way.
class TextViewAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit TextViewAccessible(TextView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !view()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.multiLine = true;
        state.selectableText = true;
        state.readOnly = view()->isReadOnly();
        state.editable = !state.readOnly;
        return state;
    }

    // The note over the text, while there is one, is what a sighted user reads there.
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description && !view()->note().isEmpty()) return view()->note();
        return QAccessibleWidget::text(kind);
    }

    int characterCount() const override { return toInt(view()->text().size()); }

    QString text(int start, int end) const override {
        const qsizetype size = view()->text().size();
        const qsizetype from = std::clamp<qsizetype>(start, 0, size);
        const qsizetype to = end < 0 ? size : std::clamp<qsizetype>(end, from, size);
        return view()->text().mid(from, to - from);
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        *start = *end = -1;
        const qsizetype size = view()->text().size();
        const qsizetype at = offset < 0 ? size : offset;
        if (at > size) return QString();
        return piece(pieceAt(at, type), start, end);
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        *start = *end = -1;
        const qsizetype size = view()->text().size();
        const qsizetype at = offset < 0 ? size : offset;
        if (at <= 0 || at > size) return QString();
        const qsizetype from = pieceAt(at, type).first;
        if (from == 0) return QString();
        return piece(pieceAt(from - 1, type), start, end);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        *start = *end = -1;
        const qsizetype size = view()->text().size();
        const qsizetype at = offset < 0 ? size : offset;
        if (at >= size) return QString();
        const qsizetype to = pieceAt(at, type).second;
        if (to >= size) return QString();
        return piece(pieceAt(to, type), start, end);
    }

    int cursorPosition() const override { return toInt(view()->cursorPosition()); }
    void setCursorPosition(int position) override { view()->setCursorPosition(position); }

    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !view()->hasSelection()) return;
        *start = toInt(std::min(view()->cursor_, view()->anchor_));
        *end = toInt(std::max(view()->cursor_, view()->anchor_));
    }
    // The view holds one selection: adding one replaces it.
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) view()->setCursorPosition(view()->cursorPosition());
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0) return;
        view()->setCursorPosition(start);
        view()->setCursorPosition(end, true);
    }

    QRect characterRect(int offset) const override {
        const qsizetype at = std::clamp<qsizetype>(offset, 0, view()->text().size());
        const QRect shown = view()->characterRect(at);
        return QRect(view()->viewport()->mapToGlobal(shown.topLeft()), shown.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint at = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(at)) return -1;
        return toInt(view()->positionAt(at));
    }
    void scrollToSubstring(int start, int) override {
        const qsizetype at = std::clamp<qsizetype>(start, 0, view()->text().size());
        view()->ensureVisible(view()->lineOf(at), at);
    }
    // The text is plain: one run without attributes.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }

    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (view()->isReadOnly()) return;
        setSelection(0, start, end);
        if (text.isEmpty()) view()->removeSelectedText();
        else view()->insertText(text);
    }

private:
    TextView* view() const { return static_cast<TextView*>(widget()); }

    QString piece(std::pair<qsizetype, qsizetype> range, int* start, int* end) const {
        *start = toInt(range.first);
        *end = toInt(range.second);
        return view()->text().mid(range.first, range.second - range.first);
    }

    // The piece of the kind asked for that holds the character at `at`, as [first, second).
    std::pair<qsizetype, qsizetype> pieceAt(qsizetype at, QAccessible::TextBoundaryType type) const {
        const QString& text = view()->text();
        const qsizetype size = text.size();
        const qsizetype line = view()->lineOf(at);
        const qsizetype lineFrom = view()->lineStart(line);
        const qsizetype lineTo = line + 1 < view()->lineCount() ? view()->lineStart(line + 1) : size;
        switch (type) {
        case QAccessible::CharBoundary: {
            const qsizetype length = at + 1 < size && text.at(at).isHighSurrogate() ? 2 : 1;
            return {at, std::min(size, at + length)};
        }
        case QAccessible::WordBoundary: {
            // A run of letters and digits, or of what lies between them, as far as it is short
            // enough to read out or else as far as its line.
            const auto inWord = [&](qsizetype i) { return text.at(i).isLetterOrNumber(); };
            if (at >= size) return {size, size};
            const bool word = inWord(at);
            qsizetype from = at, to = at + 1;
            while (from > 0 && inWord(from - 1) == word && at - from < kLongestPiece) --from;
            while (to < size && inWord(to) == word && to - from < kLongestPiece) ++to;
            if (to - from >= kLongestPiece) return {lineFrom, lineTo};
            return {from, to};
        }
        case QAccessible::SentenceBoundary:
        case QAccessible::ParagraphBoundary: {
            // From line break to line break, when that is short enough to read out.
            qsizetype from = at;
            while (from > 0 && text.at(from - 1) != QLatin1Char('\n') && at - from < kLongestPiece) --from;
            qsizetype to = at;
            while (to < size && text.at(to) != QLatin1Char('\n') && to - from < kLongestPiece) ++to;
            if (to - from >= kLongestPiece) return {lineFrom, lineTo};
            return {from, std::min(size, to + 1)};
        }
        case QAccessible::LineBoundary: return {lineFrom, lineTo};
        case QAccessible::NoBoundary: return {0, size};
        }
        return {at, at};
    }
};

QAccessibleInterface* accessibleTextView(const QString& className, QObject* object) {
    if (className != QLatin1String(TextView::staticMetaObject.className())) return nullptr;
    auto* view = qobject_cast<TextView*>(object);
    return view ? new TextViewAccessible(view) : nullptr;
}

}  // namespace fw
