#include "framework/EditHistory.hpp"

#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = fw::EditHistory::Kind;

// An edit of the text, as the view makes one.
struct Edit {
    qsizetype position;
    qsizetype removed;
    QString added;
    Kind kind;
};

// Makes the edits, recording each, then undoes every step: the text after each undo, last first.
std::vector<std::string> undoAll(QString text, const std::vector<Edit>& edits) {
    fw::EditHistory history;
    for (const Edit& e : edits) {
        history.prepare(e.position, fw::TextBuffer(text.mid(e.position, e.removed)), e.added.size(), e.kind);
        text.replace(e.position, e.removed, e.added);
        history.commit();
    }
    std::vector<std::string> after;
    while (history.canUndo()) {
        const fw::EditHistory::Change& change = history.nextUndo();
        const QString taken = text.mid(change.position, change.added);
        text.replace(change.position, change.added, change.removed.toString());
        history.prepareUndo();
        history.undone(fw::TextBuffer(taken));
        after.push_back(text.toStdString());
    }
    return after;
}

// Which changes in a row join one step, as in Qt's editors.
TEST(EditHistory, ChangesInARowJoinAStepAsQtsEditorsJoinThem) {
    const struct {
        const char* what;
        QString text;
        std::vector<Edit> edits;
        std::vector<std::string> undone;
    } cases[] = {
        {"typing in a row",
         "",
         {{0, 0, "a", Kind::Typing}, {1, 0, "b", Kind::Typing}, {2, 0, "c", Kind::Typing}},
         {""}},
        {"typing elsewhere", "xy", {{0, 0, "a", Kind::Typing}, {3, 0, "b", Kind::Typing}}, {"axy", "xy"}},
        {"typing over a selection, then on", "abcd", {{1, 2, "x", Kind::Typing}, {2, 0, "y", Kind::Typing}}, {"abcd"}},
        {"a line break between",
         "",
         {{0, 0, "a", Kind::Typing}, {1, 0, "\n", Kind::Other}, {2, 0, "b", Kind::Typing}},
         {"a\n", "a", ""}},
        {"typing after a paste joins it", "", {{0, 0, "XY", Kind::Pasting}, {2, 0, "a", Kind::Typing}}, {""}},
        {"a paste after typing does not", "", {{0, 0, "a", Kind::Typing}, {1, 0, "XY", Kind::Pasting}}, {"a", ""}},
        {"a run of Backspaces",
         "abc",
         {{2, 1, "", Kind::ErasingBack}, {1, 1, "", Kind::ErasingBack}, {0, 1, "", Kind::ErasingBack}},
         {"abc"}},
        {"a run of Deletes", "abc", {{0, 1, "", Kind::ErasingForward}, {0, 1, "", Kind::ErasingForward}}, {"abc"}},
        {"Backspaces, then typing",
         "abc",
         {{2, 1, "", Kind::ErasingBack}, {1, 1, "", Kind::ErasingBack}, {1, 0, "x", Kind::Typing}},
         {"a", "abc"}},
        {"a Delete after Backspaces",
         "abc",
         {{2, 1, "", Kind::ErasingBack}, {1, 1, "", Kind::ErasingForward}},
         {"ab", "abc"}},
        {"Backspaces elsewhere",
         "abcd",
         {{3, 1, "", Kind::ErasingBack}, {0, 1, "", Kind::ErasingBack}},
         {"abc", "abcd"}},
    };
    for (const auto& c : cases) EXPECT_EQ(undoAll(c.text, c.edits), c.undone) << c.what;
}

TEST(EditHistory, UndoneChangesAreRedoneUntilANewChange) {
    fw::EditHistory history;
    history.prepare(0, fw::TextBuffer(QStringLiteral("old")), 3, Kind::Other);
    history.commit();
    history.prepareUndo();
    history.undone(fw::TextBuffer(QStringLiteral("new")));
    ASSERT_TRUE(history.canRedo());
    EXPECT_EQ(history.nextRedo().removed.toString(), "new") << "redo takes out what undo put in";
    EXPECT_EQ(history.nextRedo().added, 3);
    history.prepare(0, fw::TextBuffer(), 1, Kind::Typing);
    history.abandon();
    EXPECT_TRUE(history.canRedo()) << "a change not made drops nothing";
    history.prepare(0, fw::TextBuffer(), 1, Kind::Typing);
    history.commit();
    EXPECT_FALSE(history.canRedo());
    history.clear();
    EXPECT_FALSE(history.canUndo());
}

}  // namespace
