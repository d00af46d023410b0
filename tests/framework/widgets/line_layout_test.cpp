#include "framework/LineLayout.hpp"

#include <QRandomGenerator>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Advances without a font: every character 10 wide, "W" 25, "i" 4, an astral character 30, so
// that each case below can be worked out by hand.
std::shared_ptr<fw::CharacterAdvances> handMadeAdvances() {
    return std::make_shared<fw::CharacterAdvances>([](QStringView c) -> double {
        if (c.size() == 2) return 30;
        if (c == u"W") return 25;
        if (c == u"i") return 4;
        return 10;
    });
}

// Each shown line's text, an LF shown as "|".
std::vector<std::string> shownLines(const fw::LineLayout& layout, const fw::TextBuffer& text) {
    std::vector<std::string> lines;
    for (qsizetype i = 0; i < layout.lineCount(); ++i) {
        const qsizetype end = i + 1 < layout.lineCount() ? layout.lineStart(i + 1) : text.size();
        lines.push_back(text.mid(layout.lineStart(i), end - layout.lineStart(i)).replace('\n', '|').toStdString());
    }
    return lines;
}

std::vector<qsizetype> starts(const fw::LineLayout& layout) {
    std::vector<qsizetype> all;
    for (qsizetype i = 0; i < layout.lineCount(); ++i) all.push_back(layout.lineStart(i));
    return all;
}

TEST(LineLayout, LinesBreakAtLineFeedsAndWrapAtTheWidth) {
    const struct {
        const char* what;
        QString text;
        bool wrapping;
        double width;
        std::vector<std::string> lines;
    } cases[] = {
        {"an empty text has one empty line", "", true, 100, {""}},
        {"a line feed at the end leaves an empty line", "ab\n", true, 100, {"ab|", ""}},
        {"line feeds in a row", "\n\n", true, 100, {"|", "|", ""}},
        {"a number fills each line to the edge", "12345678901234567", true, 50, {"12345", "67890", "12345", "67"}},
        {"exactly the width fits", "1234512345", true, 50, {"12345", "12345"}},
        {"prose breaks after the last blank that fits", "ab cdef", true, 50, {"ab ", "cdef"}},
        {"a blank that starts inside the line stays on it", "ab cd ef", true, 50, {"ab cd ", "ef"}},
        {"blanks hang past the edge", "abcd     ef", true, 50, {"abcd     ", "ef"}},
        {"a word longer than the line breaks anywhere", "ab cdefghij", true, 50, {"ab ", "cdefg", "hij"}},
        {"wide characters take more room", "WWWii", true, 60, {"WW", "Wii"}},
        {"a character wider than the line stands alone", "WW", true, 20, {"W", "W"}},
        {"a surrogate pair is never split",
         "a\xF0\x9F\x98\x80"
         "b",
         true,
         20,
         {"a", "\xF0\x9F\x98\x80", "b"}},
        {"after a hyphen between words", "ab-cdefg", true, 50, {"ab-", "cdefg"}},
        {"after a slash between words", "ab/cdefg", true, 50, {"ab/", "cdefg"}},
        {"but not before digits", "ab-12345", true, 50, {"ab-12", "345"}},
        {"nor at a point in a number", "ab1.2345", true, 50, {"ab1.2", "345"}},
        {"ideographs break anywhere",
         "\u4e00\u4e8c\u4e09\u56db\u4e94\u516d\u4e03",
         true,
         50,
         {"\u4e00\u4e8c\u4e09\u56db\u4e94", "\u516d\u4e03"}},
        {"without wrapping only line feeds break", "12345678901234567\n1", false, 50, {"12345678901234567|", "1"}},
    };
    for (const auto& c : cases) {
        fw::LineLayout layout(handMadeAdvances());
        const fw::TextBuffer text(c.text);
        layout.layOut(text, c.wrapping, c.width);
        EXPECT_EQ(shownLines(layout, text), c.lines) << c.what;
        EXPECT_EQ(layout.wraps(), c.wrapping) << c.what;
    }
}

// Each character is measured once for all the layouts after, a surrogate pair as well as any
// other: a text of a million emoji must not measure a million times.
TEST(LineLayout, EachCharacterIsMeasuredOnce) {
    std::vector<std::u16string> measured;
    const auto advances = std::make_shared<fw::CharacterAdvances>([&](QStringView c) {
        measured.push_back(c.toString().toStdU16String());
        return c.size() == 2 ? 30.0 : 10.0;
    });
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QString::fromUtf8(
            "\xF0\x9F\x98\x80"
            "a \xF0\x9D\x90\x80");
    fw::LineLayout layout(advances);
    layout.layOut(fw::TextBuffer(text), true, 100);
    layout.layOut(fw::TextBuffer(text), true, 170);
    // The layout measures the printable ASCII characters at once, and every other as it meets it.
    std::sort(measured.begin(), measured.end());
    EXPECT_EQ(std::adjacent_find(measured.begin(), measured.end()), measured.end()) << "a character measured twice";
    for (const std::u16string character : {u"\xD835\xDC00", u"\xD83D\xDE00", u" ", u"a"})
        EXPECT_TRUE(std::binary_search(measured.begin(), measured.end(), character)) << "not measured";
    EXPECT_EQ(layout.lineStart(1), 12)
        << "twice an emoji, a, a blank and a mathematical A fit, and an emoji may start a line";
}

