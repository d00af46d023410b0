#include "framework/Exceptions.hpp"
#include "framework/PdfGraphics.hpp"
#include "framework/PrinterSetup.hpp"
#include "framework/StyledTextPrinter.hpp"

#include <QFont>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

int pdfPageObjects(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // "/Type /Page" but not "/Type /Pages", the page tree.
    return static_cast<int>(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
                                .count(QRegularExpression("/Type\\s*/Page(?![s\\w])")));
}

TEST(PdfGraphicsTest, LongTextPrintsOnePagePerBlock) {
    QTemporaryDir temp;
    const fs::path file = fs::path(temp.path().toStdString()) / "help.pdf";
    QTextDocument document;
    document.setDefaultFont(QFont("DejaVu Sans", 11));
    QString text;
    for (int i = 1; i <= 400; ++i) text += QStringLiteral("Line %1 of a long help text that goes on.\n").arg(i);
    document.setPlainText(text);

    int blocks = 0;
    {
        fw::PdfGraphics pdf(file);
        const fw::PrinterSetup setup(pdf.Width(), pdf.Height());
        auto printer = fw::StyledTextPrinter::Create(document, pdf, setup.Width());
        for (int guard = 0; guard < 1000; ++guard) {
            printer->DrawBlock(0, 0, setup.Height());
            ++blocks;
            if (printer->Eof()) break;
            pdf.NextPage();
        }
        EXPECT_TRUE(printer->Eof());
        EXPECT_EQ(pdf.PageCount(), blocks);
        EXPECT_TRUE(pdf.Finish());
    }
    EXPECT_GT(blocks, 3);
    EXPECT_EQ(pdfPageObjects(file), blocks);
}

TEST(PdfGraphicsTest, PageIsA4InPointsInsideHalfInchMarginsAndKeepsItsRange) {
    QTemporaryDir temp;
    fw::PdfGraphics pdf(fs::path(temp.path().toStdString()) / "page.pdf", 2, 3, 5);
    EXPECT_NEAR(pdf.Width(), 595 - 72, 1);
    EXPECT_NEAR(pdf.Height(), 842 - 72, 1);
    EXPECT_EQ(pdf.Copies(), 2);
    EXPECT_EQ(pdf.FirstPage(), 3);
    EXPECT_EQ(pdf.LastPage(), 5);
    EXPECT_NE(pdf.painter(), nullptr);
    pdf.ClearRect(0, 0, pdf.Width(), pdf.Height());
    EXPECT_TRUE(pdf.Finish());
    // A finished file takes no more drawing and no more pages.
    EXPECT_EQ(pdf.painter(), nullptr);
    pdf.NextPage();
    pdf.ClearRect(0, 0, 10, 10);
    EXPECT_EQ(pdf.PageCount(), 1);
}

struct PdfWord {
    std::string text;
    int page;
    double x, y;  // top left, in points from the paper's corner
};

// Every word of the file, as a PDF viewer's search and copy find it.
std::vector<PdfWord> pdfWords(const fs::path& file) {
    const fs::path boxes = fs::path(file).replace_extension(".html");
    const std::string command =
        std::string("'") + RADIXEL_PDFTOTEXT + "' -bbox '" + file.string() + "' '" + boxes.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(boxes);
    std::vector<PdfWord> words;
    int page = 0;
    const std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re");
    for (std::string line; std::getline(in, line);) {
        if (line.find("<page ") != std::string::npos) ++page;
        std::smatch m;
        if (std::regex_search(line, m, word)) words.push_back({m[3], page, std::stod(m[1]), std::stod(m[2])});
    }
    return words;
}

// Erasing takes back from the file what was drawn inside the erased area; the rest stays where
// it was drawn, in the size it was drawn.
TEST(PdfGraphicsTest, ErasingRemovesWhatItCoversFromTheFile) {
    QTemporaryDir temp;
    const fs::path file = fs::path(temp.path().toStdString()) / "erased.pdf";
    {
        fw::PdfGraphics pdf(file);
        QPainter* painter = pdf.painter();
        ASSERT_NE(painter, nullptr);
        painter->setFont(QFont("DejaVu Sans", 12));
        painter->drawText(QRect(0, 0, 200, 20), Qt::AlignLeft, "Vanished");
        painter->drawText(QRect(100, 300, 200, 20), Qt::AlignLeft, "Gone");
        pdf.ClearRect(0, 0, pdf.Width(), pdf.Height());
        painter->drawText(QRect(100, 300, 200, 20), Qt::AlignLeft, "Covered");
        pdf.ClearRect(50, 250, 300, 100);
        painter->drawText(QRect(0, 0, 200, 20), Qt::AlignLeft, "First");
        painter->drawText(QRect(100, 400, 200, 20), Qt::AlignLeft, "Kept");
        pdf.ClearRect(400, 700, 10, 10);
        pdf.NextPage();
        painter->drawText(QRect(100, 400, 200, 20), Qt::AlignLeft, "Second");
        ASSERT_TRUE(pdf.Finish());
    }
    const std::vector<PdfWord> words = pdfWords(file);
    std::string seen;
    for (const PdfWord& w : words) seen += w.text + "@" + std::to_string(w.page) + " ";
    ASSERT_EQ(seen, "First@1 Kept@1 Second@2 ") << "the words found in the file";
    // Inside the half-inch margin, the top of the text a little below the top of its line.
    const double margin = 36;
    EXPECT_NEAR(words[0].x, margin, 1.5);
    EXPECT_NEAR(words[0].y, margin, 3);
    EXPECT_NEAR(words[1].x, margin + 100, 1.5);
    EXPECT_NEAR(words[1].y, margin + 400, 3);
    EXPECT_NEAR(words[2].y, words[1].y, 0.01);
}

TEST(PdfGraphicsTest, UnwritableFileRaises) {
    EXPECT_THROW(fw::PdfGraphics("/no/such/folder/out.pdf"), fw::RuntimeException);
}

}  // namespace
