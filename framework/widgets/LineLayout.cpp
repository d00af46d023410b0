#include "LineLayout.hpp"

#include <QChar>
#include <QTextBoundaryFinder>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <array>
#include <cmath>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace fw {

namespace {

#ifdef __GLIBC__
// The threads that lay a long text out allocate from the process's one heap: glibc would give each
// a heap of its own, reserving 64 MiB of address space for each, which a process under an address
// space limit then lacks for its text and its numbers, and which the memory figures count as used.
[[maybe_unused]] const int kOneHeap = mallopt(M_ARENA_MAX, 1);
#endif

// Below this many characters a piece is not worth a thread of its own.
constexpr qsizetype kShortestPiece = qsizetype{1} << 20;
constexpr unsigned kMostPieces = 8;

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Characters beside which Unicode's line breaking, which Qt's editors follow, finds places to
// break that blanks alone do not give: after a hyphen or a slash between words, after marks
// that close, and between most characters beyond the Latin letters, such as ideographs.
bool breaksApart(char16_t c) {
    if (c < 0x80)
        return c == u'-' || c == u'/' || c == u'!' || c == u'?' || c == u'|' || c == u')' || c == u']' || c == u'}';
    return !(c >= 0xC0 && c <= 0x24F && QChar::isLetter(c));
}

// The characters before a line that the rules of line breaking read.
constexpr qsizetype kBreakContext = 16;

// The last place in (from, overflow] where Unicode's line breaking lets a line break, or -1.
qsizetype lastBreakOpportunity(const TextBuffer& text, qsizetype from, qsizetype overflow) {
    qsizetype start = from;
    while (start > 0 && from - start < kBreakContext && text.at(start - 1) != QLatin1Char('\n')) --start;
    const qsizetype end = std::min(text.size(), overflow + 2);
    const QString stretch = text.mid(start, end - start);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, stretch);
    finder.setPosition(overflow - start);
    const qsizetype found = finder.isAtBoundary() ? overflow - start : finder.toPreviousBoundary();
    return found >= 0 && start + found > from ? start + found : -1;
}

// The widest range of code units that a scan for characters of one advance compares at once.
constexpr int kWidestRange = 256;

// The first position from `i` on, before `end`, that may hold a code unit outside [low, high];
// every one before it lies inside.
qsizetype inRangeUntil(const char16_t* chars, qsizetype i, qsizetype end, char16_t low, char16_t high) {
#ifdef __SSE2__
    const __m128i lowest = _mm_set1_epi16(static_cast<short>(low));
    const __m128i span = _mm_set1_epi16(static_cast<short>(high - low));
    const __m128i zero = _mm_setzero_si128();
    const auto outside = [&](qsizetype at) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + at));
        return _mm_subs_epu16(_mm_sub_epi16(units, lowest), span);
    };
    for (; i + 32 <= end; i += 32) {
        const __m128i any =
            _mm_or_si128(_mm_or_si128(outside(i), outside(i + 8)), _mm_or_si128(outside(i + 16), outside(i + 24)));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(any, zero)) != 0xFFFF) break;
    }
#endif
    while (i < end && static_cast<char16_t>(chars[i] - low) <= high - low) ++i;
    return i;
}

unsigned piecesFor(qsizetype size) {
    const unsigned cores = std::max(1u, std::min(kMostPieces, std::thread::hardware_concurrency()));
    return static_cast<unsigned>(std::clamp<qsizetype>(size / kShortestPiece, 1, cores));
}

// The first position at or after `from`, and before `limit`, whose character differs from the one
// `period` characters on; `limit` when none does.
qsizetype periodEnd(const TextBuffer& text, qsizetype from, qsizetype period, qsizetype limit) {
    constexpr qsizetype kCompared = 4096;
    for (qsizetype at = from; at < limit;) {
        const QStringView here = text.stretch(at);
        const QStringView there = text.stretch(at + period);
        const qsizetype n = std::min({here.size(), there.size(), limit - at, kCompared});
        if (std::memcmp(here.data(), there.data(), static_cast<std::size_t>(n) * sizeof(QChar)) != 0) {
            for (qsizetype i = 0; i < n; ++i)
                if (here[i] != there[i]) return at + i;
        }
        at += n;
    }
    return limit;
}
}  // namespace

