#include "conversion/Window1.hpp"

#include "ConversionUnderWay.hpp"
#include "menubar/MenuBar1.hpp"
#include "conversion/binding/Globals4.hpp"
#include "framework/Delegate.hpp"
#include "framework/Events.hpp"
#include "framework/Exceptions.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/Values.hpp"
#include "windowkit/ControlCreation.hpp"
#include "windowkit/ControlRecords.hpp"
#include "windowkit/OpenWindow.hpp"

namespace radixel {

namespace {

// Resizable, with no maximize button. HasBackColor is false, so the window keeps the desktop's
// background.
const fw::String kWindowRecord = WindowRecord({
    .placement = 0,
    .width = 600,
    .height = 349,
    .frame = 0,
    .hasBackColor = false,
    .title = "Radixel",
    .resizeable = true,
    .liveResize = true,
    .maximizeButton = false,
});

struct ControlDesign {
    const char* name;
    fw::String record;
};

// Every control is locked to the left and top edges only, so resizing the window moves and
// stretches none of them.

ControlDesign LabelDesign(const char* name, Bounds at, std::int32_t tabIndex, const char* text) {
    return {name, LabelRecord({
                      .name = name,
                      .at = at,
                      .locks = kLockedLeftTop,
                      .tabIndex = tabIndex,
                      .text = text,
                      .textColor = kBlack,
                      .multiline = false,
                      .bold = false,
                      .initialParent = "",
                  })};
}

// The fields take numbers, so spelling is not checked in them.
ControlDesign TextFieldDesign(const char* name, Bounds at, std::int32_t tabIndex) {
    const fw::String rows = fw::Record({
        {"TabPanelIndex", 0},
        {"TabIndex", tabIndex},
        {"TabStop", true},
        {"Border", true},
        {"Password", false},
        {"UseFocusRing", true},
        {"TextColor", kBlack},
        {"BackColor", kWhite},
        {"Enabled", true},
        {"Format", ""},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"TextFont", "System"},
        {"Bold", false},
        {"Italic", false},
        {"Underline", false},
        {"CueText", ""},
        {"Text", ""},
        {"Mask", ""},
        {"ReadOnly", false},
        {"LimitText", 0},
        {"AcceptTabs", false},
        {"Alignment", 0},
        {"AutomaticallyCheckSpelling", false},
        {"DataSource", ""},
        {"DataField", ""},
    });
    return {name, ControlRecordHead(name, at, kLockedLeftTop) + rows};
}

ControlDesign TextAreaDesign(const char* name, Bounds at, std::int32_t tabIndex) {
    return {name, TextAreaRecord({
                      .name = name,
                      .at = at,
                      .locks = kLockedLeftTop,
                      .tabIndex = tabIndex,
                      .text = "",
                      .readOnly = false,
                  })};
}

// Neither arrow is the default or the cancel button: Return and Escape stay with the panes.
ControlDesign PushButtonDesign(const char* name, Bounds at, std::int32_t tabIndex, const char* caption) {
    const fw::String rows = fw::Record({
        {"TabPanelIndex", 0},
        {"TabIndex", tabIndex},
        {"TabStop", true},
        {"Caption", caption},
        {"Default", false},
        {"Cancel", false},
        {"Enabled", true},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"ButtonStyle", 0},
        {"TextFont", "System"},
        {"Bold", false},
        {"Italic", false},
        {"Underline", false},
        {"InitialParent", ""},
    });
    return {name, ControlRecordHead(name, at, kLockedLeftTop) + rows};
}

