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

// The faults our view is known to have beside Qt's, by number, and the cases that show them. The
// table found fourteen, all mended since, on this platform and on X (tests/e2e/keys_on_x.sh);
// a fault found later goes here with its cases until it is mended.
const std::map<int, const char*> kFaults = {};

// The cases in which our view differs from Qt's today, each with the fault it shows. A case that
// comes to match Qt's fails until it is taken out, so the set stays exact as the view is mended.
const std::map<std::string, int> kExpectedToFailToday = {};

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
