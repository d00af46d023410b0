#include "info/AboutWindow.hpp"

#include "info/FindControl.hpp"
#include "info/Kettlewing128.hpp"

#include "framework/Canvas.hpp"
#include "framework/Color.hpp"
#include "framework/Events.hpp"
#include "framework/Label.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/RoundRectangle.hpp"

namespace radixel {

namespace {

using fw::Color;

const char* const kFullClassName = "AboutWindow.AboutWindow";

const fw::String& WindowRecord() {
    static const fw::String record = fw::Record({
        {"Placement", 1},
        {"Width", 408},
        {"Height", 268},
        {"MinWidth", 64},
        {"MinHeight", 64},
        {"MaxWidth", 32000},
        {"MaxHeight", 32000},
        {"Frame", 3},
        {"Composite", false},
        {"HasBackColor", true},
        {"BackColor", Color::FromRGB(0xFFFFFF)},
        {"Title", "About Radixel"},
        {"Visible", true},
        {"FullScreen", false},
        {"MenuBarVisible", true},
        {"CloseButton", true},
        {"Resizeable", false},
        {"LiveResize", false},
        {"MaximizeButton", true},
        {"MinimizeButton", true},
        {"MacProcID", 0},
    });
    return record;
}

const fw::String& RoundRectangle1Record() {
    static const fw::String record = fw::Record({
        {"Name", "RoundRectangle1"},
        {"Index", fw::NoControlIndex},
        {"Left", 34},
        {"Top", 150},
        {"Width", 340},
        {"Height", 100},
        {"LockLeft", true},
        {"LockTop", true},
        {"LockRight", false},
        {"LockBottom", false},
        {"TabIndex", 4},
        {"TabPanelIndex", 0},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"Enabled", true},
        {"FillColor", Color::FromRGB(0xFFFFFF)},
        {"BorderWidth", 3},
        {"BorderColor", Color::FromRGB(0x1229FF)},
        {"OvalWidth", 16},
        {"OvalHeight", 16},
        {"InitialParent", ""},
    });
    return record;
}

// Single CRs break the label's lines; nothing follows the last one.
const char* const kAboutText =
    "Radixel 4.3\r"
    "(c) 2026 Radixel authors\r"
    "Made by the Radixel team";

const fw::String& StaticText2Record() {
    static const fw::String record = fw::Record({
        {"Name", "StaticText2"},
        {"Index", fw::NoControlIndex},
        {"Left", 49},
        {"Top", 169},
        {"Width", 303},
        {"Height", 62},
        {"LockLeft", false},
        {"LockTop", false},
        {"LockRight", false},
        {"LockBottom", false},
        {"TabPanelIndex", 0},
        {"TabIndex", 0},
        {"Text", kAboutText},
        {"TextAlign", 0},
        {"TextColor", Color::FromRGB(0x0D30FF)},
        {"Multiline", true},
        {"Enabled", true},
        {"Visible", true},
        {"Selectable", false},
        {"Transparent", false},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"TextFont", "System"},
        {"Bold", true},
        {"Italic", false},
        {"Underline", false},
        {"DataSource", ""},
        {"DataField", ""},
        {"InitialParent", "RoundRectangle1"},
    });
    return record;
}

const fw::String& Canvas1Record() {
    static const fw::String record = fw::Record({
        {"Name", "Canvas1"},
        {"Index", fw::NoControlIndex},
        {"Left", 136},
        {"Top", 10},
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

const fw::ClassTable& AboutWindow::Lookup() {
    static const fw::ClassTable table = [] {
        fw::ClassTable cls = fw::MakeClassTable<AboutWindow>(kFullClassName, &fw::Window::Lookup());
        fw::AddEvent(cls, fw::events::WindowLayout, &AboutWindow::Layout);
        fw::AddEvent(cls, fw::events::WindowCreateControls, &AboutWindow::CreateControls);
        return cls;
    }();
    return table;
}

void AboutWindow::Layout() { fw::SetProperties(*this, WindowRecord()); }

void AboutWindow::CreateControls() { CreateControls0(); }

// The creation order is the design's, not the tab order: the rectangle has to exist before the
// label that names it as its parent.
void AboutWindow::CreateControls0() {
    std::shared_ptr<fw::RectControl> created = New(fw::RoundRectangle::Lookup());
    created->Constructor();
    AddControl("RoundRectangle1", created);
    created = nullptr;
    fw::SetProperties(FindControl<fw::RoundRectangle>(*this, "RoundRectangle1"), RoundRectangle1Record());

    created = New(fw::Label::Lookup());
    created->Constructor();
    AddControl("StaticText2", created);
    created = nullptr;
    FindControl<fw::Label>(*this, "StaticText2")->SetTextSize(14.0f);
    FindControl<fw::Label>(*this, "StaticText2")->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(FindControl<fw::Label>(*this, "StaticText2"), StaticText2Record());

    created = New(fw::Canvas::Lookup());
    created->Constructor();
    AddControl("Canvas1", created);
    created = nullptr;
    std::shared_ptr<fw::Canvas> canvas = FindControl<fw::Canvas>(*this, "Canvas1");
    canvas->SetBackdrop(x_Kettlewing128::Kettlewing128());
    fw::SetProperties(FindControl<fw::Canvas>(*this, "Canvas1"), Canvas1Record());
}

std::shared_ptr<fw::RoundRectangle> AboutWindow::RoundRectangle1() {
    return fw::RuntimeCheckCast<fw::RoundRectangle>(ControlByName("RoundRectangle1"), fw::RoundRectangle::Lookup());
}

std::shared_ptr<fw::Label> AboutWindow::StaticText2() {
    return fw::RuntimeCheckCast<fw::Label>(ControlByName("StaticText2"), fw::Label::Lookup());
}

std::shared_ptr<fw::Canvas> AboutWindow::Canvas1() {
    return fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas1"), fw::Canvas::Lookup());
}

std::shared_ptr<radixel::AboutWindow> instance::AboutWindow() {
    std::shared_ptr<fw::Object> window = fw::GetImplicitWindow(kFullClassName);
    if (!window) {
        window = fw::RuntimeNewObject(radixel::AboutWindow::Lookup());
        std::static_pointer_cast<fw::Window>(window)->Constructor();
    }
    return fw::RuntimeCheckCast<radixel::AboutWindow>(window, radixel::AboutWindow::Lookup());
}

}  // namespace radixel
