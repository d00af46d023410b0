#include "PdfGraphics.hpp"

#include "Exceptions.hpp"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QRegion>

#include <algorithm>
#include <optional>
#include <vector>

namespace fw {

namespace {

// Points, so that Width and Height read as the page's measure in print.
constexpr int PointsPerInch = 72;
constexpr double MarginPoints = PointsPerInch / 2.0;

// Drawing is recorded and reaches the file only when its page ends, so that erasing can take
// back what it covers: painting white over text would leave the text in the file, where a
// search or a copy in a PDF viewer still finds it.
class PageRecording : public QPicture {
public:
    explicit PageRecording(const QPdfWriter& writer) : writer_(writer) {}

protected:
    // Text is laid out against this device, so it must measure like the page it ends up on.
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth: return writer_.width();
        case PdmHeight: return writer_.height();
        case PdmWidthMM: return writer_.widthMM();
        case PdmHeightMM: return writer_.heightMM();
        case PdmDpiX: return writer_.logicalDpiX();
        case PdmDpiY: return writer_.logicalDpiY();
        case PdmPhysicalDpiX: return writer_.physicalDpiX();
        case PdmPhysicalDpiY: return writer_.physicalDpiY();
        default: return QPicture::metric(metric);
        }
    }

private:
    const QPdfWriter& writer_;
};

// Plays a picture recorded at the resolution of the painter's device without the rescaling from
// the default resolution that playing applies.
void play(QPainter& painter, const QPicture& picture) {
    const QPicture defaults;
    painter.save();
    painter.scale(double(defaults.logicalDpiX()) / painter.device()->logicalDpiX(),
                  double(defaults.logicalDpiY()) / painter.device()->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

// The smallest rectangle that holds what the picture paints within the area; a picture keeps no
// extent of the text it holds, so it is painted to find out.
QRect inkExtent(const QPicture& picture, const QRect& area) {
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    play(painter, picture);
    painter.end();
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(area.topLeft());
}

// What was drawn between two erasures, with the part of the paper later erasures left showing.
struct Stroke {
    QPicture drawing;
    std::optional<QRegion> showing;  // none: all of it
};

}  // namespace

struct PdfGraphics::Impl {
    explicit Impl(const QString& file) : writer(file), recording(writer) {}

    bool begin() {
        if (!out.begin(&writer)) return false;
        return painter.begin(&recording);
    }

    // The whole sheet in the coordinates of the page, whose origin is inside the margins.
    QRect paper() const {
        const int dpi = writer.resolution();
        const QPageLayout layout = writer.pageLayout();
        return layout.fullRectPixels(dpi).translated(-layout.paintRectPixels(dpi).topLeft());
    }

    void endStroke() {
        const PainterState state(painter);
        painter.end();
        strokes.push_back({recording, std::nullopt});
        // The stroke shares the recorded data; setting the data detaches the recording from it.
        recording.setData(nullptr, 0);
        painter.begin(&recording);
        state.restore(painter);
    }

    // A stroke wholly inside the area leaves the file; one the area only crosses is clipped.
    void erase(const QRect& area) {
        endStroke();
        const QRect sheet = paper();
        if (area.contains(sheet)) {
            strokes.clear();
            return;
        }
        std::erase_if(strokes, [&](const Stroke& stroke) {
            const QRect ink = inkExtent(stroke.drawing, sheet);
            return ink.isEmpty() || area.contains(ink);
        });
        for (Stroke& stroke : strokes) stroke.showing = stroke.showing.value_or(QRegion(sheet)) - area;
    }

    // Puts the page's drawing into the file.
    void emitPage() {
        endStroke();
        for (const Stroke& stroke : strokes) {
            out.save();
            if (stroke.showing) out.setClipRegion(*stroke.showing);
            play(out, stroke.drawing);
            out.restore();
        }
        strokes.clear();
    }

    // What the caller may have set on the painter and expects to hold across an erasure.
    struct PainterState {
        explicit PainterState(const QPainter& p)
            : font(p.font()),
              pen(p.pen()),
              brush(p.brush()),
              transform(p.worldTransform()),
              hints(p.renderHints()),
              opacity(p.opacity()) {}
        void restore(QPainter& p) const {
            p.setFont(font);
            p.setPen(pen);
            p.setBrush(brush);
            p.setWorldTransform(transform);
            p.setRenderHints(hints);
            p.setOpacity(opacity);
        }
        QFont font;
        QPen pen;
        QBrush brush;
        QTransform transform;
        QPainter::RenderHints hints;
        qreal opacity;
    };

    QPdfWriter writer;
    QPainter out;
    PageRecording recording;
    QPainter painter;  // the callers' painter, onto the recording
    std::vector<Stroke> strokes;
    bool completed = true;  // what ending the file reported; true until then
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
    if (!impl_->begin()) throw RuntimeException(String("RuntimeException: cannot write the PDF file " + file.string()));
}

PdfGraphics::~PdfGraphics() { Finish(); }

std::int32_t PdfGraphics::Width() const { return impl_->writer.width(); }
std::int32_t PdfGraphics::Height() const { return impl_->writer.height(); }

void PdfGraphics::NextPage() {
    if (!impl_->painter.isActive()) return;
    impl_->emitPage();
    if (impl_->writer.newPage()) ++pages_;
}

void PdfGraphics::ClearRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    if (!impl_->painter.isActive() || width <= 0 || height <= 0) return;
    impl_->erase(QRect(x, y, width, height));
}

QPainter* PdfGraphics::painter() { return impl_->painter.isActive() ? &impl_->painter : nullptr; }

bool PdfGraphics::Finish() {
    if (impl_->painter.isActive()) {
        impl_->emitPage();
        impl_->painter.end();
        impl_->completed = impl_->out.end();
    }
    return impl_->completed;
}

}  // namespace fw
