#pragma once
// The registry of open windows (framework use only): it holds each window strongly from its
// construction until it closes, so a window the program drops stays open, hidden or not.

#include <memory>
#include <vector>

namespace fw {
class Window;
}

namespace fw::windowregistry {

void add(const std::shared_ptr<Window>& window);
void remove(const Window* window);
// The open windows, oldest first.
std::vector<std::shared_ptr<Window>> openWindows();

}  // namespace fw::windowregistry