TEST(LineLayout, PlacesOnALineAreSumsOfAdvancesAndAClickTakesTheNearerSide) {
    fw::LineLayout layout(handMadeAdvances());
    const fw::TextBuffer text(QStringLiteral("aWi\nb"));
    layout.layOut(text, true, 100);
    EXPECT_EQ(layout.xOf(text, 0, 0), 0);
    EXPECT_EQ(layout.xOf(text, 0, 2), 35);
    EXPECT_EQ(layout.xOf(text, 0, 3), 39);
    EXPECT_EQ(layout.lineEnd(text, 0), 3) << "before the line feed";
    EXPECT_EQ(layout.lineEnd(text, 1), 5);
    EXPECT_EQ(layout.lineWidth(text, 0, true), 39);
    const struct {
        double x;
        qsizetype position;
    } clicks[] = {{-5, 0}, {4, 0}, {6, 1}, {22, 1}, {23, 2}, {36, 2}, {38, 3}, {500, 3}};
    for (const auto& c : clicks) EXPECT_EQ(layout.positionAt(text, 0, c.x), c.position) << "x " << c.x;
    EXPECT_EQ(layout.lineOf(3), 0) << "the line feed belongs to its line";
    EXPECT_EQ(layout.lineOf(4), 1);
    EXPECT_EQ(layout.lineOf(5), 1) << "the end of the text";

    const fw::TextBuffer blanks(QStringLiteral("ab   cd"));
    layout.layOut(blanks, true, 40);
    ASSERT_EQ(layout.lineCount(), 2);
    EXPECT_EQ(layout.lineWidth(blanks, 0, true), 50);
    EXPECT_EQ(layout.lineWidth(blanks, 0, false), 20) << "hanging blanks left out";
}

// An edit lays out again only from the line before it until the old lines come back in step;
// whatever the edit, the lines must be those a fresh layout of the whole text gives.
TEST(LineLayout, EditsLeaveTheLinesThatAFreshLayoutGives) {
    QRandomGenerator random(20261211);
    const QString pieces[] = {"a ",
                              "W",
                              "ii",
                              "12345678901234567890",
                              "\n",
                              " ",
                              "  ",
                              "x",
                              QString(300, QLatin1Char('3')),
                              "two words ",
                              "\xF0\x9F\x98\x80",
                              "\n\n"};
    for (const double width : {37.0, 100.0, 250.0}) {
        for (const bool wrapping : {true, false}) {
            fw::LineLayout layout(handMadeAdvances());
            QString plain = QStringLiteral("start ");
            layout.layOut(fw::TextBuffer(plain), wrapping, width);
            for (int step = 0; step < 400; ++step) {
                const qsizetype at = random.bounded(static_cast<int>(plain.size() + 1));
                qsizetype removed = random.bounded(3) == 0 ? random.bounded(30) : 0;
                removed = std::min(removed, plain.size() - at);
                const QString added = random.bounded(4) == 0 ? QString() : pieces[random.bounded(12)];
                plain.replace(at, removed, added);
                const fw::TextBuffer text(plain);
                layout.update(text, at, removed, added.size());
                fw::LineLayout fresh(handMadeAdvances());
                fresh.layOut(text, wrapping, width);
                ASSERT_EQ(starts(layout), starts(fresh))
                    << "width " << width << (wrapping ? " wrapped" : " unwrapped") << ", step " << step << ": "
                    << removed << " replaced by \"" << added.toStdString() << "\" at " << at;
            }
        }
    }
}

// The lines by the rule itself, one character after another: a line breaks before the
// character that takes it past the width, or after the last blank before that character.
std::vector<qsizetype> greedyStarts(const QString& text, double width) {
    const auto advance = [&](qsizetype i) -> double {
        const char16_t c = text.at(i).unicode();
        if (c == u'\n' || QChar::isLowSurrogate(c)) return 0;
        if (QChar::isHighSurrogate(c)) return 30;
        return c == u'W' ? 25 : c == u'i' ? 4 : 10;
    };
    std::vector<qsizetype> starts{0};
    double x = 0;
    qsizetype afterBlank = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n')) {
            starts.push_back(i + 1);
            x = 0;
            afterBlank = -1;
            continue;
        }
        x += advance(i);
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            afterBlank = i + 1;
        } else if (x > width && i > starts.back() && !c.isLowSurrogate()) {
            const qsizetype start = afterBlank > starts.back() ? afterBlank : i;
            starts.push_back(start);
            afterBlank = -1;
            x = 0;
            i = start - 1;
        }
    }
    return starts;
}

