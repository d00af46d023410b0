#pragma once
// Windows for the tests: a scratch window whose hooks run what the test gives them, and the
// accessor pattern the program uses to reach a window.

#include "framework/Events.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Object.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/PushButton.hpp"
#include "framework/RectControl.hpp"
#include "framework/TextArea.hpp"
#include "framework/TextView.hpp"
#include "framework/Window.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace widgettest {

class ScratchWindow : public fw::Window {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = [] {
            fw::ClassTable t = fw::MakeClassTable<ScratchWindow>("Tests.ScratchWindow", &fw::Window::Lookup());
            fw::AddEvent(t, fw::events::WindowLayout, &ScratchWindow::Layout);
            fw::AddEvent(t, fw::events::WindowCreateControls, &ScratchWindow::CreateControls);
            fw::AddEvent(t, fw::events::WindowOpen, &ScratchWindow::Open);
            return t;
        }();
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }

    // What the next window built runs in its hooks.
    static inline std::function<void(ScratchWindow&)> layout, createControls, open;
    static inline std::vector<std::string> hookLog;
    static inline std::vector<std::string> pressed;
    static inline std::vector<std::string> keys;
    static inline bool consumeKeys = false;

    void Layout() {
        hookLog.push_back("Layout");
        if (layout) layout(*this);
    }
    void CreateControls() {
        hookLog.push_back("CreateControls");
        if (createControls) createControls(*this);
    }
    void Open() {
        hookLog.push_back("Open");
        if (open) open(*this);
    }

    void Pressed(std::shared_ptr<fw::PushButton> button) { pressed.push_back(button ? button->Name().bytes() : "nil"); }
    bool KeyDown(std::shared_ptr<fw::TextArea>, fw::String key) {
        keys.push_back(key.bytes());
        return consumeKeys;
    }

    // The control-creation steps of the program's windows.
    template <class T>
    std::shared_ptr<T> add(const char* name, const fw::String& record) {
        auto control = New(T::Lookup());
        control->Constructor();
        AddControl(name, control);
        auto found = fw::RuntimeCheckCast<T>(ControlByName(name), T::Lookup());
        fw::SetProperties(found, record);
        return found;
    }

    void attachPressed(const std::shared_ptr<fw::PushButton>& button) {
        auto self = std::static_pointer_cast<ScratchWindow>(shared_from_this());
        fw::RuntimeAddEventHandler(
            *button, fw::events::PushButtonAction,
            fw::RuntimeCreateDelegate(&ScratchWindow::Pressed, self, "( PushButton )", fw::DelegateKind::Weak));
    }
    void attachKeyDown(const std::shared_ptr<fw::TextArea>& area) {
        auto self = std::static_pointer_cast<ScratchWindow>(shared_from_this());
        fw::RuntimeAddEventHandler(
            *area, fw::events::TextAreaKeyDown,
            fw::RuntimeCreateDelegate(&ScratchWindow::KeyDown, self, "( TextArea, String ) as Boolean",
                                      fw::DelegateKind::Weak));
    }
};

// The program's accessor: the open window of the class, or a new one built.
inline std::shared_ptr<ScratchWindow> Scratch() {
    auto window = fw::GetImplicitWindow("Tests.ScratchWindow");
    if (!window) {
        window = fw::RuntimeCheckCast<fw::Window>(fw::RuntimeNewObject(ScratchWindow::Lookup()), fw::Window::Lookup());
        window->Constructor();
    }
    return fw::RuntimeCheckCast<ScratchWindow>(window, ScratchWindow::Lookup());
}

// The view that shows a text area's text, once the area is constructed.
inline fw::TextView* viewOf(const fw::TextArea& area) { return qobject_cast<fw::TextView*>(area.widget()); }

inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Every test starts without windows and without hooks.
class WidgetTest : public testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override {
        fw::CloseAllWindows();
        flushDeletes();
        reset();
    }
    static void reset() {
        ScratchWindow::layout = nullptr;
        ScratchWindow::createControls = nullptr;
        ScratchWindow::open = nullptr;
        ScratchWindow::hookLog.clear();
        ScratchWindow::pressed.clear();
        ScratchWindow::keys.clear();
        ScratchWindow::consumeKeys = false;
    }
};

}  // namespace widgettest

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace widgettest {

// A key press and release as the desktop delivers them: through the application, so event
// filters run and a key the widget ignores goes on to its parents.
inline void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// Letters, digits and blanks, one key each.
inline void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        int key = c.toUpper().unicode();
        pressKey(widget, key, Qt::NoModifier, QString(c));
    }
}

}  // namespace widgettest
