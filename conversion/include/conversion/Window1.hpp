#pragma once
// The conversion window: two base fields, two number panes, "->" and "<-", and a places field
// for each side. It holds no references to its controls; it finds them by name each time, so
// a control is always the one the window has registered.

#include "framework/AppleMenuItem.hpp"
#include "framework/BackgroundRunner.hpp"
#include "framework/Label.hpp"
#include "framework/MenuItem.hpp"
#include "framework/Object.hpp"
#include "framework/PushButton.hpp"
#include "framework/QuitMenuItem.hpp"
#include "framework/String.hpp"
#include "framework/TextArea.hpp"
#include "framework/TextField.hpp"
#include "framework/Window.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace radixel {

class ConversionUnderWay;

class Window1 : public fw::Window {
public:
    static const fw::ClassTable& Lookup();
    const fw::ClassTable& classTable() const override { return Lookup(); }

    Window1();
    // A conversion still running is stopped, and its result dropped.
    ~Window1() override;

    // Hooks the framework runs while it builds the window: Layout, CreateControls, then
    // Event_Open (declared last, after the menu-entry accessors) once the controls exist.
    virtual void Layout();
    virtual void CreateControls();
    virtual void CreateControls0();

    // Each returns the control registered under its own name, or nil; callers test it.
    virtual std::shared_ptr<fw::Label> Label1();
    virtual std::shared_ptr<fw::Label> Label2();
    virtual std::shared_ptr<fw::TextField> TextFieldBaseLeft();
    virtual std::shared_ptr<fw::TextField> TextFieldBaseRight();
    virtual std::shared_ptr<fw::TextArea> TextAreaLeft();
    virtual std::shared_ptr<fw::TextArea> TextAreaRight();
    virtual std::shared_ptr<fw::PushButton> PushButton1();
    virtual std::shared_ptr<fw::PushButton> PushButton2();
    virtual std::shared_ptr<fw::Label> Label3();
    virtual std::shared_ptr<fw::TextField> TextFieldNumPlacesRight();
    virtual std::shared_ptr<fw::TextField> TextFieldNumPlacesLeft();

    // "->": left pane into right pane; "<-": right pane into left pane. The conversion runs off
    // the event loop with the texts as they are at the press, and its result replaces the
    // target pane's text when it is done; a press while one runs stops that one first.
    virtual void PushButton1_Action(std::shared_ptr<fw::PushButton> button);
    virtual void PushButton2_Action(std::shared_ptr<fw::PushButton> button);

    // The entries of the window's menu bar by name, or nil; nil bar raises NilObjectException.
    virtual std::shared_ptr<fw::MenuItem> HelpMenu();
    virtual std::shared_ptr<fw::MenuItem> HelpRadixelHelp();
    virtual std::shared_ptr<fw::MenuItem> EditMenu();
    virtual std::shared_ptr<fw::MenuItem> EditSelectAll();
    virtual std::shared_ptr<fw::MenuItem> UntitledMenu0();
    virtual std::shared_ptr<fw::MenuItem> EditClear();
    virtual std::shared_ptr<fw::MenuItem> EditPaste();
    virtual std::shared_ptr<fw::MenuItem> EditCopy();
    virtual std::shared_ptr<fw::MenuItem> EditCut();
    virtual std::shared_ptr<fw::MenuItem> UntitledMenu1();
    virtual std::shared_ptr<fw::MenuItem> EditUndo();
    virtual std::shared_ptr<fw::MenuItem> FileMenu();
    virtual std::shared_ptr<fw::QuitMenuItem> FileQuit();
    virtual std::shared_ptr<fw::AppleMenuItem> AppleAbout();

    virtual void Event_Open();

    // The design-time record applied to the window ("Window1") or to the control of that name;
    // nullptr for any other name.
    static const fw::String* DesignRecord(std::string_view name);

    // Whether a conversion is under way: started, and neither shown nor stopped.
    bool Converting() const;
    // Stops the conversion under way, as Escape does: its result is dropped and both panes
    // keep what they hold.
    void StopConversion();

private:
    // The controls one conversion reads and writes, by the side they stand on.
    struct Direction {
        std::shared_ptr<fw::TextField> (Window1::*sourceBaseField)();
        std::shared_ptr<fw::TextField> (Window1::*targetBaseField)();
        std::shared_ptr<fw::TextArea> (Window1::*sourcePane)();
        std::shared_ptr<fw::TextField> (Window1::*targetPlacesField)();
        std::shared_ptr<fw::TextArea> (Window1::*targetPane)();
    };
    static const Direction kLeftToRight;
    static const Direction kRightToLeft;

    using PaneAccessor = std::shared_ptr<fw::TextArea> (Window1::*)();

    void Convert(const Direction& direction);
    std::int32_t NumberOf(std::shared_ptr<fw::TextField> (Window1::*field)());
    void StartConversion(fw::String text, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                         PaneAccessor targetPane);
    void FinishConversion(PaneAccessor targetPane, std::optional<fw::PreparedText> result);

    void CreatePushButton(const char* name, const fw::String& record,
                          void (Window1::*action)(std::shared_ptr<fw::PushButton>));
    template <class Entry>
    std::shared_ptr<Entry> MenuEntry(const char* name);

    fw::BackgroundRunner conversions_;
    std::unique_ptr<ConversionUnderWay> underWay_;
};

namespace instance {

// The open conversion window, or a new one built and shown when none is open. A window found
// open is returned as it is: no hook runs again and the user's entries stay.
std::shared_ptr<radixel::Window1> Window1();

}  // namespace instance

}  // namespace radixel
