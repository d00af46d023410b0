#pragma once
// A window of the program. Constructor builds it: it runs the class's event entries Layout,
// CreateControls and Open (after the controls exist), in that order, and registers the window
// under its full class name until it closes.
//
// Design-time properties follow one convention throughout the framework: a getter named as the
// property (Title()) and a setter "Set" + name (SetTitle()); the property table of the class
// lists them for SetProperties.
//
// Sizes are pixels of the content area, the part below the menu bar. Placement codes: 0 lets
// the desktop place the window; 1 centres it over the application's front window (on the
// screen when there is none), as a dialog opened from it would stand; 3 centres it on the
// screen; other codes act as 0. Frame codes: 3 gives a dialog frame; 0 and every other code a
// document window.

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

    // Builds the window once. An exception that a hook raises goes on to the caller, and the
    // half-built window is closed: it is never registered, shown or found again.
    virtual void Constructor();
    virtual void Show();
    virtual void Hide();
    // Hides the window at once and drops it from the registry; a closed window stays closed.
    virtual void Close();

    std::shared_ptr<fw::MenuBar> MenuBar() const;
    void SetMenuBar(std::shared_ptr<fw::MenuBar> bar);

    // A new control of the class, belonging to this window, not yet constructed.
    std::shared_ptr<RectControl> New(const ClassTable& controlClass);
    void AddControl(const String& name, std::shared_ptr<RectControl> control);
    // The control registered under the name, or nil.
    std::shared_ptr<RectControl> ControlByName(const String& name) const;
    const std::vector<std::shared_ptr<RectControl>>& Controls() const;

    bool IsOpen() const;      // constructed and not yet closed
    QWidget* widget() const;  // framework and tests only

    std::int32_t Placement() const;
    void SetPlacement(std::int32_t code);
    std::int32_t Width() const;
    void SetWidth(std::int32_t width);
    std::int32_t Height() const;
    void SetHeight(std::int32_t height);
    std::int32_t MinWidth() const;
    void SetMinWidth(std::int32_t width);
    std::int32_t MinHeight() const;
    void SetMinHeight(std::int32_t height);
    std::int32_t MaxWidth() const;
    void SetMaxWidth(std::int32_t width);
    std::int32_t MaxHeight() const;
    void SetMaxHeight(std::int32_t height);
    std::int32_t Frame() const;
    void SetFrame(std::int32_t code);
    bool Composite() const;  // stored only
    void SetComposite(bool composite);
    bool HasBackColor() const;
    void SetHasBackColor(bool hasBackColor);
    Color BackColor() const;
    void SetBackColor(Color colour);
    String Title() const;
    void SetTitle(const String& title);
    bool Visible() const;
    void SetVisible(bool visible);  // Show() or Hide(); while building, shown once built
    bool FullScreen() const;
    void SetFullScreen(bool fullScreen);
    bool MenuBarVisible() const;
    void SetMenuBarVisible(bool visible);
    bool CloseButton() const;
    void SetCloseButton(bool closeButton);
    bool Resizeable() const;
    void SetResizeable(bool resizeable);
    bool LiveResize() const;  // stored only: Qt always follows the size live
    void SetLiveResize(bool liveResize);
    // No maximize button shows on a window that is not resizeable: there is nothing to grow to.
    bool MaximizeButton() const;
    void SetMaximizeButton(bool maximizeButton);
    bool MinimizeButton() const;
    void SetMinimizeButton(bool minimizeButton);
    std::int32_t MacProcId() const;  // stored only
    void SetMacProcId(std::int32_t code);

private:
    friend class RectControl;
    QWidget* contentWidget();  // the parent of the controls' widgets
    void layoutControls();
    void applyTabOrder();
    void contentResized(int width, int height);
    bool defaultOrCancelKey(int key);
    void runEvent(int number);
    void abandon();
    void makeWidget();
    void fitContent();
    void applyFlags();
    void applyBackground();
    void installMenuBar();
    void showWidget();
    void place();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The open window registered under the full class name, hidden ones included; nil when none.
// Of several open windows of one class, the one built first.
std::shared_ptr<Window> GetImplicitWindow(const String& fullClassName);

// Closes every open window: the first of the module exits, and again at the runtime's
// shutdown while Qt still stands.
void CloseAllWindows();

}  // namespace fw
