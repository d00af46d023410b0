// Our text view against Qt's QPlainTextEdit, key by key and click by click: each case of the
// table is played on both, set up alike, and must leave both with the same text, caret, anchor,
// rows, scrolling, focus, clipboard and undo history.

#include "EditorCases.hpp"
#include "EditorPlayer.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>

using namespace sidebyside;

namespace sidebyside {
// A case is shown by its name where a test's parameter is printed.
void PrintTo(const NamedCase& named, std::ostream* out) { *out << named.name; }
}  // namespace sidebyside

namespace {

// The faults our view is known to have beside Qt's, by number: first those found by hand, then
// those that this table found.
const std::map<int, const char*> kFaults = {
    {1, "the top row shown: Up moves two rows, a click in the top margin lands on the hidden row above"},
    {2,
     "Up and Down from a wrapped row's end land on the wrong row: the view keeps the caret after a row's end, "
     "where Qt keeps no such state and shows it at the next row's start"},
    {3,
     "End on a word-wrapped row goes past the blank, and a click right of a wrapped row lands on the next row; "
     "Qt stays on the row, before the blank or the last character"},
    {4,
     "word keys: Ctrl+Right stops at the word's end, Ctrl+Delete leaves the blank, punctuation and \"<36>\" are "
     "no word boundaries, for the keys nor for a double click"},
    {5, "a read-only view moves an invisible caret instead of scrolling; End does nothing visible"},
    {6, "grapheme clusters split by Left, Right, Shift+Right and Delete"},
    {7,
     "undo steps, Up and Down at the text's ends, triple click, drag by words after a double click, tabs, Page "
     "Down"},
    {8,
     "a character typed as one key is dropped when it lies beyond the first plane (an emoji) or is a format "
     "character (a zero-width joiner)"},
    {9, "Backspace, Delete and Return still edit with Ctrl, Alt or Meta held, keys Qt leaves alone"},
    {10, "Select All scrolls to the text's end, where Qt leaves the view as it was"},
    {11,
     "a click above the first row keeps its column and one below the last row too; Qt goes to the row's start "
     "and to the text's end"},
    {12,
     "a line break stops neither Ctrl+Left nor Ctrl+Right, and a double click on a blank selects nothing; Qt "
     "stops at the line's end or start and selects the word before the blank"},
    {13,
     "without wrapping, Up and Down lose their column once the view has scrolled sideways, and a caret that "
     "leaves the view sideways is brought to its edge, where Qt brings it to the middle"},
    {14,
     "the X11 desktop's own bindings, played only there: Ctrl+D deletes and Ctrl+K deletes to the line's end in "
     "Qt's editor, and neither in ours"},
};

// The cases in which our view differs from Qt's today, each with the fault it shows. A case that
// comes to match Qt's fails until it is taken out, so the set stays exact as the view is mended.
const std::map<std::string, int> kExpectedToFailToday = {
    {"Arrows_UpFromTheTopRowShown", 1},
    {"Arrows_ShiftUpFromTheTopRowShown", 1},
    {"Mouse_ClickInTheTopMarginOfAScrolledView", 1},
    {"Arrows_DownFromTheEndOfAWrappedRowOfWords", 2},
    {"Arrows_UpFromTheEndOfAWrappedRowOfWords", 2},
    {"HomeEnd_EndOnAWrappedNumber", 2},
    {"HomeEnd_EndOnWrappedProse", 3},
    {"HomeEnd_EndOnWrappedProseThenType", 3},
    {"HomeEnd_ShiftEndOnWrappedProse", 3},
    {"Mouse_ClickRightOfAWrappedNumberRow", 3},
    {"Mouse_ClickRightOfAWrappedRowOfWords", 3},
    {"Mouse_ClickRightOfAWrappedRowOfWordsThenType", 3},
    {"Words_NextWordGoesToTheNextWordsStart", 4},
    {"Words_NextWordFromInsideAWord", 4},
    {"Words_NextWordOverRunsOfBlanks", 4},
    {"Words_NextWordOverPunctuation", 4},
    {"Words_NextWordOverAnAngleDigit", 4},
    {"Words_PreviousWordOverPunctuation", 4},
    {"Words_PreviousWordOverAnAngleDigit", 4},
    {"Words_ShiftCtrlRightSelectsAWord", 4},
    {"Words_CtrlDeleteTakesTheWordAndItsBlank", 4},
    {"Words_CtrlDeleteFromInsideAWord", 4},
    {"Words_CtrlDeleteOverPunctuation", 4},
    {"Words_CtrlDeleteOverAnAngleDigit", 4},
    {"Words_CtrlBackspaceOverPunctuation", 4},
    {"Words_CtrlBackspaceOverAnAngleDigit", 4},
    {"Mouse_DoubleClickOnPunctuation", 4},
    {"Mouse_DoubleClickOnANumberWithABasePoint", 4},
    {"ReadOnly_DownScrolls", 5},
    {"ReadOnly_UpScrolls", 5},
    {"ReadOnly_ShiftDownScrolls", 5},
    {"ReadOnly_PageDownScrolls", 5},
    {"ReadOnly_PageDownInTheHelpWindowsSize", 5},
    {"ReadOnly_PageUpScrolls", 5},
    {"ReadOnly_EndScrollsToTheEnd", 5},
    {"ReadOnly_CtrlEnd", 5},
    {"ReadOnly_RightMovesNothing", 5},
    {"ReadOnly_RightScrollsAWideLineSideways", 5},
    {"Clusters_RightOverADecomposedE", 6},
    {"Clusters_ShiftRightOverADecomposedE", 6},
    {"Clusters_LeftOverADecomposedE", 6},
    {"Clusters_DeleteADecomposedE", 6},
    {"Clusters_RightOverAFlag", 6},
    {"Clusters_ShiftLeftOverAFlag", 6},
    {"Clusters_DeleteAFlag", 6},
    {"Clusters_RightOverAnEmojiWithASkinTone", 6},
    {"Clusters_DeleteAnEmojiWithASkinTone", 6},
    {"Arrows_UpOnTheFirstLine", 7},
    {"Arrows_DownOnTheLastLine", 7},
    {"Pages_PageDownMovesByWhatIsShown", 7},
    {"Pages_PageDownTwice", 7},
    {"Pages_ShiftPageDownSelects", 7},
    {"Pages_PageDownInAWrappedNumber", 7},
    {"Undo_ARunOfBackspacesIsOneStep", 7},
    {"Undo_ARunOfDeletesIsOneStep", 7},
    {"Undo_TypingAfterAPasteIsAStepOfItsOwn", 7},
    {"Undo_TypingAfterBackspacesIsAStepOfItsOwn", 7},
    {"Undo_TypingOverASelection", 7},
    {"Mouse_TripleClickSelectsTheLine", 7},
    {"Mouse_TripleClickOnAWrappedLine", 7},
    {"Mouse_DoubleClickThenDragExtendsByWords", 7},
    {"Mouse_DoubleClickThenDragBackwards", 7},
    {"Tabs_ATabReachesTheNextTabStop", 7},
    {"Tabs_TabsWrapAtTheirStops", 7},
    {"Typing_TypingASurrogatePairAsOneKey", 8},
    {"Typing_TypingAZeroWidthJoiner", 8},
    {"Typing_CtrlShiftBackspaceDeletesNothing", 9},
    {"Typing_AltDeleteDeletesNothing", 9},
    {"Typing_CtrlReturnBreaksNoLine", 9},
    {"Typing_AltReturnBreaksNoLine", 9},
    {"Clipboard_SelectAllSelectsTheWholeText", 10},
    {"Mouse_ClickInTheTopMarginAtTheTop", 11},
    {"Mouse_ClickBelowTheText", 11},
    {"Words_NextWordAcrossALineBreak", 12},
    {"Words_PreviousWordAcrossALineBreak", 12},
    {"Mouse_DoubleClickOnABlank", 12},
    {"Unwrapped_RightAtTheEdgeScrollsSideways", 13},
    {"Typing_CtrlKTakesTheRestOfTheLine", 14},
    {"Typing_DeleteByItsOtherBinding", 14},
    {"Unwrapped_DownKeepsTheColumnPastAShortLine", 13},
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
    if (const std::optional<std::string> why = whyNotHere(c)) GTEST_SKIP() << *why;

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

// Without the font, or with another style's frame or scroll bar, the cases would try other rows
// than they say.
TEST(TextViewVsQtTable, ThePanesSizeAndFontGiveTheRowsTheCasesCountOn) {
    Case c{"rows", {}, {key(QKeySequence::MoveToEndOfDocument)}};
    c.setup.text = QString(3 * kDigitsARow, QLatin1Char('7')) + QString(40, QLatin1Char('\n'));
    for (const EditorStage::Kind kind : {EditorStage::Kind::Qt, EditorStage::Kind::Ours}) {
        const Outcome o = play(kind, c);
        ASSERT_GE(o.rows.size(), 2u);
        EXPECT_EQ(o.rows[1], kDigitsARow) << "digits a row";
        EXPECT_EQ(o.topRow, static_cast<int>(o.rows.size()) - kRowsShown) << "rows in sight";
    }
}

TEST(TextViewVsQtTable, EveryKnownDifferenceNamesACaseAndAFault) {
    std::set<std::string> names;
    for (const NamedCase& named : allCases()) names.insert(named.name);
    for (const auto& [name, fault] : kExpectedToFailToday) {
        EXPECT_TRUE(names.count(name)) << name << " is no case of the table";
        EXPECT_TRUE(kFaults.count(fault)) << name << " names fault " << fault << ", which is not known";
    }
}

}  // namespace
