#pragma once
// How a text view's text falls into shown lines (framework use).

#include "CharacterAdvances.hpp"
#include "LineTable.hpp"
#include "TextBuffer.hpp"

#include <array>
#include <cmath>
#include <memory>

namespace fw {

// The shown lines of a text and the horizontal place of each character on them, without a widget
// or a display: the characters' advances come from a CharacterAdvances, which a test can make
// with widths of its own.
//
// Lines break at LF. Wrapping, they also break at the width laid out at: after the last blank
// that starts inside it (blanks hang past the edge), before a tab that starts past it, or
// anywhere in a run wider than the width, but never inside a surrogate pair, even where the pair
// alone is wider. Horizontal places are measured from the start of the line, and are sums of
// advances; a tab reaches the next tab stop, one every kTabDistance, as in Qt's editors.
//
// An edit lays out anew from the line before the edited one, whose end may now fit more or
// less, until a line starts where an old one started, shifted by the change: from there on the
// text, and so its lines, are as before. Lines of one advance throughout (a number, in a font
// whose digits are alike) are not laid out character by character but counted: how many
// characters of that advance fit is known, so a run of them becomes so many lines, found by
// arithmetic wherever the lines before them now end. So an edit anywhere in a long number costs
// a few lines, not the number.
//
// A long text is laid out in pieces on several threads at once, each piece as if a line started
// where it does; the pieces are then put together in order, each laid out anew from where the
// line before it truly ends until its lines come back in step with what its thread found.
class LineLayout {
public:
    explicit LineLayout(std::shared_ptr<CharacterAdvances> advances);

    static constexpr double kTabDistance = 80;

    const CharacterAdvances& advances() const { return *advances_; }
    const std::shared_ptr<CharacterAdvances>& sharedAdvances() const { return advances_; }
    // Takes other advances; the lines stay as they are until they are laid out again.
    void setAdvances(std::shared_ptr<CharacterAdvances> advances);

    bool wraps() const { return wrapping_; }
    // The width the lines were laid out at; < 0 until they are laid out wrapped.
    double width() const { return width_; }
    // The widest line laid out without wrapping, as far as edits have shown it.
    double widest() const { return widest_; }

    // Lays the whole text out, wrapping at `width` or not at all. Either all lines are laid out
    // anew, or they stay as they were, together with the way they were laid out.
    void layOut(const TextBuffer& text, bool wrapping, double width);
    // Follows an edit of the text: at `position`, `added` characters replaced `removed`; `text`
    // is the text after it. Either the lines follow it whole, or they stay as they were.
    void update(const TextBuffer& text, qsizetype position, qsizetype removed, qsizetype added);

    qsizetype lineCount() const { return table_.lineCount(); }
    qsizetype lineStart(qsizetype line) const { return table_.lineStart(line); }
    qsizetype lineOf(qsizetype position) const { return table_.lineOf(position); }
    // Where the line's characters end: before its LF, if it has one.
    qsizetype lineEnd(const TextBuffer& text, qsizetype line) const;

    // The advance of the character at `position`, which starts `x` into its line.
    double advance(const TextBuffer& text, qsizetype position, double x) const {
        const char16_t c = text.at(position).unicode();
        if (c == u'\t') return tabAdvance(x);
        const char16_t next = position + 1 < text.size() ? text.at(position + 1).unicode() : 0;
        return advances_->of(c, next);
    }
    static double tabAdvance(double x) { return (std::floor(x / kTabDistance) + 1) * kTabDistance - x; }
    // How far into its line the character at `position` starts.
    double xOf(const TextBuffer& text, qsizetype line, qsizetype position) const;
    // The place on the line nearest to `x`: before a character when `x` is left of its middle.
    qsizetype positionAt(const TextBuffer& text, qsizetype line, double x) const;
    // The width of the line's characters; `hangingBlanks` false leaves out blanks at its end.
    double lineWidth(const TextBuffer& text, qsizetype line, bool hangingBlanks) const;

private:
    // A line laid out: where the next one starts (-1 when it runs to the end of the text), its
    // width where it ends at a line feed or the end of the text, and, when it is uniform, the
    // advance of each of its characters (else 0).
    struct Line {
        qsizetype next = -1;
        double width = 0;
        float advance = 0;
    };
    Line nextLine(const TextBuffer& text, qsizetype from) const;
    // How many characters of the advance fill a wrapped line.
    qsizetype charactersPerLine(float advance) const;
    // The first position at or after `from`, and before `limit`, whose character is not of the
    // advance or is a blank; `limit` when there is none.
    qsizetype uniformEnd(const TextBuffer& text, qsizetype from, float advance, qsizetype limit) const;
    // Lays lines out from `at`, a line's start, for as long as they start before `stop`; returns
    // where the first line at or after `stop` starts, or -1 when the text ends first.
    qsizetype layOutFrom(const TextBuffer& text, qsizetype at, qsizetype stop, LineRuns& runs, double& widest) const;
    // Lays lines out from `at` until one starts where a line of `old` starts, `shift` characters
    // on, at or after `stable`: from `stable` on, the text is that of `old`, shifted. Uniform runs
    // of `old` after `stable` are laid out by arithmetic. Returns the line of `old` the lines came
    // back in step with, or old.lineCount() when they ran to the end of the text, or -1 when they
    // passed the end of `old` without coming back in step; `at` is then where they stand.
    qsizetype relayOut(const TextBuffer& text, qsizetype& at, qsizetype stable, const LineTable& old, qsizetype shift,
                       LineRuns& fresh, double& widest) const;
    LineTable layOutInPieces(const TextBuffer& text, double& widest) const;
    class RecentLines;
    qsizetype repeatLines(const TextBuffer& text, RecentLines& recent, qsizetype at, qsizetype stop,
                          LineRuns& runs) const;

    std::shared_ptr<CharacterAdvances> advances_;
    // The advances of the printable ASCII characters that break no line, measured at once;
    // every other code unit of ASCII is negative here.
    std::array<float, 0x80> plain_{};
    LineTable table_;
    bool wrapping_ = true;
    double width_ = -1;
    double widest_ = 0;
};

}  // namespace fw
