#pragma once
// A menu entry: a menu when it has children, a command otherwise, a separator when its
// caption is "-". Choosing a command runs the application's handler registered under the
// entry's name; the Edit entries act on the focused text control.
//
// AutoEnable: an entry whose AutoEnable is true (the default) stays as the program sets it
// and is never disabled by the framework. An entry whose AutoEnable is false is disabled each
// time the menus are brought up to date, just before the application's EnableMenuItems runs,
// so that it can be chosen only while that event enables it.
//
// The entry is the menu tree alone; what shows it on the screen (MenuPresenter) is made on
// first use once the runtime stands, so a tree can be built and searched without a display.

#include "Object.hpp"
#include "String.hpp"

#include <cstddef>
#include <memory>
#include <vector>

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
    String Text() const;  // "&" marks the access key
    void SetText(const String& text);
    // "Cmd+X" is Ctrl+X here ("Cmd", "Command", "Ctrl" and "Control" all mean Ctrl; "Option"
    // is Alt); the empty text is no shortcut. A text that names no key raises RuntimeException
    // and leaves the shortcut as it was.
    String KeyboardShortcut() const;
    void SetKeyboardShortcut(const String& shortcut);
    bool KeyboardShortcutWasSet() const;
    bool AutoEnable() const;
    void SetAutoEnable(bool autoEnable);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool IsSeparator() const;  // caption "-"

    // The entry becomes this entry's last child; this entry holds it. An entry that has a
    // parent already moves here. Nil raises NilObjectException; the entry itself or one of its
    // ancestors raises RuntimeException (the tree would hold itself).
    void Append(const std::shared_ptr<MenuItem>& child);
    std::size_t Count() const;
    std::shared_ptr<MenuItem> Item(std::size_t index) const;  // nil past the end
    // The entry that holds this one; nil for a root, and once the parent is gone.
    std::weak_ptr<MenuItem> Parent() const;
    // The direct child of that name, or nil. Names match exactly.
    std::shared_ptr<MenuItem> Child(const String& name) const;
    // The entry of that name at any depth below this one, or nil: depth first, in order.
    std::shared_ptr<MenuItem> Lookup(const String& name) const;

    // What choosing the entry does; a subclass may act on its own (QuitMenuItem). True when
    // the command was handled.
    virtual bool Action();

    // What shows the entry on the screen (framework use): the entry owns it and tells it of
    // every change that alters what is shown.
    class Presentation {
    public:
        virtual ~Presentation() = default;
        virtual void textChanged() = 0;
        virtual void shortcutChanged() = 0;
        virtual void enabledChanged() = 0;
        virtual void childAppended(MenuItem& child) = 0;
        virtual void childRemoved(MenuItem& child) = 0;
    };
    Presentation* presentation() const;
    void setPresentation(std::unique_ptr<Presentation> presentation);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
