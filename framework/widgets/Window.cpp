#include "Window.hpp"

#include "Events.hpp"
#include "Exceptions.hpp"
#include "MenuBar.hpp"
#include "MenuPresenter.hpp"
#include "Property.hpp"
#include "PushButton.hpp"
#include "QtBridge.hpp"
#include "RectControl.hpp"
#include "Runtime.hpp"
#include "WindowRegistry.hpp"
#include "WindowWidgets.hpp"

#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace fw {

using qtbridge::ContentWidget;
using qtbridge::WindowFrame;

namespace {

enum class Stage { Unbuilt, Building, Open, Closed };

// A window that no record has sized yet still opens at a usable size.
constexpr std::int32_t kDefaultSize = 300;
constexpr std::int32_t kDefaultMinSize = 64;
constexpr std::int32_t kDefaultMaxSize = 32000;
constexpr std::int32_t kDialogFrame = 3;
constexpr std::int32_t kPlaceOverFrontWindow = 1;
constexpr std::int32_t kPlaceOnScreen = 3;

int clampSize(std::int64_t size) { return static_cast<int>(std::clamp<std::int64_t>(size, 0, QWIDGETSIZE_MAX)); }

}  // namespace

struct Window::Impl {
    Stage stage = Stage::Unbuilt;
    bool widgetMade = false;
    bool placed = false;
    QPointer<WindowFrame> frame;
    QPointer<ContentWidget> content;
    std::shared_ptr<fw::MenuBar> menuBar;
    std::vector<std::shared_ptr<RectControl>> controls;
    std::vector<String> names;  // the registered name of controls[i]

    std::int32_t placement = 0;
    std::int32_t width = kDefaultSize;
    std::int32_t height = kDefaultSize;
    std::int32_t minWidth = kDefaultMinSize;
    std::int32_t minHeight = kDefaultMinSize;
    std::int32_t maxWidth = kDefaultMaxSize;
    std::int32_t maxHeight = kDefaultMaxSize;
    std::int32_t frameCode = 0;
    bool composite = false;
    bool hasBackColor = false;
    Color backColor = Color::FromRGB(0xFFFFFF);
    String title;
    bool visible = true;
    bool fullScreen = false;
    bool menuBarVisible = true;
    bool closeButton = true;
    bool resizeable = true;
    bool liveResize = true;
    bool maximizeButton = true;
    bool minimizeButton = true;
    std::int32_t macProcId = 0;
};

const ClassTable& Window::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<Window>("Window", &Object::Lookup());
        t.properties = {
            MakeProperty("Placement", &Window::Placement, &Window::SetPlacement),
            MakeProperty("Width", &Window::Width, &Window::SetWidth),
            MakeProperty("Height", &Window::Height, &Window::SetHeight),
            MakeProperty("MinWidth", &Window::MinWidth, &Window::SetMinWidth),
            MakeProperty("MinHeight", &Window::MinHeight, &Window::SetMinHeight),
            MakeProperty("MaxWidth", &Window::MaxWidth, &Window::SetMaxWidth),
            MakeProperty("MaxHeight", &Window::MaxHeight, &Window::SetMaxHeight),
            MakeProperty("Frame", &Window::Frame, &Window::SetFrame),
            MakeProperty("Composite", &Window::Composite, &Window::SetComposite),
            MakeProperty("HasBackColor", &Window::HasBackColor, &Window::SetHasBackColor),
            MakeProperty("BackColor", &Window::BackColor, &Window::SetBackColor),
            MakeProperty("Title", &Window::Title, &Window::SetTitle),
            MakeProperty("Visible", &Window::Visible, &Window::SetVisible),
            MakeProperty("FullScreen", &Window::FullScreen, &Window::SetFullScreen),
            MakeProperty("MenuBarVisible", &Window::MenuBarVisible, &Window::SetMenuBarVisible),
            MakeProperty("CloseButton", &Window::CloseButton, &Window::SetCloseButton),
            MakeProperty("Resizeable", &Window::Resizeable, &Window::SetResizeable),
            MakeProperty("LiveResize", &Window::LiveResize, &Window::SetLiveResize),
            MakeProperty("MaximizeButton", &Window::MaximizeButton, &Window::SetMaximizeButton),
            MakeProperty("MinimizeButton", &Window::MinimizeButton, &Window::SetMinimizeButton),
            MakeProperty("MacProcId", &Window::MacProcId, &Window::SetMacProcId),
        };
        return t;
    }();
    return table;
}

