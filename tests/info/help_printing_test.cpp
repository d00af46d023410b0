#include "InfoWindowsFixture.hpp"

#include "info/HelpWindow.hpp"

#include "framework/Exceptions.hpp"
#include "framework/Graphics.hpp"
#include "framework/PdfGraphics.hpp"
#include "framework/PrinterSetup.hpp"
#include "framework/StyledTextPrinter.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One event of printing, in the order it happened: "D<n>" draws the n-th block of a copy, "N"
// starts a new page, "C" erases the page.
using Log = std::vector<std::string>;

std::string Joined(const Log& log) {
    std::string joined;
    for (const auto& entry : log) joined += (joined.empty() ? "" : " ") + entry;
    return joined;
}

struct Rect {
    std::int32_t x, y, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A page that records what is done to it. When it paints, every page is an image of its own,
// collected as it is finished.
class RecordingPage : public fw::Graphics {
public:
    RecordingPage(std::int32_t copies, std::int32_t first, std::int32_t last, Log& log, bool paints = false)
        : copies_(copies), first_(first), last_(last), log_(log), paints_(paints) {
        if (paints_) startPage();
    }
    ~RecordingPage() override { finish(); }

    std::int32_t Copies() const override { return copies_; }
    std::int32_t FirstPage() const override { return first_; }
    std::int32_t LastPage() const override { return last_; }
    std::int32_t Width() const override { return 400; }
    std::int32_t Height() const override { return 300; }
    void NextPage() override {
        log_.push_back("N");
        if (paints_) {
            finishPage();
            startPage();
        }
    }
    void ClearRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override {
        log_.push_back("C");
        clears.push_back({x, y, width, height});
        if (painter_.isActive()) painter_.fillRect(x, y, width, height, Qt::white);
    }
    QPainter* painter() override { return painter_.isActive() ? &painter_ : nullptr; }

    // The pages drawn, the current one included; the page takes no drawing afterwards.
    const std::vector<QImage>& finish() {
        if (painter_.isActive()) finishPage();
        return pages_;
    }

    std::vector<Rect> clears;

private:
    void startPage() {
        image_ = QImage(Width(), Height(), QImage::Format_RGB32);
        image_.fill(Qt::white);
        painter_.begin(&image_);
    }
    void finishPage() {
        painter_.end();
        pages_.push_back(image_);
    }

    std::int32_t copies_, first_, last_;
    Log& log_;
    bool paints_;
    QImage image_;
    QPainter painter_;
    std::vector<QImage> pages_;
};

// Stands in for the text area's printer: a text of a known number of page-high blocks.
class BlockPrinter : public fw::StyledTextPrinter {
public:
    BlockPrinter(int blocks, Log& log, std::vector<Rect>& draws) : blocks_(blocks), log_(log), draws_(draws) {}
    void DrawBlock(std::int32_t x, std::int32_t y, std::int32_t height) override {
        log_.push_back("D" + std::to_string(++drawn_));
        draws_.push_back({x, y, 0, height});
    }
    bool Eof() const override { return drawn_ >= blocks_; }

private:
    int blocks_;
    int drawn_ = 0;
    Log& log_;
    std::vector<Rect>& draws_;
};

// The help window with its printing operations open to the test, and optionally a printer of
// known blocks in place of the text area's.
class PrintingHelpWindow : public radixel::HelpWindow {
public:
    using HelpWindow::DoPrinting;
    using HelpWindow::EndPrinting;
    using HelpWindow::PrintOneCopy;
    using HelpWindow::PrintSomeInformation;

    void BeginPrinting(const std::shared_ptr<fw::Graphics>& page,
                       const std::shared_ptr<fw::PrinterSetup>& setup) override {
        ++begun;
        if (stand_in) mStp = stand_in();
        else HelpWindow::BeginPrinting(page, setup);
    }
    const std::shared_ptr<fw::StyledTextPrinter>& printer() const { return mStp; }

    std::function<std::shared_ptr<fw::StyledTextPrinter>()> stand_in;
    int begun = 0;
};

class HelpPrinting : public InfoWindows {
protected:
    void SetUp() override {
        InfoWindows::SetUp();
        window = std::make_shared<PrintingHelpWindow>();
        window->Constructor();
    }
    void TearDown() override {
        if (window) window->Close();
        InfoWindows::TearDown();
    }

