#include "framework/LineTable.hpp"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A line as the table is checked against: its length and whether it is uniform.
struct Line {
    qsizetype length;
    bool uniform;
};

// Every way to look a line up must agree with the plain list of lines: walking all of them, and
// finding every `stride`th by number and by position.
void expectSame(const fw::LineTable& table, const std::vector<Line>& lines, const char* after, std::size_t stride = 1) {
    ASSERT_EQ(table.lineCount(), static_cast<qsizetype>(lines.size())) << after;
    qsizetype start = 0;
    fw::LineTable::Place walked = table.place(0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = static_cast<qsizetype>(i);
        walked = table.holding(walked, start);
        ASSERT_EQ(walked.line, line) << after;
        ASSERT_EQ(walked.start, start) << after;
        ASSERT_EQ(walked.length, lines[i].length) << after << ": line " << i;
        ASSERT_EQ(walked.uniform, lines[i].uniform) << after << ": line " << i;
        if (i % stride == 0 || i + 1 == lines.size()) {
            ASSERT_EQ(table.lineStart(line), start) << after << ": line " << i;
            ASSERT_EQ(table.lineLength(line), lines[i].length) << after << ": line " << i;
            // The line holding each position of the line, its first and last included.
            for (const qsizetype at : {start, start + lines[i].length / 2, start + lines[i].length - 1})
                if (lines[i].length > 0) {
                    ASSERT_EQ(table.lineOf(at), line) << after << ": position " << at;
                }
        }
        start += lines[i].length;
    }
    EXPECT_EQ(table.characters(), start) << after;
    EXPECT_EQ(table.nextRun(walked).line, table.lineCount()) << after << ": no run after the last line's";
}

TEST(LineTable, LinesFoundByNumberByPositionAndByWalkingAgreeThroughEdits) {
    QRandomGenerator random(20261214);
    std::vector<Line> lines{{0, false}};
    fw::LineTable table;
    expectSame(table, lines, "an empty text");
    for (int step = 0; step < 400; ++step) {
        const auto count = static_cast<qsizetype>(lines.size());
        // Lines other than the last are never empty: each holds a character or its line feed.
        const qsizetype first = random.bounded(static_cast<int>(count));
        const qsizetype end = std::min<qsizetype>(count, first + random.bounded(step % 50 == 0 ? 2000 : 4));
        fw::LineRuns fresh;
        std::vector<Line> added;
        const int runs = random.bounded(4);
        for (int r = 0; r < runs; ++r) {
            const qsizetype length = 1 + random.bounded(30);
            const qsizetype many = random.bounded(3) == 0 ? 1 + random.bounded(700) : 1;
            const bool uniform = random.bounded(2);
            fresh.append(length, many, uniform ? 7.0f + static_cast<float>(random.bounded(2)) : 0.0f);
            added.insert(added.end(), static_cast<std::size_t>(many), {length, uniform});
        }
        if (end == count) {
            // The text's last line may be empty, and another must take its place.
            const qsizetype length = random.bounded(3) == 0 ? 0 : 1 + random.bounded(30);
            fresh.append(length, 1, 0);
            added.push_back({length, false});
        }
        EXPECT_EQ(fresh.lines(), static_cast<qsizetype>(added.size()));
        table.replace(first, end, fresh);
        lines.erase(lines.begin() + first, lines.begin() + end);
        lines.insert(lines.begin() + first, added.begin(), added.end());
        expectSame(table, lines, ("step " + std::to_string(step)).c_str(), step % 20 == 0 ? 1 : 37);
        if (HasFatalFailure()) return;
    }
}

// Lines of one length and kind join one run, uniform lines only where their characters have
// the same advance, and a run of a billion lines holds as few words.
TEST(LineTable, AlikeLinesJoinOneRun) {
    fw::LineRuns runs;
    runs.append(28, 1, 7.0f);
    runs.append(28, 1'000'000'000, 7.0f);
    runs.append(28, 5, 8.0f);
    runs.append(28, 5, 0);
    runs.append(28, 5, 0);
    runs.append(3, 1, 7.0f);
    EXPECT_EQ(runs.lines(), 1'000'000'001 + 16);
    EXPECT_LE(runs.runCount(), 125 + 3) << "a run holds up to 2^23 lines";
    fw::LineRuns more;
    more.append(3, 2, 7.0f);
    more.append(28, 1, 0);
    runs.append(more);
    const fw::LineRuns::Run last = runs.run(runs.runCount() - 2);
    EXPECT_EQ(last.length, 3);
    EXPECT_EQ(last.count, 3) << "uniform lines of the same advance join across lists";
    const fw::LineTable table(runs);
    EXPECT_EQ(table.lineCount(), runs.lines());
    EXPECT_EQ(table.characters(), runs.characters());
    EXPECT_EQ(table.lineOf(28LL * 900'000'000 + 5), 900'000'000);
    EXPECT_EQ(table.lineStart(1'000'000'001 + 15), 28LL * (1'000'000'001 + 15));
}

}  // namespace