Window::Window() : impl_(std::make_unique<Impl>()) {}

Window::~Window() {
    if (impl_->frame) impl_->frame->onClose = nullptr;
    if (impl_->content) {
        impl_->content->onResize = nullptr;
        impl_->content->onKey = nullptr;
    }
    impl_->controls.clear();
    qtbridge::releaseWidget(impl_->frame);
}

void Window::Constructor() {
    if (impl_->stage != Stage::Unbuilt)
        throw RuntimeException(String("RuntimeException: the window " + classTable().fullName + " was built already"));
    auto self = std::static_pointer_cast<Window>(weak_from_this().lock());
    if (!self)
        throw RuntimeException(String("RuntimeException: the window " + classTable().fullName +
                                      " must be made with RuntimeNewObject before it is built"));
    makeWidget();
    impl_->stage = Stage::Building;
    try {
        runEvent(events::WindowLayout);
        if (impl_->stage == Stage::Closed) return;
        runEvent(events::WindowCreateControls);
        if (impl_->stage == Stage::Closed) return;
        applyTabOrder();
        impl_->stage = Stage::Open;
        windowregistry::add(self);
        runEvent(events::WindowOpen);
        if (impl_->stage == Stage::Open && impl_->visible) showWidget();
    } catch (...) {
        abandon();
        throw;
    }
}

// The most derived class that has an entry for the event runs it.
void Window::runEvent(int number) {
    for (const ClassTable* cls = &classTable(); cls; cls = cls->parent) {
        if (const EventEntry* entry = cls->event(number)) {
            (*entry)(*this);
            return;
        }
    }
}

void Window::abandon() {
    impl_->stage = Stage::Closed;
    impl_->visible = false;
    windowregistry::remove(this);
    if (impl_->frame) impl_->frame->onClose = nullptr;
    qtbridge::releaseWidget(impl_->frame);
}

void Window::Show() {
    impl_->visible = true;
    if (impl_->stage == Stage::Open) showWidget();
}

void Window::Hide() {
    impl_->visible = false;
    if (!impl_->frame) return;
    // A window built visible and hidden at once was never seen where it was placed, and the
    // windows it was placed against may not have reached their own places yet: it is placed
    // when it is next shown.
    if (!impl_->frame->reachedScreen()) impl_->placed = false;
    impl_->frame->hide();
}

void Window::Close() {
    if (impl_->stage == Stage::Closed) return;
    // Leaving the registry may drop the last reference; this call finishes first.
    auto keepAlive = weak_from_this().lock();
    impl_->stage = Stage::Closed;
    impl_->visible = false;
    if (impl_->frame) impl_->frame->hide();
    windowregistry::remove(this);
}

bool Window::IsOpen() const { return impl_->stage == Stage::Open; }

QWidget* Window::widget() const { return impl_->frame.data(); }

std::shared_ptr<fw::MenuBar> Window::MenuBar() const { return impl_->menuBar; }

void Window::SetMenuBar(std::shared_ptr<fw::MenuBar> bar) {
    impl_->menuBar = std::move(bar);
    installMenuBar();
}

std::shared_ptr<RectControl> Window::New(const ClassTable& controlClass) {
    auto control = std::dynamic_pointer_cast<RectControl>(RuntimeNewObject(controlClass));
    if (!control) throw RuntimeException(String("RuntimeException: " + controlClass.fullName + " is no control class"));
    control->attachTo(std::static_pointer_cast<Window>(weak_from_this().lock()));
    return control;
}

