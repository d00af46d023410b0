#include "info/HelpWindow.hpp"

#include "info/FindControl.hpp"
#include "info/HelpText.hpp"
#include "info/Kettlewing128.hpp"

#include "framework/Canvas.hpp"
#include "framework/Color.hpp"
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

using fw::Color;

const char* const kFullClassName = "HelpWindow.HelpWindow";

const fw::String& WindowRecord() {
    static const fw::String record = fw::Record({
        {"Placement", 3},
        {"Width", 586},
        {"Height", 530},
        {"MinWidth", 64},
        {"MinHeight", 64},
        {"MaxWidth", 32000},
        {"MaxHeight", 32000},
        {"Frame", 0},
        {"Composite", false},
        {"HasBackColor", true},
        {"BackColor", Color::FromRGB(0xFFFFFF)},
        {"Title", "Radixel Help"},
        {"Visible", true},
        {"FullScreen", false},
        {"MenuBarVisible", true},
        {"CloseButton", true},
        {"Resizeable", true},
        {"LiveResize", false},
        {"MaximizeButton", false},
        {"MinimizeButton", true},
        {"MacProcID", 0},
    });
    return record;
}

const fw::String& TextAreaHelpRecord() {
    static const fw::String helpText = HelpText();
    static const fw::String record = fw::Record({
        {"Name", "TextAreaHelp"},
        {"Index", fw::NoControlIndex},
        {"Left", 20},
        {"Top", 154},
        {"Width", 546},
        {"Height", 354},
        {"LockLeft", true},
        {"LockTop", true},
        {"LockRight", true},
        {"LockBottom", true},
        {"TabPanelIndex", 0},
        {"TabIndex", 2},
        {"TabStop", true},
        {"Border", true},
        {"Multiline", true},
        {"ScrollbarHorizontal", false},
        {"ScrollbarVertical", true},
        {"Styled", true},
        {"UseFocusRing", true},
        {"TextColor", Color::FromRGB(0x000000)},
        {"BackColor", Color::FromRGB(0xFFFFFF)},
        {"Enabled", true},
        {"Format", ""},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"HideSelection", true},
        {"TextFont", "System"},
        {"Bold", false},
        {"Italic", false},
        {"Underline", false},
        {"Text", helpText.view()},
        {"Mask", ""},
        {"ReadOnly", true},
        {"LimitText", 0},
        {"AcceptTabs", false},
        {"Alignment", 0},
        {"AutomaticallyCheckSpelling", true},
        {"DataSource", ""},
        {"DataField", ""},
    });
    return record;
}

const fw::String& Canvas1Record() {
    static const fw::String record = fw::Record({
        {"Name", "Canvas1"},
        {"Index", fw::NoControlIndex},
        {"Left", 220},
        {"Top", 14},
        {"Width", 128},
        {"Height", 128},
        {"LockLeft", true},
        {"LockTop", true},
        {"LockRight", false},
        {"LockBottom", false},
        {"TabPanelIndex", 0},
        {"TabIndex", 3},
        {"TabStop", true},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"Enabled", true},
        {"UseFocusRing", true},
        {"AcceptFocus", false},
        {"AcceptTabs", false},
        {"DoubleBuffer", false},
        {"EraseBackground", true},
        {"InitialParent", ""},
    });
    return record;
}

}  // namespace

const fw::ClassTable& HelpWindow::Lookup() {
    static const fw::ClassTable table = [] {
        fw::ClassTable cls = fw::MakeClassTable<HelpWindow>(kFullClassName, &fw::Window::Lookup());
        fw::AddEvent(cls, fw::events::WindowLayout, &HelpWindow::Layout);
        fw::AddEvent(cls, fw::events::WindowCreateControls, &HelpWindow::CreateControls);
        return cls;
    }();
    return table;
}

// A copy cut short by an exception leaves its printer behind; it goes with the window.
HelpWindow::~HelpWindow() { mStp = nullptr; }

void HelpWindow::Layout() { fw::SetProperties(*this, WindowRecord()); }

void HelpWindow::CreateControls() { CreateControls0(); }

void HelpWindow::CreateControls0() {
    std::shared_ptr<fw::RectControl> created = New(fw::TextArea::Lookup());
    created->Constructor();
    AddControl("TextAreaHelp", created);
    created = nullptr;
    FindControl<fw::TextArea>(*this, "TextAreaHelp")->SetLineSpacing(1.0);
    FindControl<fw::TextArea>(*this, "TextAreaHelp")->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(FindControl<fw::TextArea>(*this, "TextAreaHelp"), TextAreaHelpRecord());
    // Weak, so that the text area never keeps its window alive.
    auto keyDown = fw::RuntimeCreateDelegate(&HelpWindow::TextAreaHelp_KeyDown,
                                             fw::RuntimeCheckCast<HelpWindow>(shared_from_this(), Lookup()),
                                             "( TextArea, String ) as Boolean", fw::DelegateKind::Weak);
    fw::RuntimeAddEventHandler(*FindControl<fw::TextArea>(*this, "TextAreaHelp"), fw::events::TextAreaKeyDown,
                               keyDown);

    created = New(fw::Canvas::Lookup());
    created->Constructor();
    AddControl("Canvas1", created);
    created = nullptr;
    std::shared_ptr<fw::Canvas> canvas = FindControl<fw::Canvas>(*this, "Canvas1");
    canvas->SetBackdrop(x_Kettlewing128::Kettlewing128());
    fw::SetProperties(FindControl<fw::Canvas>(*this, "Canvas1"), Canvas1Record());
}

std::shared_ptr<fw::TextArea> HelpWindow::TextAreaHelp() {
    return fw::RuntimeCheckCast<fw::TextArea>(ControlByName("TextAreaHelp"), fw::TextArea::Lookup());
}

std::shared_ptr<fw::Canvas> HelpWindow::Canvas1() {
    return fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas1"), fw::Canvas::Lookup());
}

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

std::shared_ptr<radixel::HelpWindow> instance::HelpWindow() {
    std::shared_ptr<fw::Object> window = fw::GetImplicitWindow(kFullClassName);
    if (!window) {
        window = fw::RuntimeNewObject(radixel::HelpWindow::Lookup());
        std::static_pointer_cast<fw::Window>(window)->Constructor();
    }
    return fw::RuntimeCheckCast<radixel::HelpWindow>(window, radixel::HelpWindow::Lookup());
}

}  // namespace radixel
