#include "framework/TextBuffer.hpp"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <string>

namespace {

std::string all(const fw::TextBuffer& text) { return text.toString().toStdString(); }

// Every character read a stretch at a time, as the layout reads them.
QString byStretches(const fw::TextBuffer& text) {
    QString read;
    for (qsizetype at = 0; at < text.size();) {
        const QStringView stretch = text.stretch(at);
        EXPECT_FALSE(stretch.isEmpty()) << "at " << at;
        read += stretch;
        at += stretch.size();
    }
    return read;
}

TEST(TextBuffer, AReplacementTakesOutWhatItReplacesAndIsTakenBackWhole) {
    const struct {
        const char* what;
        qsizetype position, length;
        QString with;
        std::string after, removed;
    } cases[] = {
        {"an insertion", 2, 0, "xy", "12xy345", ""},          {"a removal", 1, 3, "", "15", "234"},
        {"a replacement", 0, 2, "abc", "abc345", "12"},       {"the whole text", 0, 5, "new", "new", "12345"},
        {"the whole text by nothing", 0, 5, "", "", "12345"}, {"at the end", 5, 0, "6", "123456", ""},
    };
    for (const auto& c : cases) {
        fw::TextBuffer text(QStringLiteral("12345"));
        fw::TextBuffer::Replaced replaced = text.replace(c.position, c.length, fw::TextBuffer(c.with));
        EXPECT_EQ(all(text), c.after) << c.what;
        EXPECT_EQ(byStretches(text).toStdString(), c.after) << c.what;
        EXPECT_EQ(all(replaced.removed), c.removed) << c.what;
        EXPECT_EQ(replaced.added, c.with.size()) << c.what;
        text.restore(std::move(replaced));
        EXPECT_EQ(all(text), "12345") << c.what << " taken back";
    }
}

// Random edits of a long text, against the same edits of a plain string: the characters, read in
// every way, must be the string's, and typing must not leave a piece a character.
TEST(TextBuffer, EditsOfALongTextKeepItsCharactersAndFewPieces) {
    QRandomGenerator random(20261215);
    QString plain(200'000, QLatin1Char('7'));
    fw::TextBuffer text(plain);
    const QString inserts[] = {"1", "22", "\n", QString::fromUtf8("\xF0\x9F\x98\x80"), QString(9000, QLatin1Char('5'))};
    qsizetype caret = 100'000;
    for (int step = 0; step < 3000; ++step) {
        // Mostly typing and erasing where the caret is, as a user does; now and then elsewhere.
        if (random.bounded(50) == 0) caret = random.bounded(static_cast<int>(plain.size() + 1));
        caret = std::min(caret, plain.size());
        const qsizetype removed =
            random.bounded(4) == 0 ? std::min<qsizetype>(random.bounded(3), plain.size() - caret) : 0;
        const QString& added = random.bounded(10) == 0 ? inserts[random.bounded(5)] : inserts[0];
        fw::TextBuffer::Replaced replaced = text.replace(caret, removed, fw::TextBuffer(added));
        ASSERT_EQ(replaced.removed.toString(), plain.mid(caret, removed)) << "step " << step;
        plain.replace(caret, removed, added);
        caret += added.size();
        ASSERT_EQ(text.size(), plain.size()) << "step " << step;
    }
    EXPECT_EQ(byStretches(text), plain);
    EXPECT_EQ(text.mid(99'990, 40), plain.mid(99'990, 40));
    EXPECT_EQ(text.at(150'000), plain.at(150'000));
    EXPECT_EQ(text.slice(1'000, 50'000).toString(), plain.mid(1'000, 50'000));
    EXPECT_LT(text.pieceCount(), 400) << "3000 keys left as many pieces";
    EXPECT_EQ(text.toUtf8(), plain.toUtf8());
    EXPECT_EQ(text.toString(), plain);
    EXPECT_EQ(text.pieceCount(), 1) << "a text read whole is kept whole";
}

TEST(TextBuffer, PiecesAreReadByPositionAndClampedToTheText) {
    const fw::TextBuffer text(QStringLiteral("abc\ndef"));
    EXPECT_EQ(text.size(), 7);
    EXPECT_EQ(text.at(3), QLatin1Char('\n'));
    EXPECT_EQ(text.mid(2, 3), "c\nd");
    EXPECT_EQ(text.mid(5, 10), "ef");
    EXPECT_TRUE(fw::TextBuffer().isEmpty());
}

}  // namespace
