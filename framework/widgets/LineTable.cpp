#include "LineTable.hpp"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace fw {

namespace {

// Runs a block holds: a walk through one stays short, and the blocks of a billion prose lines
// stay few enough for an edit to bring their counts up to date at once.
constexpr std::size_t kBlockRuns = 256;

}  // namespace

void LineRuns::push(qsizetype length, qsizetype count, bool uniform) {
    while (count > 0) {
        const qsizetype taken = std::min(count, kMostLines);
        runs_.emplace_back(length, taken, uniform);
        count -= taken;
    }
}

void LineRuns::append(qsizetype length, qsizetype count, float advance) {
    if (count <= 0) return;
    const bool uniform = advance > 0;
    lines_ += count;
    characters_ += length * count;
    if (runs_.empty()) {
        firstAdvance_ = advance;
    } else {
        Packed& last = runs_.back();
        if (last.length() == length && last.uniform() == uniform && (!uniform || advance == lastAdvance_)) {
            const qsizetype taken = std::min(kMostLines - last.count(), count);
            last.setCount(last.count() + taken);
            count -= taken;
        }
    }
    push(length, count, uniform);
    lastAdvance_ = advance;
}

// Only the runs at the ends of a list know their characters' advance, so only they may join a
// neighbour; a run between them stands as it is.
void LineRuns::append(const LineRuns& more, qsizetype from) {
    qsizetype line = 0;
    const std::size_t runs = more.runs_.size();
    for (std::size_t r = 0; r < runs; ++r) {
        const Packed& run = more.runs_[r];
        qsizetype count = run.count();
        if (line + count <= from) {
            line += count;
            continue;
        }
        count -= std::max<qsizetype>(0, from - line);
        line += run.count();
        const qsizetype length = run.length();
        if (r == 0 || r + 1 == runs) {
            append(length, count, !run.uniform() ? 0 : r == 0 ? more.firstAdvance_ : more.lastAdvance_);
        } else {
            lines_ += count;
            characters_ += length * count;
            push(length, count, run.uniform());
            lastAdvance_ = std::numeric_limits<float>::quiet_NaN();
        }
    }
}

LineRuns::Run LineRuns::run(qsizetype index) const {
    const Packed& run = runs_[static_cast<std::size_t>(index)];
    return {run.length(), run.count(), run.uniform()};
}

LineTable::LineTable() {
    Block only;
    only.runs.emplace_back(0, 1, false);
    only.lines = 1;
    blocks_.push_back(std::move(only));
    lines_ = 1;
}

LineTable::LineTable(const LineRuns& runs) {
    Builder builder;
    builder.append(runs);
    *this = std::move(builder).finish();
}

void LineTable::appendTo(std::vector<Block>& blocks, LineRuns::Packed run) {
    if (blocks.empty() || blocks.back().runs.size() >= kBlockRuns) {
        Block next;
        if (!blocks.empty()) {
            next.firstLine = blocks.back().firstLine + blocks.back().lines;
            next.firstChar = blocks.back().firstChar + blocks.back().characters;
        }
        next.runs.reserve(kBlockRuns);
        blocks.push_back(std::move(next));
    }
    Block& block = blocks.back();
    block.runs.push_back(run);
    block.lines += run.count();
    block.characters += run.count() * run.length();
}

void LineTable::Builder::append(const LineRuns& runs, qsizetype from) {
    qsizetype skipped = 0;
    for (LineRuns::Packed run : runs.runs_) {
        const qsizetype count = run.count();
        if (skipped + count <= from) {
            skipped += count;
            continue;
        }
        run.setCount(count - std::max<qsizetype>(0, from - skipped));
        skipped = from;
        appendTo(blocks_, run);
    }
}

LineTable LineTable::Builder::finish() && {
    LineTable table;
    if (blocks_.empty()) return table;
    table.blocks_ = std::move(blocks_);
    table.recount(0);
    return table;
}

void LineTable::recount(std::size_t fromBlock) {
    qsizetype line = fromBlock == 0 ? 0 : blocks_[fromBlock - 1].firstLine + blocks_[fromBlock - 1].lines;
    qsizetype character = fromBlock == 0 ? 0 : blocks_[fromBlock - 1].firstChar + blocks_[fromBlock - 1].characters;
    for (std::size_t b = fromBlock; b < blocks_.size(); ++b) {
        blocks_[b].firstLine = line;
        blocks_[b].firstChar = character;
        line += blocks_[b].lines;
        character += blocks_[b].characters;
    }
    lines_ = line;
    characters_ = character;
}

// Past the last line: the end of the last block.
LineTable::Place LineTable::end() const {
    Place past;
    past.line = lines_;
    past.start = past.runEnd = characters_;
    past.block = blocks_.size() - 1;
    past.run = blocks_.back().runs.size();
    return past;
}

LineTable::Found LineTable::findLine(qsizetype line) const {
    line = std::max<qsizetype>(line, 0);
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), line,
                                        [](qsizetype l, const Block& block) { return l < block.firstLine; });
    const auto b = static_cast<std::size_t>(std::distance(blocks_.begin(), after)) - 1;
    const Block& block = blocks_[b];
    Found found{b, 0, block.firstLine, block.firstChar};
    for (; found.run < block.runs.size(); ++found.run) {
        const LineRuns::Packed& run = block.runs[found.run];
        if (line < found.line + run.count()) break;
        found.line += run.count();
        found.start += run.count() * run.length();
    }
    return found;
}

