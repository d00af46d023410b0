#include "LineLayout.hpp"

#include <QChar>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace fw {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

LineLayout::LineLayout(std::shared_ptr<CharacterAdvances> advances) : advances_(std::move(advances)) {}

qsizetype LineLayout::nextLineStart(const TextBuffer& text, qsizetype from, double* width) const {
    const qsizetype size = text.size();
    const double limit = wrapping_ ? width_ : HUGE_VAL;
    const CharacterAdvances& advances = *advances_;
    double x = 0;
    qsizetype afterBlank = -1;
    for (qsizetype i = from; i < size;) {
        const QStringView stretch = text.stretch(i);
        const char16_t* chars = stretch.utf16() - i;
        const qsizetype end = i + stretch.size();
        for (; i < end; ++i) {
            const char16_t c = chars[i];
            if (c == u'\n') {
                if (width) *width = x;
                return i + 1;
            }
            // The hot loop of every layout: one look-up a character once its advance is known.
            const float known = advances.known(c);
            x += known >= 0 ? known : advances.measure(c, i + 1 < size ? text.at(i + 1).unicode() : 0);
            if (isBlank(c)) {
                afterBlank = i + 1;
            } else if (x > limit && i > from && !QChar::isLowSurrogate(c)) {
                return afterBlank > from ? afterBlank : i;
            }
        }
    }
    if (width) *width = x;
    return -1;
}

void LineLayout::layOut(const TextBuffer& text, bool wrapping, double width) {
    const bool wrappedBefore = std::exchange(wrapping_, wrapping);
    const double widthBefore = std::exchange(width_, width);
    try {
        std::vector<qsizetype> starts;
        double widest = 0;
        double lineWidth = 0;
        for (qsizetype at = nextLineStart(text, 0, &lineWidth); at >= 0; at = nextLineStart(text, at, &lineWidth)) {
            starts.push_back(at);
            widest = std::max(widest, lineWidth);
        }
        table_ = LineTable(std::move(starts));
        widest_ = std::max(widest, lineWidth);
    } catch (...) {
        wrapping_ = wrappedBefore;
        width_ = widthBefore;
        throw;
    }
}

// The new lines are found before the table changes, and the table changes whole or not at all.
void LineLayout::update(const TextBuffer& text, qsizetype position, qsizetype removed, qsizetype added) {
    const qsizetype shift = added - removed;
    const qsizetype first = std::max<qsizetype>(0, lineOf(position) - 1);
    const qsizetype oldEnd = lineCount();
    qsizetype next = lineOf(position + removed) + 1;
    std::vector<qsizetype> fresh;
    double width = 0;
    double widest = widest_;
    qsizetype resumed = oldEnd;
    for (qsizetype at = nextLineStart(text, lineStart(first), &width); at >= 0; at = nextLineStart(text, at, &width)) {
        widest = std::max(widest, width);
        if (at > position + added) {
            while (next < oldEnd && lineStart(next) + shift < at) ++next;
            if (next < oldEnd && lineStart(next) + shift == at) {
                resumed = next;
                break;
            }
        }
        fresh.push_back(at);
    }
    if (resumed == oldEnd) widest = std::max(widest, width);
    table_.replace(first, resumed, fresh, shift);
    widest_ = widest;
}

qsizetype LineLayout::lineEnd(const TextBuffer& text, qsizetype line) const {
    if (line + 1 >= lineCount()) return text.size();
    const qsizetype next = lineStart(line + 1);
    return text.at(next - 1) == QLatin1Char('\n') ? next - 1 : next;
}

double LineLayout::xOf(const TextBuffer& text, qsizetype line, qsizetype position) const {
    double x = 0;
    for (qsizetype i = lineStart(line); i < position; ++i) x += advance(text, i);
    return x;
}

qsizetype LineLayout::positionAt(const TextBuffer& text, qsizetype line, double x) const {
    const qsizetype end = lineEnd(text, line);
    double left = 0;
    for (qsizetype i = lineStart(line); i < end; ++i) {
        const double step = advance(text, i);
        if (step > 0 && x < left + step / 2) return i;
        left += step;
    }
    return end;
}

double LineLayout::lineWidth(const TextBuffer& text, qsizetype line, bool hangingBlanks) const {
    const qsizetype start = lineStart(line);
    qsizetype end = lineEnd(text, line);
    if (!hangingBlanks)
        while (end > start && isBlank(text.at(end - 1).unicode())) --end;
    double width = 0;
    for (qsizetype i = start; i < end; ++i) width += advance(text, i);
    return width;
}

}  // namespace fw
