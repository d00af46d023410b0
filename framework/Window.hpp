#pragma once
// A window of the program. Constructor builds it: it runs the class's event entries Layout,
// CreateControls and Open (after the controls exist), in that order, and registers the window
// under its full class name until it closes.
//
// Design-time properties follow one convention throughout the framework: a getter named as the
// property (Title()) and a setter "Set" + name (SetTitle()); the property table of the class
// lists them for SetProperties.

#include "Color.hpp"
#include "Object.hpp"
#include "String.hpp"

#include <cstdint>
#include <memory>
#include <vector>

class QWidget;

namespace fw {

class MenuBar;
class RectControl;

class Window : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    Window();
    ~Window() override;

    virtual void Constructor();
    virtual void Show();
    virtual void Hide();
    virtual void Close();

    std::shared_ptr<fw::MenuBar> MenuBar() const;
    void SetMenuBar(std::shared_ptr<fw::MenuBar> bar);

    // A new control of the class, belonging to this window, not yet constructed.
    std::shared_ptr<RectControl> New(const ClassTable& controlClass);
    void AddControl(const String& name, std::shared_ptr<RectControl> control);
    // The control registered under the name, or nil.
    std::shared_ptr<RectControl> ControlByName(const String& name) const;
    const std::vector<std::shared_ptr<RectControl>>& Controls() const;

    bool IsOpen() const;       // constructed and not yet closed
    QWidget* widget() const;   // framework and tests only

    // The 21 design-time properties of window records (Placement ... MacProcId) are declared by
    // the implementation below this line, by the convention above.

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The open window registered under the full class name, hidden ones included; nil when none.
std::shared_ptr<Window> GetImplicitWindow(const String& fullClassName);

}  // namespace fw
