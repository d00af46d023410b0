#include "RectControl.hpp"

#include "Exceptions.hpp"
#include "Property.hpp"
#include "PropertyRecord.hpp"
#include "QtBridge.hpp"
#include "Runtime.hpp"
#include "Window.hpp"

#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <map>

namespace fw {

namespace {

// A control that no record has sized yet is still visible and clickable.
constexpr std::int32_t kDefaultWidth = 80;
constexpr std::int32_t kDefaultHeight = 20;

std::int32_t saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Qt keeps widget coordinates and sizes within these bounds.
int widgetCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}
int widgetSize(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, 0, QWIDGETSIZE_MAX)); }

}  // namespace

struct RectControl::Impl {
    std::weak_ptr<Window> window;
    QPointer<QWidget> widget;
    bool constructed = false;
    std::weak_ptr<RectControl> host;  // the control named by InitialParent, when it stands inside one
    std::map<int, std::shared_ptr<DelegateBase>> handlers;

    String name;
    std::int32_t index = NoControlIndex;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = kDefaultWidth;
    std::int32_t height = kDefaultHeight;
    bool lockLeft = true;
    bool lockTop = true;
    bool lockRight = false;
    bool lockBottom = false;
    std::int32_t tabPanelIndex = 0;
    std::int32_t tabIndex = 0;
    bool tabStop = true;
    bool enabled = true;
    bool visible = true;
    String helpTag;
    bool autoDeactivate = true;
    String initialParent;
};

const ClassTable& RectControl::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<RectControl>("RectControl", &Object::Lookup());
        t.properties = {
            MakeProperty("Name", &RectControl::Name, &RectControl::SetName),
            MakeProperty("Index", &RectControl::Index, &RectControl::SetIndex),
            MakeProperty("Left", &RectControl::Left, &RectControl::SetLeft),
            MakeProperty("Top", &RectControl::Top, &RectControl::SetTop),
            MakeProperty("Width", &RectControl::Width, &RectControl::SetWidth),
            MakeProperty("Height", &RectControl::Height, &RectControl::SetHeight),
            MakeProperty("LockLeft", &RectControl::LockLeft, &RectControl::SetLockLeft),
            MakeProperty("LockTop", &RectControl::LockTop, &RectControl::SetLockTop),
            MakeProperty("LockRight", &RectControl::LockRight, &RectControl::SetLockRight),
            MakeProperty("LockBottom", &RectControl::LockBottom, &RectControl::SetLockBottom),
            MakeProperty("TabPanelIndex", &RectControl::TabPanelIndex, &RectControl::SetTabPanelIndex),
            MakeProperty("TabIndex", &RectControl::TabIndex, &RectControl::SetTabIndex),
            MakeProperty("Enabled", &RectControl::Enabled, &RectControl::SetEnabled),
            MakeProperty("Visible", &RectControl::Visible, &RectControl::SetVisible),
            MakeProperty("HelpTag", &RectControl::HelpTag, &RectControl::SetHelpTag),
            MakeProperty("AutoDeactivate", &RectControl::AutoDeactivate, &RectControl::SetAutoDeactivate),
            MakeProperty("InitialParent", &RectControl::InitialParent, &RectControl::SetInitialParent),
        };
        return t;
    }();
    return table;
}

RectControl::RectControl() : impl_(std::make_unique<Impl>()) {}

RectControl::~RectControl() { qtbridge::releaseWidget(impl_->widget); }

void RectControl::Constructor() {
    if (impl_->constructed) return;
    qtbridge::requireWidgets("a control");
    QWidget* parent = nullptr;
    if (auto window = impl_->window.lock()) parent = window->contentWidget();
    QWidget* made = makeWidget(parent);
    impl_->widget = made;
    impl_->constructed = true;
    made->setEnabled(impl_->enabled);
    if (!impl_->helpTag.empty()) made->setToolTip(qtbridge::toQString(impl_->helpTag));
    refreshFocusPolicy();
    applyToWidget();
    applyParent();
}

QWidget* RectControl::makeWidget(QWidget* parent) { return new QWidget(parent); }

void RectControl::applyToWidget() {}

bool RectControl::takesFocus() const { return true; }