// The lengths of the last lines laid out one by one, to find lines that repeat: a text whose
// characters repeat (a fraction's digits in a base whose letters are not as wide as its digits)
// wraps into lines that repeat as well, and that can be counted as uniform lines are.
class LineLayout::RecentLines {
public:
    void push(qsizetype length) {
        lengths_[static_cast<std::size_t>(count_ % kKept)] = length;
        ++count_;
    }
    void clear() { count_ = 0; }
    // Whether the last lines repeat every `period` lines, where it is time to look.
    bool repeats(int period) const {
        if (count_ < 3 * kLongestPeriod || count_ % kLongestPeriod != 0) return false;
        for (int i = 0; i < 2 * period; ++i)
            if (back(i) != back(i + period)) return false;
        return true;
    }
    // The length of the line `i` lines back from the last.
    qsizetype back(int i) const { return lengths_[static_cast<std::size_t>((count_ - 1 - i) % kKept)]; }

    static constexpr int kLongestPeriod = 16;

private:
    static constexpr int kKept = 4 * kLongestPeriod;
    std::array<qsizetype, kKept> lengths_{};
    qsizetype count_ = 0;
};

LineLayout::LineLayout(std::shared_ptr<CharacterAdvances> advances) { setAdvances(std::move(advances)); }

// A line is uniform when its characters, before the one that would not fit, all have the
// advance of the first, and none is a blank; a line feed, a surrogate (whose second half has no
// advance) or a blank makes it not.
LineLayout::Line LineLayout::nextLine(const TextBuffer& text, qsizetype from) const {
    const qsizetype size = text.size();
    const double limit = wrapping_ ? width_ : HUGE_VAL;
    const CharacterAdvances& advances = *advances_;
    double x = 0;
    qsizetype afterBlank = -1;
    bool apart = false;
    float first = 0;
    if (from < size) {
        const char16_t c = text.at(from).unicode();
        if (c < 0x80) first = std::max(0.0f, plain_[c]);
        else if (!breaksApart(c)) first = advances.of(c, 0);
    }
    bool uniform = first > 0;
    for (qsizetype i = from; i < size;) {
        const QStringView stretch = text.stretch(i);
        const char16_t* chars = stretch.utf16() - i;
        const qsizetype end = i + stretch.size();
        for (; i < end; ++i) {
            const char16_t c = chars[i];
            // The hot loop of every layout: for the letters, digits and marks of ASCII that
            // break no line, one look-up a character; all else takes the way below.
            float advance = c < 0x80 ? plain_[c] : -1.0f;
            if (advance < 0) {
                if (c == u'\n') return {i + 1, x, 0};
                if (c == u'\t') {
                    // A tab that would start past the edge starts the next line.
                    if (x > limit && i > from) return {i, x, 0};
                    advance = static_cast<float>(tabAdvance(x));
                } else {
                    advance = advances.of(c, i + 1 < size ? text.at(i + 1).unicode() : 0);
                }
                if (isBlank(c)) {
                    x += advance;
                    afterBlank = i + 1;
                    uniform = false;
                    continue;
                }
                if (breaksApart(c)) {
                    apart = true;
                    uniform = false;
                }
            }
            x += advance;
            if (x > limit && i > from && !QChar::isLowSurrogate(c)) {
                if (apart) {
                    const qsizetype opportunity = lastBreakOpportunity(text, from, i);
                    if (opportunity > afterBlank) return {opportunity, x, 0};
                }
                if (afterBlank > from) return {afterBlank, x, 0};
                return {i, x, uniform ? first : 0};
            }
            uniform = uniform && advance == first;
        }
    }
    return {-1, x, uniform ? first : 0};
}

