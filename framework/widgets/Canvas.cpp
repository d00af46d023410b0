#include "Canvas.hpp"

#include "Picture.hpp"
#include "Property.hpp"

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace fw {

namespace {

// The widget keeps its own reference to the picture: it may paint once more after the
// control is gone.
class BackdropWidget : public QWidget {
public:
    using QWidget::QWidget;
    std::shared_ptr<Picture> picture;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!picture || picture->image().isNull()) return;
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), picture->image());
    }
};

}  // namespace

struct Canvas::Impl {
    QPointer<BackdropWidget> widget;
    std::shared_ptr<Picture> backdrop;
    bool useFocusRing = true;
    bool acceptFocus = false;
    bool acceptTabs = false;
    bool doubleBuffer = false;
    bool eraseBackground = true;
};

const ClassTable& Canvas::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<Canvas>("Canvas", &RectControl::Lookup());
        t.properties = {
            MakeProperty("TabStop", &RectControl::TabStop, &RectControl::SetTabStop),
            MakeProperty("UseFocusRing", &Canvas::UseFocusRing, &Canvas::SetUseFocusRing),
            MakeProperty("AcceptFocus", &Canvas::AcceptFocus, &Canvas::SetAcceptFocus),
            MakeProperty("AcceptTabs", &Canvas::AcceptTabs, &Canvas::SetAcceptTabs),
            MakeProperty("DoubleBuffer", &Canvas::DoubleBuffer, &Canvas::SetDoubleBuffer),
            MakeProperty("EraseBackground", &Canvas::EraseBackground, &Canvas::SetEraseBackground),
        };
        return t;
    }();
    return table;
}

Canvas::Canvas() : impl_(std::make_unique<Impl>()) {}
Canvas::~Canvas() = default;

QWidget* Canvas::makeWidget(QWidget* parent) {
    auto* widget = new BackdropWidget(parent);
    impl_->widget = widget;
    return widget;
}

void Canvas::applyToWidget() { impl_->widget->picture = impl_->backdrop; }

bool Canvas::takesFocus() const { return impl_->acceptFocus; }

std::shared_ptr<Picture> Canvas::Backdrop() const { return impl_->backdrop; }
void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
    impl_->backdrop = std::move(picture);
    if (impl_->widget) {
        impl_->widget->picture = impl_->backdrop;
        impl_->widget->update();
    }
}

bool Canvas::UseFocusRing() const { return impl_->useFocusRing; }
void Canvas::SetUseFocusRing(bool useFocusRing) { impl_->useFocusRing = useFocusRing; }

bool Canvas::AcceptFocus() const { return impl_->acceptFocus; }
void Canvas::SetAcceptFocus(bool acceptFocus) {
    impl_->acceptFocus = acceptFocus;
    refreshFocusPolicy();
}

bool Canvas::AcceptTabs() const { return impl_->acceptTabs; }
void Canvas::SetAcceptTabs(bool acceptTabs) { impl_->acceptTabs = acceptTabs; }

bool Canvas::DoubleBuffer() const { return impl_->doubleBuffer; }
void Canvas::SetDoubleBuffer(bool doubleBuffer) { impl_->doubleBuffer = doubleBuffer; }

bool Canvas::EraseBackground() const { return impl_->eraseBackground; }
void Canvas::SetEraseBackground(bool erase) { impl_->eraseBackground = erase; }

}  // namespace fw