void RectControl::refreshFocusPolicy() {
    if (!impl_->widget) return;
    impl_->widget->setFocusPolicy(!takesFocus() ? Qt::NoFocus : impl_->tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

std::shared_ptr<DelegateBase> RectControl::handler(int eventNumber) const {
    auto it = impl_->handlers.find(eventNumber);
    return it == impl_->handlers.end() ? nullptr : it->second;
}

std::shared_ptr<Window> RectControl::ParentWindow() const { return impl_->window.lock(); }

QWidget* RectControl::widget() const { return impl_->widget.data(); }

void RectControl::attachTo(const std::shared_ptr<Window>& window) { impl_->window = window; }

void RectControl::joinWindow() {
    if (impl_->constructed) applyParent();
}

void RectControl::applyParent() {
    QWidget* own = impl_->widget;
    if (!own) return;
    auto window = impl_->window.lock();
    QWidget* target = window ? window->contentWidget() : nullptr;
    impl_->host.reset();
    if (window && !impl_->initialParent.empty()) {
        auto host = window->ControlByName(impl_->initialParent);
        QWidget* hostWidget = host ? host->widget() : nullptr;
        if (hostWidget && host.get() != this && hostWidget != own && !own->isAncestorOf(hostWidget)) {
            target = hostWidget;
            impl_->host = host;
        }
    }
    if (target && own->parentWidget() != target) own->setParent(target);
    applyGeometry();
    applyVisible();
}

void RectControl::applyGeometry() {
    QWidget* own = impl_->widget;
    if (!own) return;
    std::int64_t originX = 0;
    std::int64_t originY = 0;
    if (auto host = impl_->host.lock()) {
        originX = host->Left();
        originY = host->Top();
    }
    own->setGeometry(widgetCoordinate(impl_->left - originX), widgetCoordinate(impl_->top - originY),
                     widgetSize(impl_->width), widgetSize(impl_->height));
}

void RectControl::applyVisible() {
    // A widget without parent would be a window of its own.
    if (impl_->widget && impl_->widget->parentWidget()) impl_->widget->setVisible(impl_->visible);
}

// Controls inside this one are placed from the window, so they are placed anew with it.
void RectControl::relayout() {
    if (auto window = impl_->window.lock()) window->layoutControls();
    else applyGeometry();
}

void RectControl::followWindowResize(std::int64_t dx, std::int64_t dy) {
    if (impl_->lockLeft && impl_->lockRight) impl_->width = saturated(impl_->width + dx);
    else if (impl_->lockRight) impl_->left = saturated(impl_->left + dx);
    if (impl_->lockTop && impl_->lockBottom) impl_->height = saturated(impl_->height + dy);
    else if (impl_->lockBottom) impl_->top = saturated(impl_->top + dy);
}

String RectControl::Name() const { return impl_->name; }
void RectControl::SetName(const String& name) { impl_->name = name; }

std::int32_t RectControl::Index() const { return impl_->index; }
void RectControl::SetIndex(std::int32_t index) { impl_->index = index; }

std::int32_t RectControl::Left() const { return impl_->left; }
void RectControl::SetLeft(std::int32_t left) {
    impl_->left = left;
    relayout();
}

std::int32_t RectControl::Top() const { return impl_->top; }
void RectControl::SetTop(std::int32_t top) {
    impl_->top = top;
    relayout();
}

std::int32_t RectControl::Width() const { return impl_->width; }
void RectControl::SetWidth(std::int32_t width) {
    impl_->width = width;
    applyGeometry();
}

std::int32_t RectControl::Height() const { return impl_->height; }
void RectControl::SetHeight(std::int32_t height) {
    impl_->height = height;
    applyGeometry();
}

bool RectControl::LockLeft() const { return impl_->lockLeft; }
void RectControl::SetLockLeft(bool locked) { impl_->lockLeft = locked; }
bool RectControl::LockTop() const { return impl_->lockTop; }
void RectControl::SetLockTop(bool locked) { impl_->lockTop = locked; }
bool RectControl::LockRight() const { return impl_->lockRight; }
void RectControl::SetLockRight(bool locked) { impl_->lockRight = locked; }
bool RectControl::LockBottom() const { return impl_->lockBottom; }
void RectControl::SetLockBottom(bool locked) { impl_->lockBottom = locked; }

std::int32_t RectControl::TabPanelIndex() const { return impl_->tabPanelIndex; }
void RectControl::SetTabPanelIndex(std::int32_t index) { impl_->tabPanelIndex = index; }

std::int32_t RectControl::TabIndex() const { return impl_->tabIndex; }
void RectControl::SetTabIndex(std::int32_t index) {
    impl_->tabIndex = index;
    if (auto window = impl_->window.lock(); window && window->IsOpen()) window->applyTabOrder();
}

bool RectControl::TabStop() const { return impl_->tabStop; }
void RectControl::SetTabStop(bool tabStop) {
    impl_->tabStop = tabStop;
    refreshFocusPolicy();
}

bool RectControl::Enabled() const { return impl_->enabled; }
void RectControl::SetEnabled(bool enabled) {
    impl_->enabled = enabled;
    if (impl_->widget) impl_->widget->setEnabled(enabled);
}

bool RectControl::Visible() const { return impl_->visible; }
void RectControl::SetVisible(bool visible) {
    impl_->visible = visible;
    applyVisible();
}

String RectControl::HelpTag() const { return impl_->helpTag; }
void RectControl::SetHelpTag(const String& tag) {
    impl_->helpTag = tag;
    if (impl_->widget) impl_->widget->setToolTip(qtbridge::toQString(tag));
}

bool RectControl::AutoDeactivate() const { return impl_->autoDeactivate; }
void RectControl::SetAutoDeactivate(bool autoDeactivate) { impl_->autoDeactivate = autoDeactivate; }

String RectControl::InitialParent() const { return impl_->initialParent; }
void RectControl::SetInitialParent(const String& name) {
    impl_->initialParent = name;
    applyParent();
}

// Each kind of control lists the events it has in its class table; the framework's tables
// also say which kind has an event that another kind lacks.
void RuntimeAddEventHandler(RectControl& control, int eventNumber, std::shared_ptr<DelegateBase> delegate) {
    if (!delegate) RaiseNilObjectException();
    const ClassTable& cls = control.classTable();
    auto refuse = [&](const std::string& why) {
        throw RuntimeException(
            String("RuntimeException: event " + std::to_string(eventNumber) + " of " + cls.fullName + ": " + why));
    };
    if (const HandlerEvent* event = cls.handlerEvent(eventNumber)) {
        if (!event->accepts(*delegate))
            refuse(event->name + " takes a delegate \"" + event->signature + "\", not \"" +
                   delegate->Signature().bytes() + "\"");
        control.impl_->handlers[eventNumber] = std::move(delegate);
        return;
    }
    for (const ClassTable* owner : FrameworkClassTables())
        if (auto it = owner->handlerEvents.find(eventNumber); it != owner->handlerEvents.end())
            refuse("only a " + owner->fullName + " has the " + it->second.name + " event");
    refuse("the control has no such event");
}

}  // namespace fw
