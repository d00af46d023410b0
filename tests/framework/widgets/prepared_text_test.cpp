// A text made ready off the event loop: decoded in pieces at once, it must come out as the one
// decoder of Qt gives it, invalid bytes and pieces that meet inside a character included, and a
// text area must show it as it would show the same bytes given through SetText.

#include "WidgetTestSupport.hpp"

#include "framework/ParallelUtf8.hpp"
#include "framework/PreparedText.hpp"

#include <QRandomGenerator>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using namespace widgettest;

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += digits[byte >> 4];
        out += digits[byte & 15];
        out += ' ';
    }
    return out;
}

void ExpectDecodedAsFromUtf8(const std::string& bytes, int pieces) {
    const QString expected = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QString decoded = fw::parallelutf8::Decode(bytes, pieces);
    EXPECT_EQ(decoded, expected) << pieces << " pieces of " << Hex(bytes);
}

TEST(ParallelUtf8, PiecesDecodeAsTheWholeDecodesWhereverTheyMeet) {
    const std::vector<std::string> texts = {
        "",
        "0123456789ABCDEF<36><65535>.b^-/e",
        "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80 three lengths of sequence",
        "\xEF\xBB\xBF"
        "a mark at the start, and\xEF\xBB\xBF one inside",
        "stray \x80\x80\x80\x80\x80 continuation bytes",
        "cut short \xE2\x82 before a letter, \xF0\x9F\x98 before a lead \xC3\xA4, at the end \xE2",
        "overlong \xC0\xAF \xE0\x80\xAF, a surrogate \xED\xA0\x80\xED\xB0\x80, past the range \xF4\x90\x80\x80",
        "bytes that never occur \xF5\xFE\xFF, a zero \0 in the middle",
        "line\rbreaks\r\nof\nevery kind",
        std::string(40, '\x80'),
        "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
    };
    for (const std::string& text : texts)
        for (int pieces = 1; pieces <= 12; ++pieces) ExpectDecodedAsFromUtf8(text, pieces);

    // Random bytes, most of them where sequences begin, end or break.
    const char alphabet[] = "a7\x80\xBF\xC2\xC3\xDF\xE0\xE2\xED\xEF\xF0\xF4\xF5\xFF\r\n";
    QRandomGenerator random(20260106);
    for (int round = 0; round < 400; ++round) {
        std::string bytes(random.bounded(300u), ' ');
        for (char& c : bytes) c = alphabet[random.bounded(static_cast<quint32>(sizeof alphabet - 1))];
        ExpectDecodedAsFromUtf8(bytes, 1 + random.bounded(9));
    }
}

TEST(ParallelUtf8, OnlyLongTextsAreCutIntoPieces) {
    EXPECT_EQ(fw::parallelutf8::PiecesFor(0), 1);
    EXPECT_EQ(fw::parallelutf8::PiecesFor(100'000), 1);
    EXPECT_GE(fw::parallelutf8::PiecesFor(1'000'000'000), 1);
    EXPECT_LE(fw::parallelutf8::PiecesFor(1'000'000'000), 8);
}

using PreparedTexts = WidgetTest;

TEST_F(PreparedTexts, APreparedTextShowsAsTheSameBytesDoThroughSetText) {
    auto window = Scratch();
    auto given = window->add<fw::TextArea>("Given", fw::Record({{"Width", 208}, {"Height", 196}}));
    auto prepared = window->add<fw::TextArea>("Prepared", fw::Record({{"Width", 208}, {"Height", 196}}));
    std::string number(20'000'000, '0');
    for (std::size_t i = 0; i < number.size(); ++i) number[i] = static_cast<char>('0' + (i * 7 + 3) % 10);
    number[12'345'678] = '\xC3';  // a character of two bytes, and half a one, far inside
    number[12'345'679] = '\xA4';
    number[17'000'000] = '\xE2';
    const std::vector<std::string> texts = {
        "",     "17C6E3C032F89045AD746684045F15", "a\rb\r\nc\nd", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "bad \xFF",
        number,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(Hex(text.substr(0, 40)));
        given->SetText(fw::String(text));
        // Decoded alone, laid out for the pane where it was made, and laid out for a width
        // that the pane no longer has when it takes the text.
        for (int way = 0; way < 3; ++way) {
            SCOPED_TRACE(way);
            prepared->SetText("an earlier text");
            fw::PreparedText ready;
            if (way == 0) {
                ready = fw::PreparedText(fw::String(text));
            } else {
                if (way == 2) prepared->SetWidth(120);
                const fw::TextPreparer preparer(*prepared);
                prepared->SetWidth(208);
                ready = preparer.Prepare(fw::String(text));
            }
            prepared->SetPreparedText(std::move(ready));
            EXPECT_EQ(prepared->Text(), given->Text());
            ASSERT_EQ(viewOf(*prepared)->lineCount(), viewOf(*given)->lineCount());
            for (qsizetype line = 0; line < viewOf(*given)->lineCount(); line += 997)
                ASSERT_EQ(viewOf(*prepared)->lineStart(line), viewOf(*given)->lineStart(line)) << line;
            EXPECT_EQ(viewOf(*prepared)->cursorPosition(), 0);
        }
    }
    const fw::PreparedText empty;
    EXPECT_TRUE(empty.Held());
}

// The test below cuts the address space down in a child process, so that holding a long text
// fails there as it would on a machine out of memory; the sanitizers reserve address space of
// their own, which makes such a cut meaningless.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

rlim_t mappedNowAnd(rlim_t more) {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) * pages + more;
}

TEST_F(PreparedTexts, ATextMemoryCannotHoldIsNotHeldAndTheAreaSaysSo) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    area->SetText("an earlier result");
    const fw::String number(std::string(200'000'000, '7'));
    const auto prepareInLittleMemory = [&] {
        const rlim_t room = mappedNowAnd(100u << 20);
        const rlimit cut{room, room};
        if (setrlimit(RLIMIT_AS, &cut) != 0) std::_Exit(2);
        // Adopted, the number is not copied on its way in.
        fw::PreparedText text(fw::String::Adopt(number.view(), std::make_shared<int>(0)));
        if (text.Held()) std::_Exit(3);
        area->SetPreparedText(std::move(text));
        std::_Exit(area->Text().bytes().find("not enough memory") != std::string::npos ? 0 : 4);
    };
    EXPECT_EXIT(prepareInLittleMemory(), testing::ExitedWithCode(0), "");
}

#endif

}  // namespace
