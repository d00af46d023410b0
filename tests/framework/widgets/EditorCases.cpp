#include "EditorCases.hpp"

#include <QStringList>

namespace sidebyside {

namespace {

// "line 00" to "line NN", one a line.
QString numberedLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) lines << QStringLiteral("line %1").arg(i, 2, 10, QLatin1Char('0'));
    return lines.join(QLatin1Char('\n'));
}

// Words that wrap between them, a row holding several.
QString prose(int words) {
    static const char* const vocabulary[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta"};
    QStringList out;
    for (int i = 0; i < words; ++i) out << QString::fromLatin1(vocabulary[i % 8]);
    return out.join(QLatin1Char(' '));
}

// The text with the caret, and the anchor when there is a selection, marked in it.
QString mark(QString text, qsizetype cursor, qsizetype anchor = -1) {
    if (anchor > cursor) text.insert(anchor, QLatin1Char('^'));
    text.insert(cursor, QLatin1Char('|'));
    if (anchor >= 0 && anchor < cursor) text.insert(anchor, QLatin1Char('^'));
    return text;
}

Setup start(const QString& text) {
    Setup s;
    s.text = text;
    return s;
}
Setup scrolled(Setup s, int topRow) {
    s.topRow = topRow;
    return s;
}
Setup readOnly(Setup s) {
    s.readOnly = true;
    return s;
}

constexpr qsizetype numbered(int line, int column = 0) { return 8 * line + column; }

using K = QKeySequence;

std::vector<CaseGroup> buildGroups() {
    return {
        {"Arrows",
         {
             {"UpOnTheFirstLine", start("ab|c\ndef"), {key(K::MoveToPreviousLine)}},
             {"UpFromTheTopRowShown",
              scrolled(start(mark(numberedLines(30), numbered(10, 3))), 10),
              {key(K::MoveToPreviousLine)}},
             {"UpAndDownKeepTheColumnOverAShortLine",
              start("abcdef|\nab\nabcdefgh"),
              {key(K::MoveToNextLine), record(), key(K::MoveToNextLine)}},
         }},
        {"HomeEnd", {{"EndOnWrappedProseThenType", start(mark(prose(20), 2)), {key(K::MoveToEndOfLine), type("X")}}}},
        {"Words", {{"NextWordGoesToTheNextWordsStart", start("|one two three"), {key(K::MoveToNextWord)}}}},
        {"Clusters", {{"RightOverADecomposedE", start(QStringLiteral("|e\u0301x")), {key(K::MoveToNextChar)}}}},
        {"Undo",
         {{"ARunOfBackspacesIsOneStep",
           start("abc|"),
           {key(Qt::Key_Backspace, Qt::NoModifier, 3), record(), key(K::Undo), record()}}}},
        {"Clipboard", {{"CutTakesTheSelectionOut", start("a^bc|d"), {key(K::Cut)}}}},
        {"Mouse",
         {
             {"DoubleClickSelectsAWord", start("one two three"), {doubleClick(at(0, 5))}},
             {"TripleClickSelectsTheLine", start("one two\nthree"), {tripleClick(at(0, 5))}},
         }},
        {"ReadOnly", {{"DownScrolls", readOnly(start(numberedLines(40))), {key(K::MoveToNextLine, 3)}}}},
        {"Focus", {{"TabMovesTheFocusOn", start("ab|c"), {key(Qt::Key_Tab)}}}},
    };
}

}  // namespace

const std::vector<CaseGroup>& caseGroups() {
    static const std::vector<CaseGroup> groups = buildGroups();
    return groups;
}

std::vector<NamedCase> allCases() {
    std::vector<NamedCase> all;
    for (const CaseGroup& group : caseGroups())
        for (const Case& c : group.cases) all.push_back({std::string(group.name) + "_" + c.name, c});
    return all;
}

}  // namespace sidebyside
