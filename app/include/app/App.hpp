#pragma once
// The application object: builds the information windows when the application opens, keeps
// the About item enabled, and shows the About and help windows from their menu items.

#include "framework/AppleMenuItem.hpp"
#include "framework/Application.hpp"

#include <memory>

namespace radixel {

class App : public fw::Application {
public:
    static const fw::ClassTable& Lookup();
    const fw::ClassTable& classTable() const override { return Lookup(); }

    // Virtual so that the class of the registered object decides what runs: the event entries
    // and the menu handlers both reach these through the object.
    virtual void Event_Open();
    virtual void Event_EnableMenuItems();
    virtual bool AppleAbout_Action();
    virtual bool HelpRadixelHelp_Action();
    virtual void Constructor();
};

namespace instance {

// The registered application object; nil before start-up has registered one.
std::shared_ptr<radixel::App> App();

}  // namespace instance

// The About item below the application's menu bar, at whatever depth it lies, or nil when the
// bar holds no item of that name. Raises NilObjectException without an application object or
// menu bar.
std::shared_ptr<fw::AppleMenuItem> AppleAbout();

}  // namespace radixel