void Window::AddControl(const String& name, std::shared_ptr<RectControl> control) {
    if (!control) RaiseNilObjectException();
    auto& controls = impl_->controls;
    if (std::find(controls.begin(), controls.end(), control) != controls.end())
        throw RuntimeException(String("RuntimeException: the control " + name.bytes() + " is in the window already"));
    auto owner = control->ParentWindow();
    if (owner && owner.get() != this)
        throw RuntimeException(String("RuntimeException: the control " + name.bytes() + " belongs to another window"));
    if (!owner) control->attachTo(std::static_pointer_cast<Window>(weak_from_this().lock()));
    controls.push_back(control);
    impl_->names.push_back(name);
    if (control->Name().empty()) control->SetName(name);
    control->joinWindow();
    if (impl_->stage == Stage::Open) applyTabOrder();
}

std::shared_ptr<RectControl> Window::ControlByName(const String& name) const {
    for (std::size_t i = 0; i < impl_->names.size(); ++i)
        if (impl_->names[i] == name) return impl_->controls[i];
    return nullptr;
}

const std::vector<std::shared_ptr<RectControl>>& Window::Controls() const { return impl_->controls; }

QWidget* Window::contentWidget() {
    makeWidget();
    return impl_->content.data();
}

void Window::makeWidget() {
    if (impl_->widgetMade) return;
    qtbridge::requireWidgets("a window");
    impl_->widgetMade = true;
    auto* frame = new WindowFrame;
    auto* content = new ContentWidget;
    frame->setCentralWidget(content);
    impl_->frame = frame;
    impl_->content = content;
    // The widgets may outlive this object by a trip through the event loop; the destructor
    // clears these callbacks.
    frame->onClose = [this] { CallGuarded([this] { Close(); }); };
    content->onResize = [this](int width, int height) { contentResized(width, height); };
    content->onKey = [this](int key) { return defaultOrCancelKey(key); };
    frame->setWindowTitle(qtbridge::toQString(impl_->title));
    applyFlags();
    applyBackground();
    installMenuBar();
}

void Window::installMenuBar() {
    if (!impl_->frame) return;
    QMenuBar* bar = impl_->menuBar ? CreateQMenuBar(impl_->menuBar, impl_->frame) : nullptr;
    impl_->frame->setMenuBar(bar);
    if (bar) bar->setVisible(impl_->menuBarVisible);
    fitContent();
}

// Sizes the frame so that the content area below the menu bar has the window's size and
// limits. The menu bar's height can depend on the width (it wraps), so the frame is measured
// after laying it out, and measured again once.
void Window::fitContent() {
    WindowFrame* frame = impl_->frame;
    ContentWidget* content = impl_->content;
    if (!frame || !content) return;
    const QSize wanted(clampSize(impl_->width), clampSize(impl_->height));
    // Qt places the menu bar when it activates the layout, not in the layout's setGeometry.
    auto layOut = [&] {
        if (QLayout* layout = frame->layout()) {
            layout->invalidate();
            layout->activate();
        }
    };
    layOut();
    for (int pass = 0; pass < 2; ++pass) {
        const QSize extra = frame->size() - content->size();
        const QSize total = wanted + extra;
        QSize smallest = total;
        QSize largest = total;
        if (impl_->resizeable) {
            smallest = QSize(clampSize(std::int64_t{impl_->minWidth} + extra.width()),
                             clampSize(std::int64_t{impl_->minHeight} + extra.height()));
            largest = QSize(clampSize(std::int64_t{impl_->maxWidth} + extra.width()),
                            clampSize(std::int64_t{impl_->maxHeight} + extra.height()))
                          .expandedTo(smallest);
        }
        // Each change of a limit goes to the desktop; most record items change none.
        if (frame->minimumSize() != smallest) frame->setMinimumSize(smallest);
        if (frame->maximumSize() != largest) frame->setMaximumSize(largest);
        frame->resize(total);
        layOut();
        if (content->size() == wanted) break;
    }
    contentResized(content->width(), content->height());
}

