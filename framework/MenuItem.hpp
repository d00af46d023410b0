#pragma once
// A menu entry: a menu when it has children, a command otherwise, a separator when its
// caption is "-". Choosing a command runs the application's handler registered under the
// entry's name; the Edit entries act on the focused text control.

#include "Object.hpp"
#include "String.hpp"

#include <memory>
#include <vector>

class QAction;

namespace fw {

class MenuItem : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    MenuItem();
    ~MenuItem() override;

    // The framework's default initialisation of an entry.
    virtual void Constructor();

    String Name() const;
    void SetName(const String& name);
    String Text() const;                       // "&" marks the access key
    void SetText(const String& text);
    String KeyboardShortcut() const;           // "Cmd+X" is Ctrl+X here
    void SetKeyboardShortcut(const String& shortcut);
    bool KeyboardShortcutWasSet() const;
    bool AutoEnable() const;
    void SetAutoEnable(bool autoEnable);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool IsSeparator() const;                  // caption "-"

    // The entry becomes this entry's last child; this entry holds it.
    void Append(const std::shared_ptr<MenuItem>& child);
    std::size_t Count() const;
    std::shared_ptr<MenuItem> Item(std::size_t index) const;
    std::weak_ptr<MenuItem> Parent() const;
    // The direct child of that name, or nil.
    std::shared_ptr<MenuItem> Child(const String& name) const;
    // The entry of that name at any depth below this one, or nil.
    std::shared_ptr<MenuItem> Lookup(const String& name) const;

    // What choosing the entry does; a subclass may act on its own (QuitMenuItem).
    virtual bool Action();

    // The Qt action that stands for this entry in menu bars (framework use).
    QAction* action() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
