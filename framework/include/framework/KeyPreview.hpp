#pragma once
// A window's first look at the keys: for as long as the preview lives, each key pressed in any
// control of the window reaches it before the control sees the key. Command keys (with Control
// or Meta) are left to the menus and the controls.

#include "String.hpp"

#include <functional>
#include <memory>

namespace fw {

class Window;

class KeyPreview {
public:
    // The key comes as a TextArea's KeyDown takes it (27 is Escape); the preview returns true
    // when it takes the key, which then goes no further. It runs the way every handler runs
    // (CallGuarded), and may end the preview itself.
    KeyPreview(Window& window, std::function<bool(const String& key)> preview);
    ~KeyPreview();
    KeyPreview(const KeyPreview&) = delete;
    KeyPreview& operator=(const KeyPreview&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