    void useBlocks(int blocks) {
        window->stand_in = [this, blocks] { return std::make_shared<BlockPrinter>(blocks, log, draws); };
    }

    std::shared_ptr<PrintingHelpWindow> window;
    Log log;
    std::vector<Rect> draws;
    const std::shared_ptr<fw::PrinterSetup> setup = std::make_shared<fw::PrinterSetup>(380, 280);
};

struct RangeCase {
    const char* name;
    std::int32_t copies, first, last;
    int blocks;
    const char* log;
    friend void PrintTo(const RangeCase& c, std::ostream* out) {
        *out << c.copies << " copies of pages " << c.first << " to " << c.last << " of a text of " << c.blocks
             << " pages";
    }
};

class PrintedRange : public HelpPrinting, public testing::WithParamInterface<RangeCase> {};

}  // namespace

TEST_P(PrintedRange, PrintsThePagesOfTheRangeInEveryCopy) {
    const RangeCase& c = GetParam();
    useBlocks(c.blocks);
    auto page = std::make_shared<RecordingPage>(c.copies, c.first, c.last, log);
    window->DoPrinting(page, setup);

    EXPECT_EQ(Joined(log), c.log);
    EXPECT_EQ(window->begun, std::max(c.copies, 0)) << "every copy starts with a printer of its own";
    EXPECT_EQ(window->printer(), nullptr);
    for (const Rect& draw : draws) EXPECT_EQ(draw, (Rect{0, 0, 0, setup->Height()}));
    for (const Rect& clear : page->clears) EXPECT_EQ(clear, (Rect{0, 0, page->Width(), page->Height()}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintedRange,
    testing::Values(RangeCase{"NoCopies", 0, 1, 9, 3, ""}, RangeCase{"NegativeCopies", -2, 1, 9, 3, ""},
                    RangeCase{"TwoCopiesOfThreePages", 2, 1, 3, 3, "D1 N D2 N D3 N D1 N D2 N D3"},
                    RangeCase{"TwoCopiesWithinALongerRange", 2, 1, 9, 3, "D1 N D2 N D3 N D1 N D2 N D3"},
                    RangeCase{"PagesTwoToThreeOfFive", 1, 2, 3, 5, "D1 C D2 N D3"},
                    RangeCase{"PageOneOnly", 1, 1, 1, 5, "D1"},
                    RangeCase{"TextShorterThanTheRange", 1, 1, 5, 2, "D1 N D2"}),
    [](const testing::TestParamInfo<RangeCase>& tested) { return std::string(tested.param.name); });

TEST_F(HelpPrinting, MissingPageOrSetupPrintsNothing) {
    useBlocks(3);
    auto page = std::make_shared<RecordingPage>(1, 1, 9, log);
    window->DoPrinting(nullptr, setup);
    window->DoPrinting(page, nullptr);
    EXPECT_EQ(Joined(log), "");
    EXPECT_EQ(window->begun, 0);
}

TEST_F(HelpPrinting, PrintingWithoutWhatItNeedsRaises) {
    auto page = std::make_shared<RecordingPage>(1, 1, 9, log);
    EXPECT_THROW(window->PrintSomeInformation(page, setup), fw::NilObjectException) << "no printer begun";
    EXPECT_THROW(window->BeginPrinting(page, nullptr), fw::NilObjectException);
    EXPECT_THROW(window->BeginPrinting(nullptr, setup), fw::NilObjectException);
    window->BeginPrinting(page, setup);
    ASSERT_TRUE(window->printer());
    EXPECT_THROW(window->PrintSomeInformation(page, nullptr), fw::NilObjectException);
    window->EndPrinting();
    EXPECT_EQ(window->printer(), nullptr);
}

// Through the text area's own printer: a page before the range is drawn and then erased, so the
// first page printed shows the same text as that page would in a print from page 1.
TEST_F(HelpPrinting, ErasedPagesLeaveJustTheRange) {
    const auto shortPages = std::make_shared<fw::PrinterSetup>(380, 60);
    auto fromOne = std::make_shared<RecordingPage>(1, 1, 2, log, true);
    window->DoPrinting(fromOne, shortPages);
    const std::vector<QImage> pagesOneAndTwo = fromOne->finish();
    ASSERT_EQ(pagesOneAndTwo.size(), 2u);

    auto fromTwo = std::make_shared<RecordingPage>(1, 2, 2, log, true);
    window->DoPrinting(fromTwo, shortPages);
    const std::vector<QImage> pageTwo = fromTwo->finish();
    ASSERT_EQ(pageTwo.size(), 1u);

    QImage blank(pageTwo[0].size(), pageTwo[0].format());
    blank.fill(Qt::white);
    EXPECT_NE(pagesOneAndTwo[0], blank) << "page 1 shows no text";
    EXPECT_NE(pagesOneAndTwo[0], pagesOneAndTwo[1]);
    EXPECT_EQ(pageTwo[0], pagesOneAndTwo[1]);
}

// The printer of a copy cut short is released with the window, and the window itself goes once
// closed: neither its text area's KeyDown handler nor anything else keeps it alive.
TEST_F(HelpPrinting, PrinterGoesWithTheWindow) {
    auto page = std::make_shared<RecordingPage>(1, 1, 9, log);
    window->BeginPrinting(page, setup);
    std::weak_ptr<fw::StyledTextPrinter> printer = window->printer();
    ASSERT_FALSE(printer.expired());

    window->Close();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(printer.expired()) << "the closed window, or its printer, is still held";
}

namespace {

int PdfPages(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string pdf{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// The text of each page of the file, as a PDF viewer's search and copy find it.
std::vector<std::string> PdfPageTexts(const fs::path& file) {
    const fs::path text = fs::path(file).replace_extension(".txt");
    const std::string command =
        std::string("'") + RADIXEL_PDFTOTEXT + "' '" + file.string() + "' '" + text.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(text, std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> pages;
    for (std::size_t start = 0, end; (end = all.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(all.substr(start, end - start));
    return pages;
}

}  // namespace

// Pages before the range are erased, and what was drawn on them is gone from the file, not
// hidden under white where a search still finds it.
TEST_F(HelpPrinting, PdfOfARangeHoldsTheRangesTextAlone) {
    const fs::path whole = bundle.root() / "whole.pdf";
    const fs::path range = bundle.root() / "range.pdf";
    for (const auto& [file, first, last] : {std::tuple{whole, 1, 3}, std::tuple{range, 2, 3}}) {
        auto pdf = std::make_shared<fw::PdfGraphics>(file, 1, first, last);
        window->DoPrinting(pdf, std::make_shared<fw::PrinterSetup>(pdf->Width(), 150));
        ASSERT_TRUE(pdf->Finish());
    }
    const std::vector<std::string> pages = PdfPageTexts(whole);
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_NE(pages[0].find("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << pages[0];
    EXPECT_EQ(PdfPageTexts(range), std::vector<std::string>(pages.begin() + 1, pages.end()));
}

TEST_F(HelpPrinting, PrintsIntoAPdf) {
    const fs::path whole = bundle.root() / "whole.pdf";
    const fs::path range = bundle.root() / "range.pdf";
    int pagesOfOneCopy = 0;
    {
        auto pdf = std::make_shared<fw::PdfGraphics>(whole);
        window->DoPrinting(pdf, std::make_shared<fw::PrinterSetup>(pdf->Width(), 150));
        ASSERT_TRUE(pdf->Finish());
        pagesOfOneCopy = pdf->PageCount();
    }
    ASSERT_GE(pagesOfOneCopy, 3) << "the text should need several short pages";
    EXPECT_EQ(PdfPages(whole), pagesOfOneCopy);

    {
        auto pdf = std::make_shared<fw::PdfGraphics>(range, 2, 2, 3);
        window->DoPrinting(pdf, std::make_shared<fw::PrinterSetup>(pdf->Width(), 150));
        ASSERT_TRUE(pdf->Finish());
        EXPECT_EQ(pdf->PageCount(), 4);
    }
    EXPECT_EQ(PdfPages(range), 4);
}
