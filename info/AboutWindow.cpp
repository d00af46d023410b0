#include "info/AboutWindow.hpp"

#include "info/EmblemCanvas.hpp"
#include "windowkit/ControlCreation.hpp"
#include "windowkit/ControlRecords.hpp"
#include "windowkit/OpenWindow.hpp"

#include "framework/Canvas.hpp"
#include "framework/Color.hpp"
#include "framework/Events.hpp"
#include "framework/Label.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/RoundRectangle.hpp"

#include "radixel/Version.hpp"

namespace radixel {

namespace {

using fw::Color;

// A dialog centred over the front window. It cannot be resized and still has a maximize button.
const fw::String& AboutWindowRecord() {
    static const fw::String record = WindowRecord({
        .placement = 1,
        .width = 408,
        .height = 268,
        .frame = 3,
        .hasBackColor = true,
        .title = "About Radixel",
        .resizeable = false,
        .liveResize = false,
        .maximizeButton = true,
    });
    return record;
}

// As designed, this record alone lists TabIndex before TabPanelIndex.
const fw::String& RoundRectangle1Record() {
    static const fw::String rows = fw::Record({
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
    static const fw::String record = ControlRecordHead("RoundRectangle1", {34, 150, 340, 100}, kLockedLeftTop) + rows;
    return record;
}

// Single CRs break the label's lines; nothing follows the last one.
const char* const kAboutText = "Radixel " RADIXEL_VERSION
                               "\r(c) 2026 Radixel authors"
                               "\rMade by the Radixel team";

// Its position is the window's, although it stands inside the rectangle. It is locked to no
// edge: the window cannot be resized.
const fw::String& StaticText2Record() {
    static const fw::String record = LabelRecord({
        .name = "StaticText2",
        .at = {49, 169, 303, 62},
        .locks = {false, false, false, false},
        .tabIndex = 0,
        .text = kAboutText,
        .textColor = Color::FromRGB(0x0D30FF),
        .multiline = true,
        .bold = true,
        .initialParent = "RoundRectangle1",
    });
    return record;
}

const fw::String& Canvas1Record() {
    static const fw::String record = EmblemCanvasRecord(136, 10);
    return record;
}

}  // namespace

const fw::ClassTable& AboutWindow::Lookup() {
    static const fw::ClassTable table = [] {
        fw::ClassTable cls = fw::MakeClassTable<AboutWindow>("AboutWindow.AboutWindow", &fw::Window::Lookup());
        fw::AddEvent(cls, fw::events::WindowLayout, &AboutWindow::Layout);
        fw::AddEvent(cls, fw::events::WindowCreateControls, &AboutWindow::CreateControls);
        return cls;
    }();
    return table;
}

const fw::String* AboutWindow::DesignRecord(std::string_view name) {
    if (name == "AboutWindow") return &AboutWindowRecord();
    if (name == "RoundRectangle1") return &RoundRectangle1Record();
    if (name == "StaticText2") return &StaticText2Record();
    if (name == "Canvas1") return &Canvas1Record();
    return nullptr;
}

void AboutWindow::Layout() { fw::SetProperties(*this, AboutWindowRecord()); }

void AboutWindow::CreateControls() { CreateControls0(); }

// The creation order is the design's, not the tab order: the rectangle has to exist before the
// label that names it as its parent.
void AboutWindow::CreateControls0() {
    RegisterControl<fw::RoundRectangle>(*this, "RoundRectangle1");
    fw::SetProperties(FindControl<fw::RoundRectangle>(*this, "RoundRectangle1"), RoundRectangle1Record());

    RegisterControl<fw::Label>(*this, "StaticText2");
    FindControl<fw::Label>(*this, "StaticText2")->SetTextSize(14.0f);
    FindControl<fw::Label>(*this, "StaticText2")->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(FindControl<fw::Label>(*this, "StaticText2"), StaticText2Record());

    CreateEmblemCanvas(*this, Canvas1Record());
}

std::shared_ptr<fw::RoundRectangle> AboutWindow::RoundRectangle1() {
    return ControlNamed<fw::RoundRectangle>(*this, "RoundRectangle1");
}

std::shared_ptr<fw::Label> AboutWindow::StaticText2() { return ControlNamed<fw::Label>(*this, "StaticText2"); }

std::shared_ptr<fw::Canvas> AboutWindow::Canvas1() { return ControlNamed<fw::Canvas>(*this, "Canvas1"); }

std::shared_ptr<radixel::AboutWindow> instance::AboutWindow() { return OpenWindow<radixel::AboutWindow>(); }

}  // namespace radixel