// In creation order, which is the tab order. The right places field comes before the left one.
const ControlDesign kLabel1 = LabelDesign("Label1", {20, 32, 69, 20}, 0, "Base:");
const ControlDesign kLabel2 = LabelDesign("Label2", {372, 32, 69, 20}, 1, "Base:");
const ControlDesign kTextFieldBaseLeft = TextFieldDesign("TextFieldBaseLeft", {64, 30, 80, 22}, 2);
const ControlDesign kTextFieldBaseRight = TextFieldDesign("TextFieldBaseRight", {420, 30, 80, 22}, 3);
const ControlDesign kTextAreaLeft = TextAreaDesign("TextAreaLeft", {20, 77, 208, 196}, 4);
const ControlDesign kTextAreaRight = TextAreaDesign("TextAreaRight", {372, 77, 208, 196}, 5);
const ControlDesign kPushButton1 = PushButtonDesign("PushButton1", {260, 130, 80, 20}, 6, "->");
const ControlDesign kPushButton2 = PushButtonDesign("PushButton2", {260, 201, 80, 20}, 7, "<-");
const ControlDesign kLabel3 = LabelDesign("Label3", {188, 309, 244, 20}, 8, "Limit to places after base point");
const ControlDesign kTextFieldNumPlacesRight = TextFieldDesign("TextFieldNumPlacesRight", {436, 308, 80, 22}, 9);
const ControlDesign kTextFieldNumPlacesLeft = TextFieldDesign("TextFieldNumPlacesLeft", {64, 308, 80, 22}, 10);

const ControlDesign* const kControlDesigns[] = {
    &kLabel1,
    &kLabel2,
    &kTextFieldBaseLeft,
    &kTextFieldBaseRight,
    &kTextAreaLeft,
    &kTextAreaRight,
    &kPushButton1,
    &kPushButton2,
    &kLabel3,
    &kTextFieldNumPlacesRight,
    &kTextFieldNumPlacesLeft,
};

}  // namespace

const Window1::Direction Window1::kLeftToRight = {
    &Window1::TextFieldBaseLeft,       &Window1::TextFieldBaseRight, &Window1::TextAreaLeft,
    &Window1::TextFieldNumPlacesRight, &Window1::TextAreaRight,
};

const Window1::Direction Window1::kRightToLeft = {
    &Window1::TextFieldBaseRight,     &Window1::TextFieldBaseLeft, &Window1::TextAreaRight,
    &Window1::TextFieldNumPlacesLeft, &Window1::TextAreaLeft,
};

Window1::Window1() = default;
Window1::~Window1() = default;

const fw::ClassTable& Window1::Lookup() {
    static const fw::ClassTable table = [] {
        auto cls = fw::MakeClassTable<Window1>("Window1.Window1", &fw::Window::Lookup());
        fw::AddEvent(cls, fw::events::WindowLayout, &Window1::Layout);
        fw::AddEvent(cls, fw::events::WindowCreateControls, &Window1::CreateControls);
        fw::AddEvent(cls, fw::events::WindowOpen, &Window1::Event_Open);
        return cls;
    }();
    return table;
}

const fw::String* Window1::DesignRecord(std::string_view name) {
    if (name == "Window1") return &kWindowRecord;
    for (const ControlDesign* design : kControlDesigns)
        if (name == design->name) return &design->record;
    return nullptr;
}

void Window1::Layout() {
    SetMenuBar(instance::MenuBar1());
    fw::SetProperties(*this, kWindowRecord);
}

void Window1::CreateControls() { CreateControls0(); }

void Window1::CreateControls0() {
    CreateControl<fw::Label>(*this, kLabel1.name, kLabel1.record);
    CreateControl<fw::Label>(*this, kLabel2.name, kLabel2.record);
    CreateControl<fw::TextField>(*this, kTextFieldBaseLeft.name, kTextFieldBaseLeft.record);
    CreateControl<fw::TextField>(*this, kTextFieldBaseRight.name, kTextFieldBaseRight.record);
    CreateControl<fw::TextArea>(*this, kTextAreaLeft.name, kTextAreaLeft.record);
    CreateControl<fw::TextArea>(*this, kTextAreaRight.name, kTextAreaRight.record);
    CreatePushButton(kPushButton1.name, kPushButton1.record, &Window1::PushButton1_Action);
    CreatePushButton(kPushButton2.name, kPushButton2.record, &Window1::PushButton2_Action);
    CreateControl<fw::Label>(*this, kLabel3.name, kLabel3.record);
    CreateControl<fw::TextField>(*this, kTextFieldNumPlacesRight.name, kTextFieldNumPlacesRight.record);
    CreateControl<fw::TextField>(*this, kTextFieldNumPlacesLeft.name, kTextFieldNumPlacesLeft.record);
}

// The left field is written first although the right one comes first in tab order.
void Window1::Event_Open() {
    auto left = TextFieldNumPlacesLeft();
    if (!left) fw::RaiseNilObjectException();
    left->SetText(fw::Str(8));
    auto right = TextFieldNumPlacesRight();
    if (!right) fw::RaiseNilObjectException();
    right->SetText(fw::Str(8));
}

