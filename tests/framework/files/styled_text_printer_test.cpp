#include "framework/Exceptions.hpp"
#include "framework/StyledTextPrinter.hpp"
#include "RecordingGraphics.hpp"

#include <QFont>
#include <QFontMetricsF>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

struct DrawnLine {
    double baseline;
    double left;
    std::string text;
};

// The text runs of the log from index `from` on, joined into lines by their baseline.
std::vector<DrawnLine> linesFrom(const std::vector<PageEvent>& log, std::size_t from) {
    std::map<long, DrawnLine> byBaseline;
    for (std::size_t i = from; i < log.size(); ++i) {
        if (log[i].kind != PageEvent::Text) continue;
        DrawnLine& line = byBaseline[std::lround(log[i].at.y() * 100)];
        if (line.text.empty()) line = {log[i].at.y(), log[i].at.x(), {}};
        line.text += log[i].text.toStdString();
    }
    std::vector<DrawnLine> lines;
    for (auto& [key, line] : byBaseline) lines.push_back(line);
    return lines;
}

std::unique_ptr<QTextDocument> numberedLines(int count) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont("DejaVu Sans", 10));
    QString text;
    for (int i = 1; i <= count; ++i) text += QStringLiteral("line %1\n").arg(i);
    text.chop(1);
    document->setPlainText(text);
    return document;
}

// Draws block after block until the end (with a bound, so a printer that never ends fails
// instead of hanging); one entry of lines per block.
std::vector<std::vector<DrawnLine>> printAll(fw::StyledTextPrinter& printer, RecordingGraphics& page, std::int32_t x,
                                             std::int32_t y, std::int32_t height) {
    std::vector<std::vector<DrawnLine>> blocks;
    for (int guard = 0; guard < 10000 && !printer.Eof(); ++guard) {
        const std::size_t before = page.log.size();
        printer.DrawBlock(x, y, height);
        blocks.push_back(linesFrom(page.log, before));
    }
    EXPECT_TRUE(printer.Eof());
    return blocks;
}

TEST(StyledTextPrinterTest, EveryLineOnceInRunsOfWholeLinesThatFillTheHeight) {
    auto document = numberedLines(200);
    RecordingGraphics page(400, 300);
    auto printer = fw::StyledTextPrinter::Create(*document, page, 400);
    const auto blocks = printAll(*printer, page, 0, 0, 300);

    ASSERT_GT(blocks.size(), 2u);
    int expected = 1;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        SCOPED_TRACE("block " + std::to_string(b));
        for (const DrawnLine& line : blocks[b]) {
            EXPECT_EQ(line.text, "line " + std::to_string(expected++));
            EXPECT_GT(line.baseline, 0);
            EXPECT_LT(line.baseline, 300);
        }
    }
    EXPECT_EQ(expected, 201);

    // Lines are evenly spaced here, so a full block holds as many as fit and one more would not.
    const auto& first = blocks.front();
    ASSERT_GT(first.size(), 2u);
    const double spacing = first[1].baseline - first[0].baseline;
    // Laid out with the page's metrics, not the screen's: lines are as far apart as the font
    // is high on the page.
    const QFontMetricsF metrics(document->defaultFont(), page.painter()->device());
    EXPECT_GE(spacing, metrics.height() - 0.5);
    EXPECT_LE(spacing, metrics.lineSpacing() + 0.5);
    for (std::size_t b = 0; b + 1 < blocks.size(); ++b) EXPECT_EQ(blocks[b].size(), first.size()) << "block " << b;
    EXPECT_LE(static_cast<double>(first.size()) * spacing, 300 + 1);
    EXPECT_GT(static_cast<double>(first.size() + 1) * spacing, 300 - 1);
    EXPECT_LE(blocks.back().size(), first.size());
}

TEST(StyledTextPrinterTest, BlockIsDrawnAtTheGivenPlace) {
    auto document = numberedLines(30);
    RecordingGraphics page(400, 800);
    auto printer = fw::StyledTextPrinter::Create(*document, page, 400);
    const auto blocks = printAll(*printer, page, 50, 500, 200);
    for (const auto& block : blocks)
        for (const DrawnLine& line : block) {
            SCOPED_TRACE(line.text);
            EXPECT_GE(line.left, 50);
            EXPECT_GT(line.baseline, 500);
            EXPECT_LT(line.baseline, 700);
        }
}

TEST(StyledTextPrinterTest, LineTallerThanTheHeightIsDrawnAloneSoPrintingEnds) {
    for (std::int32_t height : {1, 0, -20}) {
        SCOPED_TRACE("height " + std::to_string(height));
        auto document = numberedLines(5);
        RecordingGraphics page(400, 300);
        auto printer = fw::StyledTextPrinter::Create(*document, page, 400);
        const auto blocks = printAll(*printer, page, 0, 0, height);
        ASSERT_EQ(blocks.size(), 5u);
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            ASSERT_EQ(blocks[b].size(), 1u);
            EXPECT_EQ(blocks[b][0].text, "line " + std::to_string(b + 1));
        }
    }
}