void LineLayout::setAdvances(std::shared_ptr<CharacterAdvances> advances) {
    advances_ = std::move(advances);
    plain_.fill(-1);
    if (!advances_) return;
    for (char16_t c = u'!'; c < 0x7F; ++c)
        if (!breaksApart(c)) plain_[c] = advances_->of(c, 0);
}

// Counted as the layout adds advances up, so that the count agrees with it to the last bit.
qsizetype LineLayout::charactersPerLine(float advance) const {
    double x = 0;
    for (qsizetype n = 0;; ++n) {
        x += advance;
        if (x > width_ && n > 0) return n;
    }
}

// The scan runs through the code units of the range around the first character whose advance
// is the same, eight at a time where the processor compares eight at once, and looks at each
// character alone only where one lies outside that range.
qsizetype LineLayout::uniformEnd(const TextBuffer& text, qsizetype from, float advance, qsizetype limit) const {
    const CharacterAdvances& advances = *advances_;
    const auto alike = [&](char16_t c) { return advances.known(c) == advance && !isBlank(c) && !breaksApart(c); };
    if (from >= limit || !alike(text.at(from).unicode())) return from;
    char16_t low = text.at(from).unicode();
    char16_t high = low;
    while (low > 0 && high - low < kWidestRange && alike(static_cast<char16_t>(low - 1))) --low;
    while (high < 0xFFFF && high - low < kWidestRange && alike(static_cast<char16_t>(high + 1))) ++high;
    for (qsizetype i = from; i < limit;) {
        const QStringView stretch = text.stretch(i);
        const char16_t* chars = stretch.utf16() - i;
        const qsizetype end = std::min(limit, i + stretch.size());
        while (i < end) {
            i = inRangeUntil(chars, i, end, low, high);
            for (const qsizetype single = std::min(end, i + 8); i < single; ++i)
                if (!alike(chars[i])) return i;
        }
    }
    return limit;
}

// Where the last lines repeat, and the text repeats as far on as they need, the lines after them
// repeat too: each line is laid out by the characters in and around it alone. They are counted
// then, as far as the text repeats, less what a line reads past its end.
qsizetype LineLayout::repeatLines(const TextBuffer& text, RecentLines& recent, qsizetype at, qsizetype stop,
                                  LineRuns& runs) const {
    if (!wrapping_) return at;
    // Lines of one length may repeat where the text does not (every line of a fraction's digits
    // as long as the next), so each number of lines the last ones repeat in is tried against
    // the text, until one is the text's period too.
    for (int period = 1; period <= RecentLines::kLongestPeriod; ++period) {
        if (!recent.repeats(period)) continue;
        qsizetype characters = 0;
        qsizetype longest = 0;
        for (int i = 0; i < period; ++i) {
            characters += recent.back(i);
            longest = std::max(longest, recent.back(i));
        }
        const qsizetype from = at - 2 * characters;
        if (from < 0 || at + characters >= text.size()) continue;
        const qsizetype margin = 2 * longest + kBreakContext + 4;
        const qsizetype reach = std::min(text.size() - characters, stop + characters + margin);
        const qsizetype end = periodEnd(text, from, characters, reach);
        const qsizetype repeats = std::min((end - at - margin) / characters, (stop - at + characters - 1) / characters);
        if (end - at - margin <= 0 || repeats <= 0) continue;
        for (qsizetype r = 0; r < repeats; ++r)
            for (int i = period - 1; i >= 0; --i) runs.append(recent.back(i), 1, 0);
        recent.clear();
        return at + repeats * characters;
    }
    return at;
}

qsizetype LineLayout::layOutFrom(const TextBuffer& text, qsizetype at, qsizetype stop, LineRuns& runs,
                                 double& widest) const {
    RecentLines recent;
    while (at < stop) {
        const Line line = nextLine(text, at);
        widest = std::max(widest, line.width);
        if (line.next < 0) {
            runs.append(text.size() - at, 1, line.advance);
            return -1;
        }
        const qsizetype length = line.next - at;
        runs.append(length, 1, line.advance);
        at = line.next;
        recent.push(length);
        at = repeatLines(text, recent, at, stop, runs);
        if (line.advance > 0 && wrapping_) {
            // A full uniform line: as many of the lines after it as lie in the same run of
            // characters are counted, not laid out.
            const qsizetype most = (stop - at + length - 1) / length;
            const qsizetype end = uniformEnd(text, at, line.advance, std::min(text.size(), at + most * length + 1));
            const qsizetype counted = std::min(most, (end - at - 1) / length);
            if (counted > 0) {
                runs.append(length, counted, line.advance);
                at += counted * length;
                recent.clear();
            }
        }
    }
    return at;
}