// The delegate holds the window weakly: a button never keeps its window alive.
void Window1::CreatePushButton(const char* name, const fw::String& record,
                               void (Window1::*action)(std::shared_ptr<fw::PushButton>)) {
    CreateControl<fw::PushButton>(*this, name, record);
    auto self = std::static_pointer_cast<Window1>(shared_from_this());
    auto delegate = fw::RuntimeCreateDelegate(action, self, "( PushButton )", fw::DelegateKind::Weak);
    fw::RuntimeAddEventHandler(*FindControl<fw::PushButton>(*this, name), fw::events::PushButtonAction, delegate);
}

std::shared_ptr<fw::Label> Window1::Label1() { return ControlNamed<fw::Label>(*this, "Label1"); }

std::shared_ptr<fw::Label> Window1::Label2() { return ControlNamed<fw::Label>(*this, "Label2"); }

std::shared_ptr<fw::TextField> Window1::TextFieldBaseLeft() {
    return ControlNamed<fw::TextField>(*this, "TextFieldBaseLeft");
}

std::shared_ptr<fw::TextField> Window1::TextFieldBaseRight() {
    return ControlNamed<fw::TextField>(*this, "TextFieldBaseRight");
}

std::shared_ptr<fw::TextArea> Window1::TextAreaLeft() { return ControlNamed<fw::TextArea>(*this, "TextAreaLeft"); }

std::shared_ptr<fw::TextArea> Window1::TextAreaRight() { return ControlNamed<fw::TextArea>(*this, "TextAreaRight"); }

std::shared_ptr<fw::PushButton> Window1::PushButton1() { return ControlNamed<fw::PushButton>(*this, "PushButton1"); }

std::shared_ptr<fw::PushButton> Window1::PushButton2() { return ControlNamed<fw::PushButton>(*this, "PushButton2"); }

std::shared_ptr<fw::Label> Window1::Label3() { return ControlNamed<fw::Label>(*this, "Label3"); }

std::shared_ptr<fw::TextField> Window1::TextFieldNumPlacesRight() {
    return ControlNamed<fw::TextField>(*this, "TextFieldNumPlacesRight");
}

std::shared_ptr<fw::TextField> Window1::TextFieldNumPlacesLeft() {
    return ControlNamed<fw::TextField>(*this, "TextFieldNumPlacesLeft");
}

void Window1::PushButton1_Action(std::shared_ptr<fw::PushButton>) { Convert(kLeftToRight); }

void Window1::PushButton2_Action(std::shared_ptr<fw::PushButton>) { Convert(kRightToLeft); }

// A number field reads as the framework reads text as a number, with nothing added: no
// trimming, rounding or range test of our own.
std::int32_t Window1::NumberOf(std::shared_ptr<fw::TextField> (Window1::*field)()) {
    auto control = (this->*field)();
    if (!control) fw::RaiseNilObjectException();
    return fw::RuntimeCvtReal64ToSInt32(fw::CDbl(control->Text()));
}

// Every check runs before anything is written or stopped, so an action that stops leaves both
// panes, all four fields and a conversion under way as they were. Each control is fetched at
// the step that uses it.
void Window1::Convert(const Direction& direction) {
    const std::int32_t sourceBase = NumberOf(direction.sourceBaseField);
    const std::int32_t targetBase = NumberOf(direction.targetBaseField);
    if (sourceBase <= 0 || targetBase <= 0) return;

    auto sourcePane = (this->*direction.sourcePane)();
    if (!sourcePane) fw::RaiseNilObjectException();
    fw::String text = sourcePane->Text();
    // A blank or a line break alone is not empty: the engine answers it.
    if (fw::RuntimeStringCompare(text, fw::String()) == 0) return;

    const std::int32_t places = NumberOf(direction.targetPlacesField);
    if (places < 0) return;

    StartConversion(std::move(text), targetBase, sourceBase, places, direction.targetPane);
}