// Long texts are laid out in pieces on several threads, and lines of one advance are counted
// rather than laid out; whatever the text, the lines must be the rule's.
TEST(LineLayout, ALongTextLaidOutInPiecesHasTheRulesLines) {
    QRandomGenerator random(20261212);
    const auto build = [&](qsizetype length, const QString& alphabet, int lineFeedEvery) {
        QString text;
        text.reserve(length);
        while (text.size() < length) {
            text += alphabet.at(random.bounded(static_cast<int>(alphabet.size())));
            if (lineFeedEvery && random.bounded(lineFeedEvery) == 0) text += QLatin1Char('\n');
        }
        return text;
    };
    const struct {
        const char* what;
        QString text;
    } cases[] = {
        {"a number", QString(6'000'000, QLatin1Char('7'))},
        {"a number with a few wide digits",
         [&] {
             QString number(6'000'000, QLatin1Char('3'));
             for (int i = 0; i < 40; ++i) number[random.bounded(6'000'000)] = QLatin1Char('W');
             return number;
         }()},
        {"digits of two widths", build(5'000'000, "0123W", 0)},
        {"digits and narrow ones", build(5'000'000, "12345678i", 0)},
        {"words", build(5'000'000, "abcdefg     W", 0)},
        {"short lines", build(5'000'000, "12345", 40)},
        {"a number and line feeds", build(5'000'000, "7", 300'000)},
        {"a repeating fraction", QString("1745W").repeated(1'000'000)},
        {"a repeating fraction, then another", QString("1745W").repeated(500'000) + QString("3W3i").repeated(600'000) +
                                                   build(100'000, "0123W", 0) + QString("ab cd ").repeated(300'000)},
        {"repeating words", QString("word, longer word, ").repeated(250'000)},
    };
    for (const auto& c : cases) {
        for (const double width : {196.0, 37.0}) {
            fw::LineLayout layout(handMadeAdvances());
            const fw::TextBuffer text(c.text);
            layout.layOut(text, true, width);
            const std::vector<qsizetype> expected = greedyStarts(c.text, width);
            ASSERT_EQ(layout.lineCount(), static_cast<qsizetype>(expected.size())) << c.what << ", width " << width;
            for (std::size_t i = 0; i < expected.size(); i += 1 + i % 97)
                ASSERT_EQ(layout.lineStart(static_cast<qsizetype>(i)), expected[i]) << c.what << ": line " << i;
            ASSERT_EQ(layout.lineStart(layout.lineCount() - 1), expected.back()) << c.what;
            for (int probe = 0; probe < 1000; ++probe) {
                const qsizetype at = random.bounded(static_cast<int>(c.text.size()));
                const auto line =
                    static_cast<qsizetype>(std::upper_bound(expected.begin(), expected.end(), at) - expected.begin()) -
                    1;
                ASSERT_EQ(layout.lineOf(at), line) << c.what << ": position " << at;
            }
        }
    }
}

// An edit in a long number, or a repeating fraction, lays out only the lines at the edit and
// counts the others: its lines must still be the rule's, wherever the edit is and whatever it
// puts in.
TEST(LineLayout, EditsInALongNumberKeepTheRulesLines) {
    QRandomGenerator random(20261213);
    const QString pieces[] = {"1", "W", "i", "  ", "\n", "5555555555", "word ", QString(100'000, QLatin1Char('8'))};
    for (QString plain : {QString(3'000'000, QLatin1Char('7')), QString("1745W").repeated(600'000)}) {
        fw::LineLayout layout(handMadeAdvances());
        layout.layOut(fw::TextBuffer(plain), true, 196);
        for (int step = 0; step < 40; ++step) {
            const qsizetype at = random.bounded(static_cast<int>(plain.size() + 1));
            const qsizetype removed =
                std::min<qsizetype>(random.bounded(3) == 0 ? random.bounded(200) : 0, plain.size() - at);
            const QString& added = pieces[random.bounded(8)];
            plain.replace(at, removed, added);
            layout.update(fw::TextBuffer(plain), at, removed, added.size());
            const std::vector<qsizetype> expected = greedyStarts(plain, 196);
            ASSERT_EQ(layout.lineCount(), static_cast<qsizetype>(expected.size())) << "step " << step;
            for (int probe = 0; probe < 200; ++probe) {
                const auto line = random.bounded(static_cast<int>(expected.size()));
                ASSERT_EQ(layout.lineStart(line), expected[static_cast<std::size_t>(line)])
                    << "step " << step << ": line " << line << " after " << removed << " replaced by \""
                    << added.left(20).toStdString() << "\" at " << at;
            }
        }
    }
}

}  // namespace