// Controls follow every change of the content size, the program's and the user's, by the
// difference: so the locks give the same result whichever way the size arrives.
void Window::contentResized(int width, int height) {
    const std::int64_t dx = std::int64_t{width} - impl_->width;
    const std::int64_t dy = std::int64_t{height} - impl_->height;
    if (dx == 0 && dy == 0) return;
    impl_->width = width;
    impl_->height = height;
    for (const auto& control : impl_->controls) control->followWindowResize(dx, dy);
    layoutControls();
}

void Window::layoutControls() {
    for (const auto& control : impl_->controls) control->applyGeometry();
}

void Window::applyTabOrder() {
    std::vector<RectControl*> order;
    for (const auto& control : impl_->controls)
        if (control->widget() && impl_->frame && control->widget()->window() == impl_->frame)
            order.push_back(control.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const RectControl* a, const RectControl* b) { return a->TabIndex() < b->TabIndex(); });
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1]->widget(), order[i]->widget());
}

bool Window::defaultOrCancelKey(int key) {
    const bool isReturn = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool isEscape = key == Qt::Key_Escape;
    if (!isReturn && !isEscape) return false;
    std::shared_ptr<PushButton> chosen;
    for (const auto& control : impl_->controls) {
        auto button = std::dynamic_pointer_cast<PushButton>(control);
        if (button && (isReturn ? button->Default() : button->Cancel()) && button->Enabled() && button->Visible()) {
            chosen = button;
            break;
        }
    }
    if (!chosen) return false;
    chosen->Push();
    return true;
}

void Window::applyFlags() {
    WindowFrame* frame = impl_->frame;
    if (!frame) return;
    Qt::WindowFlags flags = (impl_->frameCode == kDialogFrame ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (impl_->closeButton) flags |= Qt::WindowCloseButtonHint;
    if (impl_->minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    if (impl_->maximizeButton && impl_->resizeable) flags |= Qt::WindowMaximizeButtonHint;
    if (frame->windowFlags() == flags) return;
    // Qt hides a window whose flags change.
    const bool shown = frame->isVisible();
    frame->setWindowFlags(flags);
    if (shown) frame->show();
}

void Window::applyBackground() {
    ContentWidget* content = impl_->content;
    if (!content) return;
    if (impl_->hasBackColor) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, qtbridge::toQColor(impl_->backColor));
        content->setPalette(palette);
        content->setAutoFillBackground(true);
    } else {
        content->setPalette(QPalette());
        content->setAutoFillBackground(false);
    }
}

void Window::showWidget() {
    WindowFrame* frame = impl_->frame;
    if (!frame) return;
    place();
    Qt::WindowStates state = frame->windowState();
    frame->setWindowState(impl_->fullScreen ? (state | Qt::WindowFullScreen) : (state & ~Qt::WindowFullScreen));
    frame->show();
    // The offscreen platform has no stacking and says so on every raise.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) frame->raise();
    frame->activateWindow();
}

