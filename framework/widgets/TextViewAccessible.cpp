#include "TextViewAccessible.hpp"

#include <QAccessible>

#include <algorithm>
#include <climits>

namespace fw {

namespace {

// The longest piece read out whole.
constexpr qsizetype kLongestPiece = 4096;

int toInt(qsizetype n) { return static_cast<int>(std::min<qsizetype>(n, INT_MAX)); }

QAccessibleInterface* accessibleTextView(const QString& className, QObject* object) {
    if (className != QLatin1String(TextView::staticMetaObject.className())) return nullptr;
    auto* view = qobject_cast<TextView*>(object);
    return view ? new TextViewAccessible(view) : nullptr;
}

}  // namespace

TextViewAccessible::TextViewAccessible(TextView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

void TextViewAccessible::install() {
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(accessibleTextView), true);
}

void* TextViewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface && !view()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextViewAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    state.readOnly = view()->isReadOnly();
    state.editable = !state.readOnly;
    return state;
}

// The note over the text, while there is one, is what a sighted user reads there.
QString TextViewAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Description && !view()->note().isEmpty()) return view()->note();
    return QAccessibleWidget::text(kind);
}

int TextViewAccessible::characterCount() const { return toInt(view()->buffer().size()); }

QString TextViewAccessible::text(int start, int end) const {
    const qsizetype size = view()->buffer().size();
    const qsizetype from = std::clamp<qsizetype>(start, 0, size);
    const qsizetype to = end < 0 ? size : std::clamp<qsizetype>(end, from, size);
    return view()->buffer().mid(from, to - from);
}

QString TextViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const {
    *start = *end = -1;
    const qsizetype size = view()->buffer().size();
    const qsizetype at = offset < 0 ? size : offset;
    if (at > size) return QString();
    return piece(pieceAt(at, type), start, end);
}

QString TextViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                             int* end) const {
    *start = *end = -1;
    const qsizetype size = view()->buffer().size();
    const qsizetype at = offset < 0 ? size : offset;
    if (at <= 0 || at > size) return QString();
    const qsizetype from = pieceAt(at, type).first;
    if (from == 0) return QString();
    return piece(pieceAt(from - 1, type), start, end);
}

QString TextViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                            int* end) const {
    *start = *end = -1;
    const qsizetype size = view()->buffer().size();
    const qsizetype at = offset < 0 ? size : offset;
    if (at >= size) return QString();
    const qsizetype to = pieceAt(at, type).second;
    if (to >= size) return QString();
    return piece(pieceAt(to, type), start, end);
}

int TextViewAccessible::cursorPosition() const { return toInt(view()->cursorPosition()); }
void TextViewAccessible::setCursorPosition(int position) { view()->setCursorPosition(position); }

int TextViewAccessible::selectionCount() const { return view()->hasSelection() ? 1 : 0; }

void TextViewAccessible::selection(int index, int* start, int* end) const {
    *start = *end = 0;
    if (index != 0 || !view()->hasSelection()) return;
    *start = toInt(std::min(view()->cursorPosition(), view()->anchorPosition()));
    *end = toInt(std::max(view()->cursorPosition(), view()->anchorPosition()));
}

// The view holds one selection: adding one replaces it.
void TextViewAccessible::addSelection(int start, int end) { setSelection(0, start, end); }

void TextViewAccessible::removeSelection(int index) {
    if (index == 0) view()->setCursorPosition(view()->cursorPosition());
}

void TextViewAccessible::setSelection(int index, int start, int end) {
    if (index != 0) return;
    view()->setCursorPosition(start);
    view()->setCursorPosition(end, true);
}

QRect TextViewAccessible::characterRect(int offset) const {
    const qsizetype at = std::clamp<qsizetype>(offset, 0, view()->buffer().size());
    const QRect shown = view()->characterRect(at);
    return QRect(view()->viewport()->mapToGlobal(shown.topLeft()), shown.size());
}

int TextViewAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint at = view()->viewport()->mapFromGlobal(point);
    if (!view()->viewport()->rect().contains(at)) return -1;
    return toInt(view()->positionAt(at));
}

void TextViewAccessible::scrollToSubstring(int start, int) { view()->scrollToPosition(start); }

// The text is plain: one run without attributes.
QString TextViewAccessible::attributes(int, int* start, int* end) const {
    *start = 0;
    *end = characterCount();
    return QString();
}

void TextViewAccessible::deleteText(int start, int end) { replaceText(start, end, QString()); }
void TextViewAccessible::insertText(int offset, const QString& text) { replaceText(offset, offset, text); }

void TextViewAccessible::replaceText(int start, int end, const QString& text) {
    if (view()->isReadOnly()) return;
    setSelection(0, start, end);
    if (text.isEmpty()) view()->removeSelectedText();
    else view()->insertText(text);
}

QString TextViewAccessible::piece(std::pair<qsizetype, qsizetype> range, int* start, int* end) const {
    *start = toInt(range.first);
    *end = toInt(range.second);
    return view()->buffer().mid(range.first, range.second - range.first);
}

// The piece of the kind asked for that holds the character at `at`, as [first, second).
std::pair<qsizetype, qsizetype> TextViewAccessible::pieceAt(qsizetype at, QAccessible::TextBoundaryType type) const {
    const TextBuffer& text = view()->buffer();
    const LineLayout& lines = view()->layout();
    const qsizetype size = text.size();
    const qsizetype line = lines.lineOf(at);
    const qsizetype lineFrom = lines.lineStart(line);
    const qsizetype lineTo = line + 1 < lines.lineCount() ? lines.lineStart(line + 1) : size;
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

}  // namespace fw
