// Our text view against Qt's QPlainTextEdit, key by key and click by click: each case of the
// table is played on both, set up alike, and must leave both with the same text, caret, anchor,
// rows, scrolling, focus, clipboard and undo history.

#include "EditorCases.hpp"
#include "EditorPlayer.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>

using namespace sidebyside;

namespace sidebyside {
// A case is shown by its name where a test's parameter is printed.
void PrintTo(const NamedCase& named, std::ostream* out) { *out << named.name; }
}  // namespace sidebyside

namespace {

// The faults our view is known to have beside Qt's, by number.
const std::map<int, const char*> kFaults = {
    {1, "the top row shown: Up moves two rows, a click in the top margin lands on the hidden row above"},
    {2, "Up and Down from a wrapped row's end land on the wrong row"},
    {3, "End on a word-wrapped row goes past the blank; a click right of the row lands after it"},
    {4,
     "word keys: Ctrl+Right stops at the word's end, Ctrl+Delete leaves the blank, punctuation and "
     "\"<36>\" are no boundaries"},
    {5, "a read-only view moves an invisible caret instead of scrolling"},
    {6, "grapheme clusters split by Right, Shift+Right and Delete"},
    {7, "undo steps, Up and Down at the text's ends, triple click, drag by words, tabs, Page Down"},
};

// The cases in which our view differs from Qt's today, each with the fault it shows. A case that
// comes to match Qt's fails until it is taken out, so the set stays exact as the view is mended.
const std::map<std::string, int> kExpectedToFailToday = {
    {"Arrows_UpOnTheFirstLine", 7},           {"Arrows_UpFromTheTopRowShown", 1},
    {"HomeEnd_EndOnWrappedProseThenType", 3}, {"Words_NextWordGoesToTheNextWordsStart", 4},
    {"Clusters_RightOverADecomposedE", 6},    {"Undo_ARunOfBackspacesIsOneStep", 7},
    {"Mouse_TripleClickSelectsTheLine", 7},   {"ReadOnly_DownScrolls", 5},
};

class TextViewVsQt : public testing::TestWithParam<NamedCase> {};

std::string report(const NamedCase& named, const Outcome& ours, const Outcome& qt) {
    const Case& c = named.c;
    std::string said =
        named.name + "\n  start: " +
        markedText(parseMarks(c.setup.text).text, parseMarks(c.setup.text).cursor, parseMarks(c.setup.text).anchor);
    said += "\n  steps: " + describe(c.actions);
    for (const std::string& difference : differences(ours, qt)) said += "\n  " + difference;
    said += "\n  ours: " + describe(ours) + "\n  Qt's: " + describe(qt);
    return said;
}

TEST_P(TextViewVsQt, ActsAsQtsPlainTextEdit) {
    const NamedCase& named = GetParam();
    const Case& c = named.c;
    const std::vector<std::string> unbound = unboundKeys(c.actions);
    if (!unbound.empty()) GTEST_SKIP() << "this platform binds no key to " << unbound.front();

    const Outcome qt = play(EditorStage::Kind::Qt, c);
    const Outcome ours = play(EditorStage::Kind::Ours, c);
    const bool same = differences(ours, qt).empty();
    const auto known = kExpectedToFailToday.find(named.name);
    if (c.differsByDesign) {
        EXPECT_FALSE(same) << named.name << " should differ from Qt's by design (" << c.differsByDesign
                           << ") but matches it";
        std::cout << "[ by design ] " << c.differsByDesign << ": " << report(named, ours, qt) << "\n";
    } else if (known != kExpectedToFailToday.end()) {
        EXPECT_FALSE(same) << named.name << " now acts as Qt's does: take it out of the cases expected to fail today";
        std::cout << "[ known     ] fault " << known->second << ": " << report(named, ours, qt) << "\n";
    } else {
        EXPECT_TRUE(same) << report(named, ours, qt);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TextViewVsQt, testing::ValuesIn(allCases()),
                         [](const testing::TestParamInfo<NamedCase>& param) { return param.param.name; });

TEST(TextViewVsQtTable, EveryKnownDifferenceNamesACaseAndAFault) {
    std::set<std::string> names;
    for (const NamedCase& named : allCases()) names.insert(named.name);
    for (const auto& [name, fault] : kExpectedToFailToday) {
        EXPECT_TRUE(names.count(name)) << name << " is no case of the table";
        EXPECT_TRUE(kFaults.count(fault)) << name << " names fault " << fault << ", which is not known";
    }
}

}  // namespace
