#pragma once

#include "framework/String.hpp"
#include "framework/Window.hpp"

#include <memory>
#include <string_view>

namespace fw {
class Canvas;
class Graphics;
class PrinterSetup;
class StyledTextPrinter;
class TextArea;
}  // namespace fw

namespace radixel {

// The help window: the emblem above the read-only help text, which follows the window's edges
// when it is resized. It can also print that text for a caller that holds a printer page.
class HelpWindow : public fw::Window {
public:
    static const fw::ClassTable& Lookup();
    const fw::ClassTable& classTable() const override { return Lookup(); }

    ~HelpWindow() override;

    virtual void Layout();
    virtual void CreateControls();
    virtual void CreateControls0();
    // Each gives the control of its name, or nil when the window has none.
    virtual std::shared_ptr<fw::TextArea> TextAreaHelp();
    virtual std::shared_ptr<fw::Canvas> Canvas1();

    // The design-time record applied to the window ("HelpWindow") or to the control of that name;
    // nullptr for any other name.
    static const fw::String* DesignRecord(std::string_view name);
    // Leaves every key to the text area, which is read-only: the key is never consumed here.
    virtual bool TextAreaHelp_KeyDown(std::shared_ptr<fw::TextArea> area, fw::String key);

protected:
    // Printing: DoPrinting prints the page's number of copies of the help text, each copy
    // limited to the page's range of pages and begun on a page of its own. The others serve it.

    // Raises NilObjectException when the window has no text area or the page or the page setup
    // is nil.
    virtual void BeginPrinting(const std::shared_ptr<fw::Graphics>& page,
                               const std::shared_ptr<fw::PrinterSetup>& setup);
    // A nil page or page setup prints nothing.
    virtual void DoPrinting(const std::shared_ptr<fw::Graphics>& page, const std::shared_ptr<fw::PrinterSetup>& setup);
    virtual void EndPrinting();
    virtual void PrintOneCopy(const std::shared_ptr<fw::Graphics>& page,
                              const std::shared_ptr<fw::PrinterSetup>& setup);
    // Draws the next page-high block at the top left of the page given to BeginPrinting; true
    // while text remains.
    virtual bool PrintSomeInformation(const std::shared_ptr<fw::Graphics>& page,
                                      const std::shared_ptr<fw::PrinterSetup>& setup);

    // Set only while a copy is being printed, so that each copy starts at the top of the text.
    std::shared_ptr<fw::StyledTextPrinter> mStp;
};

namespace instance {

// The one open help window, built when none is open; hidden windows count as open.
std::shared_ptr<radixel::HelpWindow> HelpWindow();

}  // namespace instance
}  // namespace radixel
