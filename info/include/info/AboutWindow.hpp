#pragma once

#include "framework/Window.hpp"

#include <memory>
#include <string_view>

namespace fw {
class Canvas;
class Label;
class RoundRectangle;
}  // namespace fw

namespace radixel {

// The About window: the emblem above the product's name and version, its rights line and its
// maker, framed by a rounded rectangle. It has no behaviour of its own; the application builds,
// shows and hides it.
class AboutWindow : public fw::Window {
public:
    static const fw::ClassTable& Lookup();
    const fw::ClassTable& classTable() const override { return Lookup(); }

    virtual void Layout();
    virtual void CreateControls();
    virtual void CreateControls0();
    // Each gives the control of its name, or nil when the window has none.
    virtual std::shared_ptr<fw::RoundRectangle> RoundRectangle1();
    virtual std::shared_ptr<fw::Label> StaticText2();
    virtual std::shared_ptr<fw::Canvas> Canvas1();

    // The design-time record applied to the window ("AboutWindow") or to the control of that name;
    // nullptr for any other name.
    static const fw::String* DesignRecord(std::string_view name);
};

namespace instance {

// The one open About window, built when none is open; hidden windows count as open.
std::shared_ptr<radixel::AboutWindow> AboutWindow();

}  // namespace instance
}  // namespace radixel
