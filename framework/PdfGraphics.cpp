#include "PdfGraphics.hpp"

#include "Exceptions.hpp"

#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace fw {

namespace {

// Points, so that Width and Height read as the page's measure in print.
constexpr int PointsPerInch = 72;
constexpr double MarginPoints = PointsPerInch / 2.0;

}  // namespace

struct PdfGraphics::Impl {
    explicit Impl(const QString& file) : writer(file) {}
    QPdfWriter writer;
    QPainter painter;
    bool completed = true;  // what ending the painter reported; true until then
};

const ClassTable& PdfGraphics::Lookup() {
    static const ClassTable table = [] {
        ClassTable t;
        t.fullName = "PdfGraphics";
        t.parent = &Graphics::Lookup();
        return t;
    }();
    return table;
}

PdfGraphics::PdfGraphics(const std::filesystem::path& file, std::int32_t copies, std::int32_t firstPage,
                         std::int32_t lastPage)
    : copies_(copies), firstPage_(firstPage), lastPage_(lastPage) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw RuntimeException("RuntimeException: printing to PDF needs the running application");
    impl_ = std::make_unique<Impl>(QFile::decodeName(file.c_str()));
    impl_->writer.setResolution(PointsPerInch);
    impl_->writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                            QMarginsF(MarginPoints, MarginPoints, MarginPoints, MarginPoints),
                                            QPageLayout::Point));
    if (!impl_->painter.begin(&impl_->writer))
        throw RuntimeException(String("RuntimeException: cannot write the PDF file " + file.string()));
}

PdfGraphics::~PdfGraphics() { Finish(); }

std::int32_t PdfGraphics::Width() const { return impl_->writer.width(); }
std::int32_t PdfGraphics::Height() const { return impl_->writer.height(); }

void PdfGraphics::NextPage() {
    if (!impl_->painter.isActive()) return;
    if (impl_->writer.newPage()) ++pages_;
}

void PdfGraphics::ClearRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    if (!impl_->painter.isActive() || width <= 0 || height <= 0) return;
    impl_->painter.fillRect(QRect(x, y, width, height), Qt::white);
}

QPainter* PdfGraphics::painter() { return impl_->painter.isActive() ? &impl_->painter : nullptr; }

bool PdfGraphics::Finish() {
    if (impl_->painter.isActive()) impl_->completed = impl_->painter.end();
    return impl_->completed;
}

}  // namespace fw
