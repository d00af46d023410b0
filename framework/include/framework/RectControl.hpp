#pragma once
// The base of every control: position and size in window units, the four edge locks, focus
// order, enabled and visible state, and the event handlers attached by number.
//
// Left and Top are measured from the window's content area, also for a control that stands
// inside another one (InitialParent). Locks: a control locked to the left and the right edge
// grows and shrinks with the window; locked to the right only, it moves with that edge; the
// same holds vertically; otherwise it keeps its place.

#include "Delegate.hpp"
#include "Object.hpp"
#include "String.hpp"

#include <cstdint>
#include <memory>

class QWidget;

namespace fw {

class Window;

class RectControl : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    RectControl();
    ~RectControl() override;

    // Completes construction: makes the control's widget inside its window.
    virtual void Constructor();

    std::shared_ptr<fw::Window> ParentWindow() const;

    String Name() const;
    void SetName(const String& name);
    std::int32_t Index() const;  // stored only: there are no control arrays
    void SetIndex(std::int32_t index);
    std::int32_t Left() const;
    void SetLeft(std::int32_t left);
    std::int32_t Top() const;
    void SetTop(std::int32_t top);
    std::int32_t Width() const;
    void SetWidth(std::int32_t width);
    std::int32_t Height() const;
    void SetHeight(std::int32_t height);
    bool LockLeft() const;
    void SetLockLeft(bool locked);
    bool LockTop() const;
    void SetLockTop(bool locked);
    bool LockRight() const;
    void SetLockRight(bool locked);
    bool LockBottom() const;
    void SetLockBottom(bool locked);
    std::int32_t TabPanelIndex() const;  // stored only: there are no tab panels
    void SetTabPanelIndex(std::int32_t index);
    std::int32_t TabIndex() const;  // the place in the window's keyboard focus order
    void SetTabIndex(std::int32_t index);
    // Whether the Tab key stops at the control; the classes that take the focus list it.
    bool TabStop() const;
    void SetTabStop(bool tabStop);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    String HelpTag() const;  // shown as the tooltip
    void SetHelpTag(const String& tag);
    bool AutoDeactivate() const;  // stored only
    void SetAutoDeactivate(bool autoDeactivate);
    // The name of the control, registered earlier in the same window, inside which this one
    // stands; empty, unknown, or the control itself or one inside it: the window.
    String InitialParent() const;
    void SetInitialParent(const String& name);

    QWidget* widget() const;  // framework and tests only

protected:
    // The control's widget, made by Constructor with its parent.
    virtual QWidget* makeWidget(QWidget* parent);
    // Brings a newly made widget up to the properties set so far.
    virtual void applyToWidget();
    // Whether the control can take the keyboard focus at all.
    virtual bool takesFocus() const;
    void refreshFocusPolicy();
    std::shared_ptr<DelegateBase> handler(int eventNumber) const;

private:
    friend class Window;
    friend void RuntimeAddEventHandler(RectControl& control, int eventNumber, std::shared_ptr<DelegateBase> delegate);
    void attachTo(const std::shared_ptr<Window>& window);
    void joinWindow();
    void followWindowResize(std::int64_t dx, std::int64_t dy);
    void applyGeometry();
    void applyParent();
    void applyVisible();
    void relayout();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Attaches the delegate to the control's event by number. The events a kind of control has
// stand in its class table, each with the delegate type it takes (a PushButton's Action,
// 15, takes a Delegate<PushButton::ActionHandler>; a TextArea's KeyDown, 13, a
// Delegate<TextArea::KeyDownHandler>). A nil delegate raises NilObjectException; an event the
// control does not have, or a delegate of another type, raises RuntimeException and attaches
// nothing. A later delegate replaces an earlier one.
void RuntimeAddEventHandler(RectControl& control, int eventNumber, std::shared_ptr<DelegateBase> delegate);

}  // namespace fw
