#pragma once
// A menu tree shaped like the program's (File, Edit with two separators, Help) and an
// application class whose events record that they ran.

#include "TestSupport.hpp"

#include "framework/AppleMenuItem.hpp"
#include "framework/Application.hpp"
#include "framework/Events.hpp"
#include "framework/MenuBar.hpp"
#include "framework/MenuItem.hpp"
#include "framework/MenuPresenter.hpp"
#include "framework/QuitMenuItem.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace coretest {

class RecordingApp : public fw::Application {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = [] {
            auto t = fw::MakeClassTable<RecordingApp>("RecordingApp", &fw::Application::Lookup());
            fw::AddEvent(t, fw::events::AppOpen, &RecordingApp::Event_Open);
            fw::AddEvent(t, fw::events::AppEnableMenuItems, &RecordingApp::Event_EnableMenuItems);
            return t;
        }();
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }

    void Event_Open() {
        log.push_back("open");
        if (onOpen) onOpen();
    }
    void Event_EnableMenuItems() {
        log.push_back("enable");
        if (onEnable) onEnable();
    }

    std::vector<std::string> log;
    std::function<void()> onOpen;
    std::function<void()> onEnable;
};

inline std::shared_ptr<fw::MenuItem> NewEntry(const fw::ClassTable& cls, const char* name, const char* text,
                                              const char* shortcut = nullptr) {
    auto entry = fw::RuntimeCheckCast<fw::MenuItem>(fw::RuntimeNewObject(cls), fw::MenuItem::Lookup());
    entry->Constructor();
    entry->SetName(name);
    entry->SetAutoEnable(true);
    entry->SetText(text);
    if (shortcut) entry->SetKeyboardShortcut(shortcut);
    return entry;
}

inline std::shared_ptr<fw::MenuBar> NewProgramBar() {
    auto bar = fw::RuntimeCheckCast<fw::MenuBar>(fw::RuntimeNewObject(fw::MenuBar::Lookup()), fw::MenuBar::Lookup());
    const fw::ClassTable& item = fw::MenuItem::Lookup();
    struct Row {
        const fw::ClassTable& cls;
        const char* name;
        const char* text;
        const char* shortcut;
        const char* parent;  // nullptr: on the bar
    };
    const Row rows[] = {
        {item, "FileMenu", "&File", "", nullptr},
        {fw::AppleMenuItem::Lookup(), "AppleAbout", "About Radixel...", "", "FileMenu"},
        {fw::QuitMenuItem::Lookup(), "FileQuit", "&Quit", "Cmd+Q", "FileMenu"},
        {item, "EditMenu", "&Edit", "", nullptr},
        {item, "EditUndo", "&Undo", "Cmd+Z", "EditMenu"},
        {item, "UntitledMenu1", "-", nullptr, "EditMenu"},
        {item, "EditCut", "Cu&t", "Cmd+X", "EditMenu"},
        {item, "EditCopy", "&Copy", "Cmd+C", "EditMenu"},
        {item, "EditPaste", "&Paste", "Cmd+V", "EditMenu"},
        {item, "EditClear", "&Delete", "", "EditMenu"},
        {item, "UntitledMenu0", "-", nullptr, "EditMenu"},
        {item, "EditSelectAll", "Select &All", "Cmd+A", "EditMenu"},
        {item, "HelpMenu", "Help", "", nullptr},
        {item, "HelpRadixelHelp", "Radixel Help", "", "HelpMenu"},
    };
    for (const Row& row : rows) {
        auto entry = NewEntry(row.cls, row.name, row.text, row.shortcut);
        if (row.parent) bar->Child(row.parent)->Append(entry);
        else bar->Append(entry);
    }
    return bar;
}

// The Qt action that stands for the entry wherever the tree is shown.
inline QAction* ActionOf(const std::shared_ptr<fw::MenuItem>& entry) { return fw::MenuPresenter::Of(*entry).action(); }

inline std::shared_ptr<RecordingApp> RegisterRecordingApp() {
    auto app = fw::RuntimeCheckCast<RecordingApp>(fw::RuntimeNewObject(RecordingApp::Lookup()), RecordingApp::Lookup());
    fw::RuntimeRegisterAppObject(app);
    return app;
}

}  // namespace coretest
