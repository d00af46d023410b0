#pragma once
// Where the shown lines of a text start (framework use).

#include <QtGlobal>

#include <vector>

namespace fw {

// The shown lines of a text, in order: a line starts where the one before it ends, the first at
// 0. An empty text has one empty line.
class LineTable {
public:
    LineTable() = default;
    // The lines starting at the positions given after the first line's 0, in increasing order.
    explicit LineTable(std::vector<qsizetype> laterStarts);

    qsizetype lineCount() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype lineStart(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
    // The line holding the character at `position`: the last one that starts at or before it.
    qsizetype lineOf(qsizetype position) const;

    // Lines [first + 1, end) give way to lines starting at `starts`; every line after them moves
    // by `shift` characters. Either the table changes whole, or it stays as it was.
    void replace(qsizetype first, qsizetype end, const std::vector<qsizetype>& starts, qsizetype shift);

private:
    std::vector<qsizetype> starts_{0};
};

}  // namespace fw
