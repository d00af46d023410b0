#include "PushButton.hpp"

#include "Events.hpp"
#include "Property.hpp"
#include "QtBridge.hpp"
#include "Runtime.hpp"

#include <QPointer>
#include <QPushButton>

namespace fw {

struct PushButton::Impl {
    QPointer<QPushButton> button;
    String caption;
    bool isDefault = false;
    bool isCancel = false;
    std::int32_t buttonStyle = 0;
};

const ClassTable& PushButton::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<PushButton>("PushButton", &TextControl::Lookup());
        t.properties = {
            MakeProperty("TabStop", &RectControl::TabStop, &RectControl::SetTabStop),
            MakeProperty("Caption", &PushButton::Caption, &PushButton::SetCaption),
            MakeProperty("Default", &PushButton::Default, &PushButton::SetDefault),
            MakeProperty("Cancel", &PushButton::Cancel, &PushButton::SetCancel),
            MakeProperty("ButtonStyle", &PushButton::ButtonStyle, &PushButton::SetButtonStyle),
        };
        t.handlerEvents[events::PushButtonAction] = MakeHandlerEvent<ActionHandler>("Action", "( PushButton )");
        return t;
    }();
    return table;
}

PushButton::PushButton() : impl_(std::make_unique<Impl>()) {}
PushButton::~PushButton() = default;

QWidget* PushButton::makeWidget(QWidget* parent) {
    auto* button = new QPushButton(parent);
    impl_->button = button;
    // The connection ends with the widget; the control may be gone before it.
    std::weak_ptr<Object> weakSelf = weak_from_this();
    QObject::connect(button, &QPushButton::clicked, button, [weakSelf] {
        if (auto self = std::dynamic_pointer_cast<PushButton>(weakSelf.lock())) self->Push();
    });
    return button;
}

void PushButton::applyToWidget() {
    impl_->button->setText(qtbridge::toQString(impl_->caption));
    impl_->button->setDefault(impl_->isDefault);
    applyFont();
}

void PushButton::Push() {
    if (!Enabled()) return;
    auto action = std::dynamic_pointer_cast<Delegate<ActionHandler>>(handler(events::PushButtonAction));
    if (!action) return;
    auto self = std::dynamic_pointer_cast<PushButton>(weak_from_this().lock());
    CallGuarded([&] { action->Invoke(self); });
}

String PushButton::Caption() const { return impl_->caption; }
void PushButton::SetCaption(const String& caption) {
    impl_->caption = caption;
    if (impl_->button) impl_->button->setText(qtbridge::toQString(caption));
}

bool PushButton::Default() const { return impl_->isDefault; }
void PushButton::SetDefault(bool isDefault) {
    impl_->isDefault = isDefault;
    if (impl_->button) impl_->button->setDefault(isDefault);
}

bool PushButton::Cancel() const { return impl_->isCancel; }
void PushButton::SetCancel(bool isCancel) { impl_->isCancel = isCancel; }

std::int32_t PushButton::ButtonStyle() const { return impl_->buttonStyle; }
void PushButton::SetButtonStyle(std::int32_t style) { impl_->buttonStyle = style; }

}  // namespace fw
