#pragma once
// The application object: its menu bar, its menu handlers by item name, and its two events,
// Open (once, after start-up) and EnableMenuItems (each time the menus are brought up to date).

#include "Object.hpp"
#include "String.hpp"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace fw {

class MenuBar;
class MenuItem;

class Application : public Object {
public:
    // Called with the application object as its one argument; true: the command was handled.
    using MenuHandler = std::function<bool(Object* app)>;

    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    std::shared_ptr<fw::MenuBar> MenuBar() const { return menuBar_; }
    void SetMenuBar(std::shared_ptr<fw::MenuBar> bar);

    // Records the handler under the item name; choosing that item runs it (true: handled).
    void AddMenuHandler(const String& itemName, MenuHandler handler);
    const std::vector<std::pair<String, MenuHandler>>& MenuHandlers() const { return handlers_; }

    // Runs the handler registered for the item's name; false when there is none.
    bool HandleMenuCommand(const MenuItem& item);
    bool HasMenuHandler(const String& itemName) const;
    // Runs the class's Open entry, and its EnableMenuItems entry, when they are set.
    void CallOpen();
    void EnableMenuItems();

private:
    std::shared_ptr<fw::MenuBar> menuBar_;
    std::vector<std::pair<String, MenuHandler>> handlers_;
};

// The one application object: the framework holds it until RuntimeExit, which releases it
// while the desktop connection still stands (its menu bar owns Qt objects).
void RuntimeRegisterAppObject(std::shared_ptr<Application> app);
std::shared_ptr<Application> GetAppObject();

}  // namespace fw
