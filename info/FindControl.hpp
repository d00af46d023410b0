#pragma once

#include "framework/Exceptions.hpp"
#include "framework/Object.hpp"
#include "framework/Window.hpp"

#include <memory>

namespace radixel {

// The control registered under the name, as T, for the building code that has just registered
// it. Using a control that is not there raises NilObjectException, as any use of nil does,
// instead of reaching through a null pointer.
template <class T>
std::shared_ptr<T> FindControl(const fw::Window& window, const char* name) {
    std::shared_ptr<T> control = fw::RuntimeCheckCast<T>(window.ControlByName(name), T::Lookup());
    if (!control) fw::RaiseNilObjectException();
    return control;
}

}  // namespace radixel
