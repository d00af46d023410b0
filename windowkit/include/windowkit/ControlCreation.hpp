#pragma once
// The steps by which every window of the program builds its controls. A window keeps no
// references of its own to its controls: it registers each under its name, and every later
// step finds it again by that name, so a step always acts on the control the window holds.

#include "framework/Exceptions.hpp"
#include "framework/Object.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/RectControl.hpp"
#include "framework/String.hpp"
#include "framework/TextArea.hpp"
#include "framework/Window.hpp"

#include <memory>
#include <type_traits>
#include <utility>

namespace radixel {

// The control registered under the name, as Control, or nil: what a window's control
// accessors return, untested, to callers that test it themselves.
template <class Control>
std::shared_ptr<Control> ControlNamed(const fw::Window& window, const char* name) {
    return fw::RuntimeCheckCast<Control>(window.ControlByName(name), Control::Lookup());
}

// The control found again by the building code that has just registered it. A control that is
// not there raises NilObjectException, as any use of nil does, instead of reaching through a
// null pointer.
template <class Control>
std::shared_ptr<Control> FindControl(const fw::Window& window, const char* name) {
    std::shared_ptr<Control> control = ControlNamed<Control>(window, name);
    if (!control) fw::RaiseNilObjectException();
    return control;
}

// Allocates, constructs and registers a control. The window holds it from here on; the
// building code keeps no reference of its own.
template <class Control>
void RegisterControl(fw::Window& window, const char* name) {
    std::shared_ptr<fw::RectControl> control = window.New(Control::Lookup());
    if (!control) fw::RaiseNilObjectException();
    control->Constructor();
    window.AddControl(name, std::move(control));
}

// A control that shows text (label, field, area or button), created with its record. The
// properties that no record carries go on first, so the record has the last word.
template <class Control>
void CreateControl(fw::Window& window, const char* name, const fw::String& record) {
    RegisterControl<Control>(window, name);
    if constexpr (std::is_same_v<Control, fw::TextArea>) FindControl<fw::TextArea>(window, name)->SetLineSpacing(1.0);
    FindControl<Control>(window, name)->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(FindControl<Control>(window, name), record);
}

}  // namespace radixel