qsizetype LineLayout::relayOut(const TextBuffer& text, qsizetype& at, qsizetype stable, const LineTable& old,
                               qsizetype shift, LineRuns& fresh, double& widest) const {
    const qsizetype size = text.size();
    const qsizetype oldEnd = old.characters() + shift;
    LineTable::Place holding = old.place(0);
    RecentLines recent;
    for (;;) {
        if (at >= stable) {
            holding = old.holding(holding, at - shift);
            // Where a line breaks may hang on characters a little before it, as Unicode's line
            // breaking reads them: lines come back in step only a little past the edit.
            if (at > stable + kBreakContext && holding.start == at - shift) return holding.line;
            if (at >= oldEnd) return -1;
            if (wrapping_ && holding.uniform) {
                // The rest of an old uniform run, and of the uniform runs of the same advance
                // after it, holds characters of one advance: lines there are counted.
                const auto advance = static_cast<float>(this->advance(text, at, 0));
                qsizetype end = holding.runEnd + shift;
                for (LineTable::Place run = old.nextRun(holding);
                     run.line < old.lineCount() && run.uniform && this->advance(text, run.start + shift, 0) == advance;
                     run = old.nextRun(run))
                    end = run.runEnd + shift;
                const qsizetype length = charactersPerLine(advance);
                const qsizetype counted = (end - at - 1) / length;
                if (counted > 0) {
                    fresh.append(length, counted, advance);
                    at += counted * length;
                    recent.clear();
                    continue;
                }
            }
        }
        const Line line = nextLine(text, at);
        widest = std::max(widest, line.width);
        if (line.next < 0) {
            fresh.append(size - at, 1, line.advance);
            return old.lineCount();
        }
        const qsizetype length = line.next - at;
        fresh.append(length, 1, line.advance);
        at = line.next;
        recent.push(length);
        at = repeatLines(text, recent, at, size, fresh);
        if (line.advance > 0 && wrapping_ && at < stable) {
            // Lines of what the edit put in are counted as in a whole layout; past it, the old
            // runs say where such lines are.
            const qsizetype end = uniformEnd(text, at, line.advance, std::min(size, stable + length));
            const qsizetype counted = (end - at - 1) / length;
            if (counted > 0) {
                fresh.append(length, counted, line.advance);
                at += counted * length;
                recent.clear();
            }
        }
    }
}

