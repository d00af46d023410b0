#pragma once
// The base of every control: position and size in window units, the four edge locks, focus
// order, enabled and visible state, and the event handlers attached by number.

#include "Delegate.hpp"
#include "Object.hpp"
#include "String.hpp"

#include <cstdint>
#include <memory>

class QWidget;

namespace fw {

class Window;

// The unit of a control's text size; 0 is the desktop's default.
enum class FontUnits : std::uint8_t { Default = 0, Pixel = 1, Point = 2, Inch = 3, Millimeter = 4 };

class RectControl : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    RectControl();
    ~RectControl() override;

    // Completes construction: makes the control's widget inside its window.
    virtual void Constructor();

    std::shared_ptr<fw::Window> ParentWindow() const;

    // Design-time properties shared by all controls (Name, Index, Left, Top, Width, Height,
    // LockLeft, LockTop, LockRight, LockBottom, TabPanelIndex, TabIndex, Enabled, Visible,
    // HelpTag, AutoDeactivate, InitialParent) are declared by the implementation, getter named
    // as the property and setter "Set" + name.

    QWidget* widget() const;  // framework and tests only

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Attaches the delegate to the control's event: 15 is a PushButton's Action, delegate type
// Delegate<void(std::shared_ptr<PushButton>)>; 13 is a TextArea's KeyDown, delegate type
// Delegate<bool(std::shared_ptr<TextArea>, String)>, whose result says the key was consumed.
void RuntimeAddEventHandler(RectControl& control, int eventNumber, std::shared_ptr<DelegateBase> delegate);

}  // namespace fw
