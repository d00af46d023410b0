#pragma once

#include "framework/Object.hpp"
#include "framework/String.hpp"
#include "framework/Window.hpp"

#include <memory>

namespace radixel {

// The pattern every window of the program is obtained by: the registry of open windows knows
// the window by its full class name, exactly as the class table records it, so there is never
// a second open one of the class. A window found open, shown or hidden, is returned as it is;
// only a window built here runs its hooks.
template <class W>
std::shared_ptr<W> OpenWindow() {
    std::shared_ptr<fw::Window> window = fw::GetImplicitWindow(fw::String(W::Lookup().fullName));
    if (!window) {
        window = fw::RuntimeCheckCast<fw::Window>(fw::RuntimeNewObject(W::Lookup()), fw::Window::Lookup());
        window->Constructor();
    }
    return fw::RuntimeCheckCast<W>(window, W::Lookup());
}

}  // namespace radixel
