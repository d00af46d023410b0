#include "RoundRectangle.hpp"

#include "Property.hpp"
#include "QtBridge.hpp"

#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace fw {

namespace {

struct Shape {
    Color fill = Color::FromRGB(0xFFFFFF);
    Color border = Color::FromRGB(0x000000);
    std::int32_t borderWidth = 1;
    std::int32_t ovalWidth = 0;
    std::int32_t ovalHeight = 0;
};

class RoundRectWidget : public QWidget {
public:
    using QWidget::QWidget;
    Shape shape;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        // The border lies wholly inside the control, as wide as asked or as the control allows.
        const double pen = std::clamp<double>(shape.borderWidth, 0, std::min(width(), height()) / 2.0);
        const QRectF outline = QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
        painter.setPen(pen > 0 ? QPen(qtbridge::toQColor(shape.border), pen) : QPen(Qt::NoPen));
        painter.setBrush(qtbridge::toQColor(shape.fill));
        const double radiusX = std::clamp<double>(shape.ovalWidth / 2.0, 0, outline.width() / 2);
        const double radiusY = std::clamp<double>(shape.ovalHeight / 2.0, 0, outline.height() / 2);
        painter.drawRoundedRect(outline, radiusX, radiusY);
    }
};

}  // namespace

struct RoundRectangle::Impl {
    QPointer<RoundRectWidget> widget;
    Shape shape;

    void refresh() {
        if (!widget) return;
        widget->shape = shape;
        widget->update();
    }
};

const ClassTable& RoundRectangle::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<RoundRectangle>("RoundRectangle", &RectControl::Lookup());
        t.properties = {
            MakeProperty("FillColor", &RoundRectangle::FillColor, &RoundRectangle::SetFillColor),
            MakeProperty("BorderWidth", &RoundRectangle::BorderWidth, &RoundRectangle::SetBorderWidth),
            MakeProperty("BorderColor", &RoundRectangle::BorderColor, &RoundRectangle::SetBorderColor),
            MakeProperty("OvalWidth", &RoundRectangle::OvalWidth, &RoundRectangle::SetOvalWidth),
            MakeProperty("OvalHeight", &RoundRectangle::OvalHeight, &RoundRectangle::SetOvalHeight),
        };
        return t;
    }();
    return table;
}

RoundRectangle::RoundRectangle() : impl_(std::make_unique<Impl>()) {}
RoundRectangle::~RoundRectangle() = default;

QWidget* RoundRectangle::makeWidget(QWidget* parent) {
    auto* widget = new RoundRectWidget(parent);
    impl_->widget = widget;
    return widget;
}

void RoundRectangle::applyToWidget() { impl_->refresh(); }

bool RoundRectangle::takesFocus() const { return false; }

Color RoundRectangle::FillColor() const { return impl_->shape.fill; }
void RoundRectangle::SetFillColor(Color colour) {
    impl_->shape.fill = colour;
    impl_->refresh();
}

std::int32_t RoundRectangle::BorderWidth() const { return impl_->shape.borderWidth; }
void RoundRectangle::SetBorderWidth(std::int32_t width) {
    impl_->shape.borderWidth = width;
    impl_->refresh();
}

Color RoundRectangle::BorderColor() const { return impl_->shape.border; }
void RoundRectangle::SetBorderColor(Color colour) {
    impl_->shape.border = colour;
    impl_->refresh();
}

std::int32_t RoundRectangle::OvalWidth() const { return impl_->shape.ovalWidth; }
void RoundRectangle::SetOvalWidth(std::int32_t width) {
    impl_->shape.ovalWidth = width;
    impl_->refresh();
}

std::int32_t RoundRectangle::OvalHeight() const { return impl_->shape.ovalHeight; }
void RoundRectangle::SetOvalHeight(std::int32_t height) {
    impl_->shape.ovalHeight = height;
    impl_->refresh();
}

}  // namespace fw
