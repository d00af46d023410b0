#include "Application.hpp"

#include "Events.hpp"
#include "MenuBar.hpp"
#include "MenuItem.hpp"

#include <algorithm>

namespace fw {

namespace {

std::shared_ptr<Application>& registeredApp() {
    static std::shared_ptr<Application> app;
    return app;
}

}  // namespace

const ClassTable& Application::Lookup() {
    static const ClassTable table = MakeClassTable<Application>("Application", &Object::Lookup());
    return table;
}

void Application::SetMenuBar(std::shared_ptr<fw::MenuBar> bar) { menuBar_ = std::move(bar); }

// A second registration under a name replaces the first in its place, so that one choice
// never runs two handlers and the registry keeps the order of first registration.
void Application::AddMenuHandler(const String& itemName, MenuHandler handler) {
    auto it =
        std::find_if(handlers_.begin(), handlers_.end(), [&](const auto& entry) { return entry.first == itemName; });
    if (it != handlers_.end()) it->second = std::move(handler);
    else handlers_.emplace_back(itemName, std::move(handler));
}

bool Application::HandleMenuCommand(const MenuItem& item) {
    const String name = item.Name();
    for (const auto& [itemName, handler] : handlers_)
        if (itemName == name) {
            // A copy, so that a handler that registers handlers cannot pull itself from under the call.
            MenuHandler run = handler;
            return run ? run(this) : false;
        }
    return false;
}

bool Application::HasMenuHandler(const String& itemName) const {
    return std::any_of(handlers_.begin(), handlers_.end(), [&](const auto& entry) { return entry.first == itemName; });
}

void Application::CallOpen() {
    if (const EventEntry* open = classTable().event(events::AppOpen)) (*open)(*this);
}

void Application::EnableMenuItems() {
    if (const EventEntry* enable = classTable().event(events::AppEnableMenuItems)) (*enable)(*this);
}

void RuntimeRegisterAppObject(std::shared_ptr<Application> app) { registeredApp() = std::move(app); }

std::shared_ptr<Application> GetAppObject() { return registeredApp(); }

}  // namespace fw