// Only the last line may be empty, so the last line starting at or before a position is found
// by the characters before each block and each run.
LineTable::Found LineTable::findPosition(qsizetype position) const {
    position = std::max<qsizetype>(position, 0);
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), position,
                                        [](qsizetype p, const Block& block) { return p < block.firstChar; });
    const auto b = static_cast<std::size_t>(std::distance(blocks_.begin(), after)) - 1;
    const Block& block = blocks_[b];
    Found found{b, 0, block.firstLine, block.firstChar};
    for (; found.run + 1 < block.runs.size(); ++found.run) {
        const LineRuns::Packed& run = block.runs[found.run];
        const qsizetype end = found.start + run.count() * run.length();
        if (position < end) break;
        found.line += run.count();
        found.start = end;
    }
    return found;
}

LineTable::Place LineTable::placeOf(const Found& found, qsizetype line) const {
    if (line >= lines_) return end();
    const LineRuns::Packed& run = blocks_[found.block].runs[found.run];
    const qsizetype length = run.length();
    Place at;
    at.line = line;
    at.start = found.start + (line - found.line) * length;
    at.length = length;
    at.uniform = run.uniform();
    at.runEnd = found.start + run.count() * length;
    at.block = found.block;
    at.run = found.run;
    return at;
}

LineTable::Place LineTable::place(qsizetype line) const { return placeOf(findLine(line), line); }

qsizetype LineTable::lineStart(qsizetype line) const { return place(line).start; }

qsizetype LineTable::lineLength(qsizetype line) const { return place(line).length; }

qsizetype LineTable::lineOf(qsizetype position) const {
    const Found found = findPosition(position);
    const LineRuns::Packed& run = blocks_[found.block].runs[found.run];
    const qsizetype into = run.length() == 0 ? 0 : (position - found.start) / run.length();
    return found.line + std::clamp<qsizetype>(into, 0, run.count() - 1);
}

// Only the last line may be empty, so a run of lines of no characters is the last run.
LineTable::Place LineTable::holding(const Place& at, qsizetype position) const {
    constexpr int kRunsWalked = 4;  // further on, a search costs less than the walk
    Place run = at;
    for (int walked = 0; walked < kRunsWalked && run.line < lines_; ++walked) {
        if (position < run.start) break;
        if (position < run.runEnd || run.length == 0) {
            const qsizetype into = run.length == 0 ? 0 : (position - run.start) / run.length;
            if (into == 0) return run;
            Place later = run;
            later.line += into;
            later.start += into * run.length;
            return later;
        }
        const Place after = nextRun(run);
        if (after.line >= lines_) break;
        run = after;
    }
    return place(lineOf(position));
}

LineTable::Place LineTable::nextRun(const Place& at) const {
    if (at.line >= lines_) return at;
    Found found{at.block, at.run + 1, at.line + (at.runEnd - at.start) / std::max<qsizetype>(1, at.length), at.runEnd};
    if (at.length == 0) found.line = at.line + 1;
    if (found.run >= blocks_[found.block].runs.size()) {
        if (found.block + 1 >= blocks_.size()) return end();
        ++found.block;
        found.run = 0;
    }
    return placeOf(found, found.line);
}

// The blocks that hold lines [first, end) are built anew, with the lines of those blocks
// before and after them, in fresh memory; only then do they take the old blocks' place.
void LineTable::replace(qsizetype first, qsizetype end, const LineRuns& fresh) {
    const Found from = findLine(std::min(first, lines_ - 1));
    const Found to = end > first ? findLine(end - 1) : from;
    const std::size_t lastBlock = std::max(from.block, to.block);

    std::vector<Block> rebuilt;
    const auto keep = [&](LineRuns::Packed run, qsizetype count) {
        if (count <= 0) return;
        run.setCount(count);
        appendTo(rebuilt, run);
    };
    const Block& head = blocks_[from.block];
    for (std::size_t r = 0; r < from.run; ++r) keep(head.runs[r], head.runs[r].count());
    if (first < lines_) {
        keep(head.runs[from.run], first - from.line);
    } else if (from.run < head.runs.size()) {
        keep(head.runs[from.run], head.runs[from.run].count());
    }
    for (const LineRuns::Packed& run : fresh.runs_) keep(run, run.count());
    if (end > first || first < lines_) {
        const Block& tail = blocks_[lastBlock];
        const Found& last = end > first ? to : from;
        const std::size_t firstKept = last.run;
        if (firstKept < tail.runs.size()) {
            const LineRuns::Packed& run = tail.runs[firstKept];
            keep(run, last.line + run.count() - end);
            for (std::size_t r = firstKept + 1; r < tail.runs.size(); ++r) keep(tail.runs[r], tail.runs[r].count());
        }
    }
    if (rebuilt.empty() && blocks_.size() == lastBlock - from.block + 1) keep(LineRuns::Packed(0, 1, false), 1);

    const std::size_t replaced = lastBlock - from.block + 1;
    const std::size_t needed = blocks_.size() - replaced + rebuilt.size();
    if (needed > blocks_.capacity()) blocks_.reserve(std::max(needed, 2 * blocks_.capacity()));
    const auto at = blocks_.begin() + static_cast<std::ptrdiff_t>(from.block);
    blocks_.erase(at, at + static_cast<std::ptrdiff_t>(replaced));
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(from.block), std::make_move_iterator(rebuilt.begin()),
                   std::make_move_iterator(rebuilt.end()));
    recount(std::min(from.block, blocks_.size() - 1));
}

}  // namespace fw
