#include "BusyCursor.hpp"

#include "Window.hpp"

#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

namespace fw {

namespace {

// Which pointer a widget had set of its own; nothing when it took its parent's.
struct Kept {
    QPointer<QWidget> widget;
    std::optional<QCursor> own;
};

}  // namespace

struct BusyCursor::Impl {
    std::vector<Kept> kept;
};

// Widgets that set no pointer of their own show their parent's, so the busy pointer goes on
// the frame and on every widget below it that sets one of its own (a text's I-beam).
BusyCursor::BusyCursor(Window& window) : impl_(std::make_unique<Impl>()) {
    QWidget* frame = window.widget();
    if (!frame) return;
    std::vector<QWidget*> widgets{frame};
    for (QWidget* child : frame->findChildren<QWidget*>()) {
        if (child->testAttribute(Qt::WA_SetCursor)) widgets.push_back(child);
    }
    for (QWidget* widget : widgets) {
        impl_->kept.push_back({widget, widget->testAttribute(Qt::WA_SetCursor)
                                           ? std::optional<QCursor>(widget->cursor())
                                           : std::nullopt});
        widget->setCursor(Qt::BusyCursor);
    }
}

BusyCursor::~BusyCursor() {
    for (Kept& kept : impl_->kept) {
        if (!kept.widget) continue;
        if (kept.own) kept.widget->setCursor(*kept.own);
        else kept.widget->unsetCursor();
    }
}

}  // namespace fw
