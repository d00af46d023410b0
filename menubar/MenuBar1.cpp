#include "menubar/MenuBar1.hpp"

#include "framework/AppleMenuItem.hpp"
#include "framework/Exceptions.hpp"
#include "framework/MenuItem.hpp"
#include "framework/QuitMenuItem.hpp"
#include "framework/String.hpp"

#include <span>

namespace radixel {

namespace {

// An entry of the menu tree as it is created and appended. Handlers find entries by name, so
// the names must stay distinct across the whole tree.
struct MenuEntry {
    const fw::ClassTable& (*entryClass)();
    const char* name;
    const char* caption;
    const char* shortcut;    // kNotSet: the setter is never called
    const char* parentMenu;  // kOnBar: a menu of its own
};

constexpr const char* kNotSet = nullptr;
constexpr const char* kOnBar = nullptr;

const MenuEntry kFileEntries[] = {
    {&fw::MenuItem::Lookup, "FileMenu", "&File", "", kOnBar},
    {&fw::AppleMenuItem::Lookup, "AppleAbout", "About Radixel...", "", "FileMenu"},
    {&fw::QuitMenuItem::Lookup, "FileQuit", "&Quit", "Cmd+Q", "FileMenu"},
};

// The separators' names run against their order: the first one is UntitledMenu1.
const MenuEntry kEditEntries[] = {
    {&fw::MenuItem::Lookup, "EditMenu", "&Edit", "", kOnBar},
    {&fw::MenuItem::Lookup, "EditUndo", "&Undo", "Cmd+Z", "EditMenu"},
    {&fw::MenuItem::Lookup, "UntitledMenu1", "-", kNotSet, "EditMenu"},
    {&fw::MenuItem::Lookup, "EditCut", "Cu&t", "Cmd+X", "EditMenu"},
    {&fw::MenuItem::Lookup, "EditCopy", "&Copy", "Cmd+C", "EditMenu"},
    {&fw::MenuItem::Lookup, "EditPaste", "&Paste", "Cmd+V", "EditMenu"},
    {&fw::MenuItem::Lookup, "EditClear", "&Delete", "", "EditMenu"},
    {&fw::MenuItem::Lookup, "UntitledMenu0", "-", kNotSet, "EditMenu"},
    {&fw::MenuItem::Lookup, "EditSelectAll", "Select &All", "Cmd+A", "EditMenu"},
};

const MenuEntry kHelpEntries[] = {
    {&fw::MenuItem::Lookup, "HelpMenu", "Help", "", kOnBar},
    {&fw::MenuItem::Lookup, "HelpRadixelHelp", "Radixel Help", "", "HelpMenu"},
};

void AddEntry(MenuBar1& bar, const MenuEntry& row) {
    auto entry = fw::RuntimeCheckCast<fw::MenuItem>(fw::RuntimeNewObject(row.entryClass()), fw::MenuItem::Lookup());
    if (!entry) fw::RaiseNilObjectException();
    entry->Constructor();
    entry->SetName(row.name);
    entry->SetAutoEnable(true);
    entry->SetText(row.caption);
    if (row.shortcut != kNotSet) entry->SetKeyboardShortcut(row.shortcut);

    if (row.parentMenu == kOnBar) {
        bar.Append(entry);
        return;
    }
    // The menu is found again on the bar for every command, so a command can only land in a
    // menu that the bar really holds under that name.
    auto menu = bar.Child(row.parentMenu);
    if (!menu) fw::RaiseNilObjectException();
    menu->Append(entry);
}

void AddEntries(MenuBar1& bar, std::span<const MenuEntry> rows) {
    for (const MenuEntry& row : rows) AddEntry(bar, row);
}

}  // namespace

std::shared_ptr<MenuBar1> MenuBar1::_implicitInstance;

const fw::ClassTable& MenuBar1::Lookup() {
    static const fw::ClassTable table = fw::MakeClassTable<MenuBar1>("MenuBar1.MenuBar1", &fw::MenuBar::Lookup());
    return table;
}

void MenuBar1::Constructor() {
    Untitled0();
    Untitled1();
    Untitled2();
}

void MenuBar1::Untitled0() { AddEntries(*this, kFileEntries); }

void MenuBar1::Untitled1() { AddEntries(*this, kEditEntries); }

void MenuBar1::Untitled2() { AddEntries(*this, kHelpEntries); }

void MenuBar1::ExitImplicitInstance() {
    auto taken = std::move(_implicitInstance);
    _implicitInstance = nullptr;
    taken.reset();
}

namespace instance {

std::shared_ptr<radixel::MenuBar1> MenuBar1() {
    using Bar = radixel::MenuBar1;
    if (!Bar::_implicitInstance) {
        auto bar = fw::RuntimeCheckCast<Bar>(fw::RuntimeNewObject(Bar::Lookup()), Bar::Lookup());
        bar->Constructor();
        Bar::_implicitInstance = std::move(bar);
    }
    return Bar::_implicitInstance;
}

}  // namespace instance

}  // namespace radixel
