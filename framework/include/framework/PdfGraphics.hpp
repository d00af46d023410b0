#pragma once
// Pages of a PDF file as a Graphics: A4 portrait with half-inch margins, measured in points
// (Width and Height are the area inside the margins, which is also what a PrinterSetup for
// these pages should give). Drawing reaches the file when its page ends: erasing takes back
// from the file what lies wholly inside the erased area, and hides there what only crosses it.

#include "Graphics.hpp"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>

namespace fw {

class PdfGraphics : public Graphics {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    // Starts the file with its first page. Raises RuntimeException when the file cannot be
    // written, or when no GUI application runs (Qt lays out and draws text only then).
    explicit PdfGraphics(const std::filesystem::path& file, std::int32_t copies = 1, std::int32_t firstPage = 1,
                         std::int32_t lastPage = std::numeric_limits<std::int32_t>::max());
    ~PdfGraphics() override;

    std::int32_t Copies() const override { return copies_; }
    std::int32_t FirstPage() const override { return firstPage_; }
    std::int32_t LastPage() const override { return lastPage_; }
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    void NextPage() override;
    void ClearRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
    QPainter* painter() override;

    // Ends the last page and completes the file; the pages take no drawing afterwards. False
    // when the file could not be completed. The destructor finishes a file not yet finished.
    bool Finish();
    // Pages begun so far.
    std::int32_t PageCount() const { return pages_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::int32_t copies_, firstPage_, lastPage_;
    std::int32_t pages_ = 1;
};

}  // namespace fw
