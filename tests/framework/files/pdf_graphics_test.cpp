#include "framework/Exceptions.hpp"
#include "framework/PdfGraphics.hpp"
#include "framework/PrinterSetup.hpp"
#include "framework/StyledTextPrinter.hpp"

#include <QFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

TEST(PdfGraphicsTest, UnwritableFileRaises) {
    EXPECT_THROW(fw::PdfGraphics("/no/such/folder/out.pdf"), fw::RuntimeException);
}

}  // namespace
