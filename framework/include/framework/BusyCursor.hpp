#pragma once
// For as long as it lives, the pointer shows busy over the window, its controls and its menu
// bar included, while the window goes on taking clicks and keys. Each control gets its own
// pointer back afterwards.

#include <memory>

namespace fw {

class Window;

class BusyCursor {
public:
    explicit BusyCursor(Window& window);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
