#pragma once
// Where the shown lines of a text start (framework use).

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace fw {

// Lines in order, as runs: a run is a number of lines of one length in characters, line break
// included, and says whether every character of those lines is of one advance, with no blank,
// line break or surrogate among them. Such "uniform" lines are what a long number wraps into, so
// a number of a billion digits is held in a run or two rather than in millions of lines, and an
// edit lays them out anew by arithmetic.
class LineRuns {
public:
    struct Run {
        qsizetype length = 0;
        qsizetype count = 0;
        bool uniform = false;
    };

    // Lines of `length`; `advance` is the advance of each of their characters for uniform lines,
    // and 0 for others. A run joins the last one where both are alike: uniform lines only where
    // their characters have the same advance.
    void append(qsizetype length, qsizetype count, float advance);
    // The lines of another list from its line `from` on, after these.
    void append(const LineRuns& more, qsizetype from = 0);

    qsizetype lines() const { return lines_; }
    qsizetype characters() const { return characters_; }
    qsizetype runCount() const { return static_cast<qsizetype>(runs_.size()); }
    Run run(qsizetype index) const;

private:
    friend class LineTable;

    // Length, count and the uniform flag in one word: lines up to 2^40 characters long, a run up
    // to 2^23 lines (a longer one stands as several).
    class Packed {
    public:
        Packed(qsizetype length, qsizetype count, bool uniform)
            : bits_(static_cast<std::uint64_t>(length) | static_cast<std::uint64_t>(count) << kCountShift |
                    static_cast<std::uint64_t>(uniform) << kUniformShift) {}
        qsizetype length() const { return static_cast<qsizetype>(bits_ & kLengthMask); }
        qsizetype count() const { return static_cast<qsizetype>(bits_ >> kCountShift & kCountMask); }
        bool uniform() const { return (bits_ >> kUniformShift) != 0; }
        void setCount(qsizetype count) { *this = Packed(length(), count, uniform()); }

    private:
        static constexpr int kCountShift = 40;
        static constexpr int kUniformShift = 63;
        static constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kCountShift) - 1;
        static constexpr std::uint64_t kCountMask = (std::uint64_t{1} << (kUniformShift - kCountShift)) - 1;
        std::uint64_t bits_;
    };
    static constexpr qsizetype kMostLines = (qsizetype{1} << 23) - 1;

    void push(qsizetype length, qsizetype count, bool uniform);

    std::vector<Packed> runs_;
    qsizetype lines_ = 0;
    qsizetype characters_ = 0;
    float firstAdvance_ = 0;  // of the characters of the first run and of the last, where uniform
    float lastAdvance_ = 0;
};

// The shown lines of a text: a line starts where the one before it ends, the first at 0. An
// empty text has one empty line. Lines are held as runs in blocks of a few hundred, each block
// with the lines and characters before it, so that finding a line by number or by position
// costs a binary search over the blocks and a walk through one; an edit rewrites the blocks it
// touches and brings the counts of the later ones up to date.
class LineTable {
    struct Block;

public:
    LineTable();
    // The lines of the runs, which hold at least one line.
    explicit LineTable(const LineRuns& runs);

    qsizetype lineCount() const { return lines_; }
    // The characters of all lines, which is the length of the text laid out.
    qsizetype characters() const { return characters_; }
    qsizetype lineStart(qsizetype line) const;
    qsizetype lineLength(qsizetype line) const;
    // The line holding the character at `position`: the last one that starts at or before it.
    qsizetype lineOf(qsizetype position) const;

    // A line and the run it belongs to, to walk the lines in order. Past the last line stands a
    // place of no characters, whose line is lineCount().
    struct Place {
        qsizetype line = 0;     // the line
        qsizetype start = 0;    // where it starts
        qsizetype length = 0;   // its characters
        bool uniform = false;   // whether its run is uniform
        qsizetype runEnd = 0;   // where the run's last line ends
        std::size_t block = 0;  // where the run stands in the table
        std::size_t run = 0;
    };
    Place place(qsizetype line) const;
    // The line holding `position`, as lineOf() finds it, looked for from `at` on: a walk from line
    // to line costs a step for each.
    Place holding(const Place& at, qsizetype position) const;
    // The first line of the run after the one of `at`.
    Place nextRun(const Place& at) const;

    // Lines [first, end) give way to the lines of `fresh`. Either the table changes whole, or it
    // stays as it was.
    void replace(qsizetype first, qsizetype end, const LineRuns& fresh);

    // Builds a table from lists of runs in order, each taken from one of its lines on, so that a
    // table laid out in pieces is put together without holding its runs twice over.
    class Builder {
    public:
        void append(const LineRuns& runs, qsizetype from = 0);
        // The table; it holds at least one line, an empty one if nothing was appended.
        LineTable finish() &&;

    private:
        std::vector<Block> blocks_;
    };

private:
    struct Block {
        std::vector<LineRuns::Packed> runs;
        qsizetype firstLine = 0;  // lines before the block
        qsizetype firstChar = 0;  // characters before the block
        qsizetype lines = 0;
        qsizetype characters = 0;
    };
    // A run as found in the table: which block, which run of it, and the line and character
    // where the run starts.
    struct Found {
        std::size_t block = 0;
        std::size_t run = 0;
        qsizetype line = 0;
        qsizetype start = 0;
    };

    Found findLine(qsizetype line) const;
    Found findPosition(qsizetype position) const;
    Place placeOf(const Found& found, qsizetype line) const;
    Place end() const;
    static void appendTo(std::vector<Block>& blocks, LineRuns::Packed run);
    void recount(std::size_t fromBlock);

    std::vector<Block> blocks_;
    qsizetype lines_ = 0;
    qsizetype characters_ = 0;
};

}  // namespace fw