// The placement applies once, when the window is first shown on the screen; after that the
// user's moves stand.
void Window::place() {
    WindowFrame* frame = impl_->frame;
    if (impl_->placed || !frame) return;
    impl_->placed = true;
    QScreen* screen = frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    QRect area;
    if (impl_->placement == kPlaceOverFrontWindow) {
        QWidget* front = QApplication::activeWindow();
        if (!front || front == frame || !front->isVisible()) {
            front = nullptr;
            for (const auto& window : windowregistry::openWindows())
                if (window.get() != this && window->widget() && window->widget()->isVisible()) {
                    front = window->widget();
                    break;
                }
        }
        area = front ? front->frameGeometry() : available;
    } else if (impl_->placement == kPlaceOnScreen) {
        area = available;
    } else {
        return;
    }
    QRect placed(QPoint(0, 0), frame->frameGeometry().size());
    placed.moveCenter(area.center());
    // The title bar stays reachable.
    placed.moveTop(std::max(placed.top(), available.top()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    frame->move(placed.topLeft());
}

std::int32_t Window::Placement() const { return impl_->placement; }
void Window::SetPlacement(std::int32_t code) { impl_->placement = code; }

std::int32_t Window::Width() const { return impl_->width; }
void Window::SetWidth(std::int32_t width) {
    const std::int64_t dx = std::int64_t{width} - impl_->width;
    impl_->width = width;
    for (const auto& control : impl_->controls) control->followWindowResize(dx, 0);
    layoutControls();
    fitContent();
}

std::int32_t Window::Height() const { return impl_->height; }
void Window::SetHeight(std::int32_t height) {
    const std::int64_t dy = std::int64_t{height} - impl_->height;
    impl_->height = height;
    for (const auto& control : impl_->controls) control->followWindowResize(0, dy);
    layoutControls();
    fitContent();
}

std::int32_t Window::MinWidth() const { return impl_->minWidth; }
void Window::SetMinWidth(std::int32_t width) {
    impl_->minWidth = width;
    fitContent();
}

std::int32_t Window::MinHeight() const { return impl_->minHeight; }
void Window::SetMinHeight(std::int32_t height) {
    impl_->minHeight = height;
    fitContent();
}

std::int32_t Window::MaxWidth() const { return impl_->maxWidth; }
void Window::SetMaxWidth(std::int32_t width) {
    impl_->maxWidth = width;
    fitContent();
}

std::int32_t Window::MaxHeight() const { return impl_->maxHeight; }
void Window::SetMaxHeight(std::int32_t height) {
    impl_->maxHeight = height;
    fitContent();
}

std::int32_t Window::Frame() const { return impl_->frameCode; }
void Window::SetFrame(std::int32_t code) {
    impl_->frameCode = code;
    applyFlags();
}

bool Window::Composite() const { return impl_->composite; }
void Window::SetComposite(bool composite) { impl_->composite = composite; }

bool Window::HasBackColor() const { return impl_->hasBackColor; }
void Window::SetHasBackColor(bool hasBackColor) {
    impl_->hasBackColor = hasBackColor;
    applyBackground();
}

Color Window::BackColor() const { return impl_->backColor; }
void Window::SetBackColor(Color colour) {
    impl_->backColor = colour;
    applyBackground();
}

String Window::Title() const { return impl_->title; }
void Window::SetTitle(const String& title) {
    impl_->title = title;
    if (impl_->frame) impl_->frame->setWindowTitle(qtbridge::toQString(title));
}

bool Window::Visible() const { return impl_->visible; }
void Window::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}

bool Window::FullScreen() const { return impl_->fullScreen; }
void Window::SetFullScreen(bool fullScreen) {
    impl_->fullScreen = fullScreen;
    if (impl_->frame && impl_->frame->isVisible()) showWidget();
}

bool Window::MenuBarVisible() const { return impl_->menuBarVisible; }
void Window::SetMenuBarVisible(bool visible) {
    impl_->menuBarVisible = visible;
    if (impl_->frame && impl_->frame->menuWidget()) {
        impl_->frame->menuWidget()->setVisible(visible);
        fitContent();
    }
}

bool Window::CloseButton() const { return impl_->closeButton; }
void Window::SetCloseButton(bool closeButton) {
    impl_->closeButton = closeButton;
    applyFlags();
}

bool Window::Resizeable() const { return impl_->resizeable; }
void Window::SetResizeable(bool resizeable) {
    impl_->resizeable = resizeable;
    applyFlags();
    fitContent();
}

bool Window::LiveResize() const { return impl_->liveResize; }
void Window::SetLiveResize(bool liveResize) { impl_->liveResize = liveResize; }

bool Window::MaximizeButton() const { return impl_->maximizeButton; }
void Window::SetMaximizeButton(bool maximizeButton) {
    impl_->maximizeButton = maximizeButton;
    applyFlags();
}

bool Window::MinimizeButton() const { return impl_->minimizeButton; }
void Window::SetMinimizeButton(bool minimizeButton) {
    impl_->minimizeButton = minimizeButton;
    applyFlags();
}

std::int32_t Window::MacProcId() const { return impl_->macProcId; }
void Window::SetMacProcId(std::int32_t code) { impl_->macProcId = code; }

}  // namespace fw