// The drawn lines joined again: with a blank where a line broke at a blank.
std::string joinedText(const std::vector<DrawnLine>& lines) {
    std::string joined;
    for (const DrawnLine& line : lines) {
        std::string text = line.text;
        while (!text.empty() && text.back() == ' ') text.pop_back();
        if (!joined.empty() && !text.empty() && text.front() != ' ') joined += ' ';
        joined += text;
    }
    return joined;
}

TEST(StyledTextPrinterTest, TextIsLaidOutAtTheGivenWidthBreakingBetweenWords) {
    QTextDocument document;
    document.setDefaultFont(QFont("DejaVu Sans", 10));
    std::string words;
    for (int i = 1; i <= 300; ++i) words += (i > 1 ? " w" : "w") + std::to_string(i);
    document.setPlainText(QString::fromStdString(words));

    std::size_t previousLines = 0;
    for (std::int32_t width : {2000, 300, 100}) {
        SCOPED_TRACE("width " + std::to_string(width));
        RecordingGraphics page(2000, 100000);
        auto printer = fw::StyledTextPrinter::Create(document, page, width);
        const auto blocks = printAll(*printer, page, 0, 0, 100000);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(joinedText(blocks[0]), words);
        EXPECT_GT(blocks[0].size(), previousLines);
        previousLines = blocks[0].size();
    }
}

TEST(StyledTextPrinterTest, NumberWithoutBlanksIsBrokenAnywhereAndKeepsEveryDigit) {
    std::string digits;
    for (int i = 0; i < 2000; ++i) digits += "0123456789";
    for (const std::string& text : {digits.substr(0, 300), digits}) {
        for (std::int32_t width : {400, 0}) {
            SCOPED_TRACE(std::to_string(text.size()) + " digits at width " + std::to_string(width));
            QTextDocument document;
            document.setPlainText(QString::fromStdString(text));
            RecordingGraphics page(2000, 300);
            auto printer = fw::StyledTextPrinter::Create(document, page, width);
            std::string printed;
            std::size_t lines = 0;
            for (const auto& block : printAll(*printer, page, 0, 0, 300))
                for (const DrawnLine& line : block) {
                    printed += line.text;
                    ++lines;
                }
            EXPECT_EQ(printed, text);
            EXPECT_GT(lines, 1u);
        }
    }
}

TEST(StyledTextPrinterTest, StylesOfTheTextArePrinted) {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("plain ");
    cursor.insertText("BOLD", bold);
    cursor.insertText(" plain", QTextCharFormat());
    RecordingGraphics page(400, 300);
    auto printer = fw::StyledTextPrinter::Create(document, page, 400);
    printer->DrawBlock(0, 0, 300);
    bool sawBold = false;
    for (const PageEvent& e : page.log) {
        if (e.kind != PageEvent::Text) continue;
        SCOPED_TRACE(e.text.toStdString());
        EXPECT_EQ(e.bold, e.text.contains("BOLD"));
        sawBold |= e.bold;
    }
    EXPECT_TRUE(sawBold);
}

TEST(StyledTextPrinterTest, PrintsTheTextAsItWasWhenThePrinterWasMade) {
    auto document = numberedLines(3);
    const qreal widthBefore = document->textWidth();
    RecordingGraphics page(400, 300);
    auto printer = fw::StyledTextPrinter::Create(*document, page, 120);
    document->setPlainText("changed");
    const auto blocks = printAll(*printer, page, 0, 0, 300);
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(blocks[0].size(), 3u);
    EXPECT_EQ(blocks[0][2].text, "line 3");
    EXPECT_EQ(document->textWidth(), widthBefore);
}

TEST(StyledTextPrinterTest, EmptyTextEndsAtOnceWithoutDrawing) {
    QTextDocument document;
    RecordingGraphics page(400, 300);
    auto printer = fw::StyledTextPrinter::Create(document, page, 400);
    const auto blocks = printAll(*printer, page, 0, 0, 300);
    EXPECT_LE(blocks.size(), 1u);
    for (const auto& block : blocks) EXPECT_TRUE(block.empty());
    printer->DrawBlock(0, 0, 300);
    EXPECT_TRUE(printer->Eof());
}

TEST(StyledTextPrinterTest, DrawingOnAPageThatIsGoneRaises) {
    auto document = numberedLines(3);
    auto page = std::make_shared<RecordingGraphics>(400, 300);
    auto printer = fw::StyledTextPrinter::Create(*document, *page, 400);
    page.reset();
    EXPECT_THROW(printer->DrawBlock(0, 0, 300), fw::NilObjectException);
}

}  // namespace
