#include "info/HelpWindow.hpp"

#include "info/EmblemCanvas.hpp"
#include "info/HelpText.hpp"
#include "windowkit/ControlCreation.hpp"
#include "windowkit/ControlRecords.hpp"
#include "windowkit/OpenWindow.hpp"

#include "framework/Canvas.hpp"
#include "framework/Delegate.hpp"
#include "framework/Events.hpp"
#include "framework/Graphics.hpp"
#include "framework/PrinterSetup.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/StyledTextPrinter.hpp"
#include "framework/TextArea.hpp"

#include <cstdint>

namespace radixel {

namespace {

// Centred on the screen. It can be resized, the help text following its edges, but has no
// maximize button.
const fw::String& HelpWindowRecord() {
    static const fw::String record = WindowRecord({
        .placement = 3,
        .width = 586,
        .height = 530,
        .frame = 0,
        .hasBackColor = true,
        .title = "Radixel Help",
        .resizeable = true,
        .liveResize = false,
        .maximizeButton = false,
    });
    return record;
}

// Locked to all four edges, the help text grows and shrinks with the window. Keys reach it but
// change nothing.
const fw::String& TextAreaHelpRecord() {
    static const fw::String helpText = HelpText();
    static const fw::String record = TextAreaRecord({
        .name = "TextAreaHelp",
        .at = {20, 154, 546, 354},
        .locks = {true, true, true, true},
        .tabIndex = 2,
        .text = helpText.view(),
        .readOnly = true,
    });
    return record;
}

const fw::String& Canvas1Record() {
    static const fw::String record = EmblemCanvasRecord(220, 14);
    return record;
}

}  // namespace

const fw::ClassTable& HelpWindow::Lookup() {
    static const fw::ClassTable table = [] {
        fw::ClassTable cls = fw::MakeClassTable<HelpWindow>("HelpWindow.HelpWindow", &fw::Window::Lookup());
        fw::AddEvent(cls, fw::events::WindowLayout, &HelpWindow::Layout);
        fw::AddEvent(cls, fw::events::WindowCreateControls, &HelpWindow::CreateControls);
        return cls;
    }();
    return table;
}

// A copy cut short by an exception leaves its printer behind; it goes with the window.
HelpWindow::~HelpWindow() { mStp = nullptr; }

const fw::String* HelpWindow::DesignRecord(std::string_view name) {
    if (name == "HelpWindow") return &HelpWindowRecord();
    if (name == "TextAreaHelp") return &TextAreaHelpRecord();
    if (name == "Canvas1") return &Canvas1Record();
    return nullptr;
}

void HelpWindow::Layout() { fw::SetProperties(*this, HelpWindowRecord()); }

void HelpWindow::CreateControls() { CreateControls0(); }

// The text area is built by the steps of the conversion window's panes, its key handler standing
// where a button's action stands there.
void HelpWindow::CreateControls0() {
    CreateControl<fw::TextArea>(*this, "TextAreaHelp", TextAreaHelpRecord());
    // Weak, so that the text area never keeps its window alive.
    auto keyDown = fw::RuntimeCreateDelegate(&HelpWindow::TextAreaHelp_KeyDown,
                                             fw::RuntimeCheckCast<HelpWindow>(shared_from_this(), Lookup()),
                                             "( TextArea, String ) as Boolean", fw::DelegateKind::Weak);
    fw::RuntimeAddEventHandler(*FindControl<fw::TextArea>(*this, "TextAreaHelp"), fw::events::TextAreaKeyDown, keyDown);

    CreateEmblemCanvas(*this, Canvas1Record());
}

std::shared_ptr<fw::TextArea> HelpWindow::TextAreaHelp() { return ControlNamed<fw::TextArea>(*this, "TextAreaHelp"); }

std::shared_ptr<fw::Canvas> HelpWindow::Canvas1() { return ControlNamed<fw::Canvas>(*this, "Canvas1"); }

bool HelpWindow::TextAreaHelp_KeyDown(std::shared_ptr<fw::TextArea>, fw::String) { return false; }

void HelpWindow::BeginPrinting(const std::shared_ptr<fw::Graphics>& page,
                               const std::shared_ptr<fw::PrinterSetup>& setup) {
    std::shared_ptr<fw::TextArea> area = TextAreaHelp();
    if (!area) fw::RaiseNilObjectException();
    if (!setup) fw::RaiseNilObjectException();
    if (!page) fw::RaiseNilObjectException();
    mStp = area->styledTextPrinter(*page, setup->Width());
}

void HelpWindow::DoPrinting(const std::shared_ptr<fw::Graphics>& page, const std::shared_ptr<fw::PrinterSetup>& setup) {
    if (!setup || !page) return;
    const std::int32_t copies = page->Copies();
    for (std::int32_t copy = 0; copy < copies; ++copy) {
        if (copy > 0) page->NextPage();
        PrintOneCopy(page, setup);
    }
}

void HelpWindow::EndPrinting() { mStp = nullptr; }

// Pages before the range are drawn and erased so that the range starts with the right text; no
// page is started after the last one printed, so no blank page trails the copy.
void HelpWindow::PrintOneCopy(const std::shared_ptr<fw::Graphics>& page,
                              const std::shared_ptr<fw::PrinterSetup>& setup) {
    BeginPrinting(page, setup);
    for (std::int64_t pageNumber = 1; PrintSomeInformation(page, setup); ++pageNumber) {
        if (pageNumber >= page->FirstPage() && pageNumber < page->LastPage()) {
            page->NextPage();
        } else if (pageNumber == page->LastPage()) {
            break;
        } else {
            page->ClearRect(0, 0, page->Width(), page->Height());
        }
    }
    EndPrinting();
}

bool HelpWindow::PrintSomeInformation(const std::shared_ptr<fw::Graphics>&,
                                      const std::shared_ptr<fw::PrinterSetup>& setup) {
    if (!mStp) fw::RaiseNilObjectException();
    if (!setup) fw::RaiseNilObjectException();
    mStp->DrawBlock(0, 0, setup->Height());
    return !mStp->Eof();
}

std::shared_ptr<radixel::HelpWindow> instance::HelpWindow() { return OpenWindow<radixel::HelpWindow>(); }

}  // namespace radixel
