#include "framework/TextBoundaries.hpp"

#include <QString>

#include <gtest/gtest.h>

#include <string>

namespace {

// The text as pieces, so that a word or a cluster runs over the seams between them.
fw::TextBuffer inPieces(const QString& text, qsizetype every) {
    fw::TextBuffer buffer;
    for (qsizetype at = 0; at < text.size(); at += every) buffer.append(text.mid(at, every));
    return buffer;
}

// Each case: a text with "|" where the caret starts, and where each move leaves it.
struct Move {
    const char* text;
    qsizetype (*move)(const fw::TextBuffer&, qsizetype);
    const char* expected;
};

std::string moved(const Move& m, qsizetype every) {
    QString text = QString::fromUtf8(m.text);
    const qsizetype from = text.indexOf(QLatin1Char('|'));
    text.remove(from, 1);
    const qsizetype to = m.move(inPieces(text, every), from);
    return text.insert(to, QLatin1Char('|')).toStdString();
}

TEST(TextBoundaries, WordsEndAtBlanksLineBreaksAndPunctuationAsInQtsEditors) {
    using B = fw::TextBoundaries;
    const Move moves[] = {
        {"|one two", B::nextWord, "one |two"},
        {"o|ne   two", B::nextWord, "one   |two"},
        {"one|, two", B::nextWord, "one, |two"},
        {"|12<36>7", B::nextWord, "12|<36>7"},
        {"12|<36>7", B::nextWord, "12<|36>7"},
        {"|3.14", B::nextWord, "3|.14"},
        {"|snake_case x", B::nextWord, "snake_case |x"},
        {"one|\ntwo", B::nextWord, "one\n|two"},
        {"one|  \ntwo", B::nextWord, "one  |\ntwo"},
        {"one  |\ntwo", B::nextWord, "one  \n|two"},
        {"tw|o", B::nextWord, "two|"},
        {"one two|", B::previousWord, "one |two"},
        {"one   |two", B::previousWord, "|one   two"},
        {"one, two.|", B::previousWord, "one, two|."},
        {"7 12<36>8|", B::previousWord, "7 12<36>|8"},
        {"one\n|two", B::previousWord, "one|\ntwo"},
        {"\n  |two", B::previousWord, "\n|  two"},
        {"|x", B::previousWord, "|x"},
    };
    for (const Move& m : moves)
        for (const qsizetype every : {qsizetype{100}, qsizetype{1}, qsizetype{2}})
            EXPECT_EQ(moved(m, every), m.expected) << m.text << " in pieces of " << every;
}

TEST(TextBoundaries, CharactersAreGraphemeClusters) {
    using B = fw::TextBoundaries;
    const Move moves[] = {
        {"|e\u0301x", B::nextCharacter, "e\u0301|x"},
        {"e\u0301|x", B::previousCharacter, "|e\u0301x"},
        {"|\U0001F1E9\U0001F1EAx", B::nextCharacter, "\U0001F1E9\U0001F1EA|x"},
        {"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7|", B::previousCharacter,
         "\U0001F1E9\U0001F1EA|\U0001F1EB\U0001F1F7"},
        {"|\U0001F44D\U0001F3FDx", B::nextCharacter, "\U0001F44D\U0001F3FD|x"},
        {"|\U0001F600", B::nextCharacter, "\U0001F600|"},
        {"a|\r\nb", B::nextCharacter, "a\r\n|b"},
        {"ab|", B::nextCharacter, "ab|"},
        {"|ab", B::previousCharacter, "|ab"},
    };
    for (const Move& m : moves)
        for (const qsizetype every : {qsizetype{100}, qsizetype{1}})
            EXPECT_EQ(moved(m, every), m.expected) << m.text << " in pieces of " << every;
}

// What a double click selects: the word it lands on, a run of marks, the word before blanks.
TEST(TextBoundaries, ADoubleClickSelectsAWordAMarkOrTheWordBeforeBlanks) {
    const struct {
        const char* text;
        qsizetype at;
        qsizetype first, second;
    } cases[] = {
        {"one two three", 5, 4, 7}, {"one   two", 4, 0, 3}, {"one, two", 3, 3, 4}, {"x 3.14 y", 3, 3, 4},
        {"one", 3, 0, 3},           {"one ", 4, 4, 4},      {"a\nbc", 2, 2, 4},    {"--x", 1, 0, 2},
    };
    for (const auto& c : cases) {
        const auto [first, second] = fw::TextBoundaries::wordAt(fw::TextBuffer(QString::fromUtf8(c.text)), c.at);
        EXPECT_EQ(std::make_pair(first, second), std::make_pair(c.first, c.second)) << c.text << " at " << c.at;
    }
}

// A word as long as a number of millions of digits is read through, a stretch at a time.
TEST(TextBoundaries, AWordAsLongAsTheTextIsReadThrough) {
    const QString number(3'000'000, QLatin1Char('7'));
    const fw::TextBuffer text = inPieces(number + " x", 4096);
    EXPECT_EQ(fw::TextBoundaries::nextWord(text, 5), 3'000'001);
    EXPECT_EQ(fw::TextBoundaries::previousWord(text, 3'000'000), 0);
    EXPECT_EQ(fw::TextBoundaries::paragraphAt(text, 1'000'000), std::make_pair(qsizetype{0}, text.size()));
}

}  // namespace
