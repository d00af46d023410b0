#include "KeyPreview.hpp"

#include "QtBridge.hpp"
#include "Runtime.hpp"
#include "Window.hpp"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace fw {

namespace {

// Sees every event of the application first, so that a key reaches the preview before any
// control, the one with the focus included, can take it.
class KeyFilter : public QObject {
public:
    QPointer<QWidget> frame;
    std::shared_ptr<std::function<bool(const String&)>> preview;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !*preview || !frame) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != frame) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        const String text = qtbridge::keyText(key);
        if (text.empty()) return false;
        // A copy, so that a preview that ends itself runs to its end.
        const std::function<bool(const String&)> run = *preview;
        bool taken = false;
        CallGuarded([&] { taken = run(text); });
        return taken;
    }
};

}  // namespace

struct KeyPreview::Impl {
    QPointer<KeyFilter> filter;
    std::shared_ptr<std::function<bool(const String&)>> preview;
};

KeyPreview::KeyPreview(Window& window, std::function<bool(const String& key)> preview)
    : impl_(std::make_unique<Impl>()) {
    impl_->preview = std::make_shared<std::function<bool(const String&)>>(std::move(preview));
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !window.widget()) return;
    auto* filter = new KeyFilter;
    filter->frame = window.widget();
    filter->preview = impl_->preview;
    impl_->filter = filter;
    app->installEventFilter(filter);
}

KeyPreview::~KeyPreview() {
    *impl_->preview = nullptr;
    // The filter may be inside its own eventFilter.
    if (KeyFilter* filter = impl_->filter) {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            app->removeEventFilter(filter);
            filter->deleteLater();
        } else {
            delete filter;
        }
    }
}

}  // namespace fw
