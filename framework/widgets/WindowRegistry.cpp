#include "WindowRegistry.hpp"

#include "Runtime.hpp"
#include "String.hpp"
#include "Window.hpp"

#include <algorithm>

namespace fw {

namespace {

std::vector<std::shared_ptr<Window>>& registered() {
    static std::vector<std::shared_ptr<Window>> open;
    return open;
}

}  // namespace

namespace windowregistry {

void add(const std::shared_ptr<Window>& window) {
    // The windows' widgets must go while Qt still stands, so the runtime's shutdown closes them.
    static const bool closedAtShutdown = [] {
        RuntimeAddShutdownRoutine(&CloseAllWindows);
        return true;
    }();
    (void)closedAtShutdown;
    auto& open = registered();
    if (window && std::find(open.begin(), open.end(), window) == open.end()) open.push_back(window);
}

void remove(const Window* window) {
    auto& open = registered();
    auto it = std::find_if(open.begin(), open.end(), [window](const auto& w) { return w.get() == window; });
    if (it == open.end()) return;
    // The registry may hold the last reference: the window must not die inside erase().
    std::shared_ptr<Window> last = std::move(*it);
    open.erase(it);
}

std::vector<std::shared_ptr<Window>> openWindows() { return registered(); }

}  // namespace windowregistry

std::shared_ptr<Window> GetImplicitWindow(const String& fullClassName) {
    for (const auto& window : registered())
        if (window->classTable().fullName == fullClassName.view()) return window;
    return nullptr;
}

void CloseAllWindows() {
    // A program's own Close may raise; the other windows still close.
    for (const auto& window : windowregistry::openWindows()) CallGuarded([&] { window->Close(); });
}

}  // namespace fw