// Each piece is laid out on a thread of its own as if a line started where it does; then, piece
// after piece, the lines are laid out from where the line before the piece truly ends until they
// come back in step with the piece's, whose lines from there on are taken as they are.
LineTable LineLayout::layOutInPieces(const TextBuffer& text, double& widest) const {
    const qsizetype size = text.size();
    const unsigned count = piecesFor(size);
    if (count <= 1) {
        LineRuns runs;
        layOutFrom(text, 0, size + 1, runs, widest);
        return LineTable(runs);
    }
    std::vector<qsizetype> bounds(count + 1);
    for (unsigned k = 1; k < count; ++k) {
        qsizetype bound = size / count * k;
        if (QChar::isLowSurrogate(text.at(bound).unicode())) ++bound;
        bounds[k] = bound;
    }
    bounds[count] = size + 1;  // the last piece runs to the end, an empty line after a last LF included

    struct Piece {
        LineRuns runs;
        double widest = 0;
        qsizetype end = -1;
        std::exception_ptr failure;
    };
    std::vector<Piece> pieces(count);
    const auto layOutPiece = [&](unsigned k) {
        try {
            pieces[k].end = layOutFrom(text, bounds[k], bounds[k + 1], pieces[k].runs, pieces[k].widest);
        } catch (...) {
            pieces[k].failure = std::current_exception();
        }
    };
    {
        // A piece whose thread cannot start, as where memory is short, is laid out here.
        std::vector<std::jthread> workers;
        workers.reserve(count - 1);
        unsigned started = 1;
        try {
            for (; started < count; ++started) workers.emplace_back(layOutPiece, started);
        } catch (const std::system_error&) {}
        layOutPiece(0);
        for (unsigned k = started; k < count; ++k) layOutPiece(k);
    }
    for (const Piece& piece : pieces)
        if (piece.failure) std::rethrow_exception(piece.failure);

    LineTable::Builder table;
    table.append(pieces[0].runs);
    widest = std::max(widest, pieces[0].widest);
    pieces[0].runs = LineRuns();
    qsizetype at = pieces[0].end;
    for (unsigned k = 1; k < count && at >= 0; ++k) {
        const LineTable old(pieces[k].runs);
        LineRuns fresh;
        const qsizetype resumed = relayOut(text, at, bounds[k], old, bounds[k], fresh, widest);
        table.append(fresh);
        if (resumed == old.lineCount()) {
            at = -1;
        } else if (resumed >= 0) {
            table.append(pieces[k].runs, resumed);
            widest = std::max(widest, pieces[k].widest);
            at = pieces[k].end;
        }
        pieces[k].runs = LineRuns();
    }
    if (at >= 0) {
        LineRuns rest;
        layOutFrom(text, at, size + 1, rest, widest);
        table.append(rest);
    }
    return std::move(table).finish();
}

void LineLayout::layOut(const TextBuffer& text, bool wrapping, double width) {
    const bool wrappedBefore = std::exchange(wrapping_, wrapping);
    const double widthBefore = std::exchange(width_, width);
    try {
        double widest = 0;
        LineTable table = layOutInPieces(text, widest);
        table_ = std::move(table);
        widest_ = widest;
    } catch (...) {
        wrapping_ = wrappedBefore;
        width_ = widthBefore;
        throw;
    }
}

// The new lines are found before the table changes, and the table changes whole or not at all.
void LineLayout::update(const TextBuffer& text, qsizetype position, qsizetype removed, qsizetype added) {
    if (added >= 2 * kShortestPiece && 2 * added >= text.size()) {
        // What came in is most of the text: it is laid out whole, on as many threads as pay.
        double widest = 0;
        LineTable table = layOutInPieces(text, widest);
        table_ = std::move(table);
        widest_ = widest;
        return;
    }
    const qsizetype shift = added - removed;
    const qsizetype first = std::max<qsizetype>(0, lineOf(position) - 1);
    LineRuns fresh;
    double widest = widest_;
    qsizetype at = lineStart(first);
    qsizetype resumed = relayOut(text, at, position + added, table_, shift, fresh, widest);
    if (resumed < 0) {
        layOutFrom(text, at, text.size() + 1, fresh, widest);
        resumed = lineCount();
    }
    table_.replace(first, resumed, fresh);
    widest_ = widest;
}

qsizetype LineLayout::lineEnd(const TextBuffer& text, qsizetype line) const {
    if (line + 1 >= lineCount()) return text.size();
    const qsizetype next = lineStart(line + 1);
    return text.at(next - 1) == QLatin1Char('\n') ? next - 1 : next;
}

double LineLayout::xOf(const TextBuffer& text, qsizetype line, qsizetype position) const {
    double x = 0;
    for (qsizetype i = lineStart(line); i < position; ++i) x += advance(text, i, x);
    return x;
}

qsizetype LineLayout::positionAt(const TextBuffer& text, qsizetype line, double x) const {
    const qsizetype end = lineEnd(text, line);
    double left = 0;
    for (qsizetype i = lineStart(line); i < end; ++i) {
        const double step = advance(text, i, left);
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
    for (qsizetype i = start; i < end; ++i) width += advance(text, i, width);
    return width;
}

}  // namespace fw
