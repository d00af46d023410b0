#include "app/App.hpp"

#include "framework/Events.hpp"
#include "framework/Exceptions.hpp"
#include "framework/MenuBar.hpp"
#include "framework/Window.hpp"
#include "info/AboutWindow.hpp"
#include "info/HelpWindow.hpp"

namespace radixel {

const fw::ClassTable& App::Lookup() {
    static const fw::ClassTable table = [] {
        auto t = fw::MakeClassTable<App>("App", &fw::Application::Lookup());
        fw::AddEvent(t, fw::events::AppOpen, &App::Event_Open);
        fw::AddEvent(t, fw::events::AppEnableMenuItems, &App::Event_EnableMenuItems);
        return t;
    }();
    return table;
}

// Both windows are built visible by their records; hiding each as soon as it exists leaves
// them ready for their menu items without showing them at start.
void App::Event_Open() {
    auto help = instance::HelpWindow();
    if (!help) fw::RaiseNilObjectException();
    help->Hide();

    auto about = instance::AboutWindow();
    if (!about) fw::RaiseNilObjectException();
    about->Hide();
}

void App::Event_EnableMenuItems() {
    auto about = AppleAbout();
    if (!about) fw::RaiseNilObjectException();
    about->SetEnabled(true);
}

// The accessor finds the window built at Open, or builds a new one once the user has closed
// that one.
bool App::AppleAbout_Action() {
    auto about = instance::AboutWindow();
    if (!about) fw::RaiseNilObjectException();
    about->Show();
    return true;
}

bool App::HelpRadixelHelp_Action() {
    auto help = instance::HelpWindow();
    if (!help) fw::RaiseNilObjectException();
    help->Show();
    return true;
}

void App::Constructor() {}

namespace instance {

std::shared_ptr<radixel::App> App() {
    return fw::RuntimeCheckCast<radixel::App>(fw::GetAppObject(), radixel::App::Lookup());
}

}  // namespace instance

std::shared_ptr<fw::AppleMenuItem> AppleAbout() {
    auto app = instance::App();
    if (!app) fw::RaiseNilObjectException();
    auto bar = app->MenuBar();
    if (!bar) fw::RaiseNilObjectException();
    // The About item sits in the File menu, not on the bar itself.
    return fw::RuntimeCheckCast<fw::AppleMenuItem>(bar->Lookup("AppleAbout"), fw::AppleMenuItem::Lookup());
}

}  // namespace radixel