// The conversion runs off the event loop, so the window goes on answering however long it
// takes. A conversion under way is stopped first: its result would only be overwritten.
void Window1::StartConversion(fw::String text, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                              PaneAccessor targetPane) {
    StopConversion();
    auto pane = (this->*targetPane)();
    if (!pane) fw::RaiseNilObjectException();
    const std::weak_ptr<Window1> self = std::static_pointer_cast<Window1>(shared_from_this());
    // The result is laid out in the pane's lines where it is made, so that the pane takes it at
    // no cost in its length.
    conversions_.Start<fw::PreparedText>(
        [text = std::move(text), baseTo, baseFrom, numPlaces,
         preparer = fw::TextPreparer(*pane)](const std::stop_token& stopped) {
            fw::String result = Globals4::kxConvBase(text, baseTo, baseFrom, numPlaces, true);
            // A result that will be dropped is not made ready for the pane.
            if (stopped.stop_requested()) return fw::PreparedText();
            return preparer.Prepare(std::move(result));
        },
        [self, targetPane](std::optional<fw::PreparedText> result) {
            if (auto window = self.lock()) window->FinishConversion(targetPane, std::move(result));
        },
        &Globals4::kxConvBaseStop);
    underWay_ = std::make_unique<ConversionUnderWay>(*this, pane, [self] {
        if (auto window = self.lock()) window->StopConversion();
    });
}

// Without a result (the conversion failed, and the failure was reported) the target pane keeps
// its text.
void Window1::FinishConversion(PaneAccessor targetPane, std::optional<fw::PreparedText> result) {
    underWay_.reset();
    if (!result) return;
    auto pane = (this->*targetPane)();
    if (!pane) fw::RaiseNilObjectException();
    pane->SetPreparedText(std::move(*result));
}

bool Window1::Converting() const { return conversions_.Busy(); }

void Window1::StopConversion() {
    conversions_.Abandon();
    underWay_.reset();
}

template <class Entry>
std::shared_ptr<Entry> Window1::MenuEntry(const char* name) {
    auto bar = MenuBar();
    if (!bar) fw::RaiseNilObjectException();
    return fw::RuntimeCheckCast<Entry>(bar->Lookup(fw::String(name)), Entry::Lookup());
}

std::shared_ptr<fw::MenuItem> Window1::HelpMenu() { return MenuEntry<fw::MenuItem>("HelpMenu"); }
std::shared_ptr<fw::MenuItem> Window1::HelpRadixelHelp() { return MenuEntry<fw::MenuItem>("HelpRadixelHelp"); }
std::shared_ptr<fw::MenuItem> Window1::EditMenu() { return MenuEntry<fw::MenuItem>("EditMenu"); }
std::shared_ptr<fw::MenuItem> Window1::EditSelectAll() { return MenuEntry<fw::MenuItem>("EditSelectAll"); }
std::shared_ptr<fw::MenuItem> Window1::UntitledMenu0() { return MenuEntry<fw::MenuItem>("UntitledMenu0"); }
std::shared_ptr<fw::MenuItem> Window1::EditClear() { return MenuEntry<fw::MenuItem>("EditClear"); }
std::shared_ptr<fw::MenuItem> Window1::EditPaste() { return MenuEntry<fw::MenuItem>("EditPaste"); }
std::shared_ptr<fw::MenuItem> Window1::EditCopy() { return MenuEntry<fw::MenuItem>("EditCopy"); }
std::shared_ptr<fw::MenuItem> Window1::EditCut() { return MenuEntry<fw::MenuItem>("EditCut"); }
std::shared_ptr<fw::MenuItem> Window1::UntitledMenu1() { return MenuEntry<fw::MenuItem>("UntitledMenu1"); }
std::shared_ptr<fw::MenuItem> Window1::EditUndo() { return MenuEntry<fw::MenuItem>("EditUndo"); }
std::shared_ptr<fw::MenuItem> Window1::FileMenu() { return MenuEntry<fw::MenuItem>("FileMenu"); }
std::shared_ptr<fw::QuitMenuItem> Window1::FileQuit() { return MenuEntry<fw::QuitMenuItem>("FileQuit"); }
std::shared_ptr<fw::AppleMenuItem> Window1::AppleAbout() { return MenuEntry<fw::AppleMenuItem>("AppleAbout"); }

namespace instance {

std::shared_ptr<radixel::Window1> Window1() { return OpenWindow<radixel::Window1>(); }

}  // namespace instance

}  // namespace radixel
