#include "UserActions.hpp"

#include "menubar/MenuBar1.hpp"
#include "conversion/Window1.hpp"
#include "framework/Events.hpp"
#include "framework/Exceptions.hpp"

#include <QLabel>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

namespace radixel {
namespace {

using test::ConversionWindowTest;
using test::EditOf;
using test::QtOf;
using test::TypeInto;
using test::WindowTexts;

struct ControlRow {
    const char* name;
    const char* className;
    QRect bounds;
};

// The controls in tab order, where the window's design puts them.
const std::vector<ControlRow> kControls = {
    {"Label1", "Label", {20, 32, 69, 20}},
    {"Label2", "Label", {372, 32, 69, 20}},
    {"TextFieldBaseLeft", "TextField", {64, 30, 80, 22}},
    {"TextFieldBaseRight", "TextField", {420, 30, 80, 22}},
    {"TextAreaLeft", "TextArea", {20, 77, 208, 196}},
    {"TextAreaRight", "TextArea", {372, 77, 208, 196}},
    {"PushButton1", "PushButton", {260, 130, 80, 20}},
    {"PushButton2", "PushButton", {260, 201, 80, 20}},
    {"Label3", "Label", {188, 309, 244, 20}},
    {"TextFieldNumPlacesRight", "TextField", {436, 308, 80, 22}},
    {"TextFieldNumPlacesLeft", "TextField", {64, 308, 80, 22}},
};

TEST_F(ConversionWindowTest, OpensTitledWithEightInBothPlacesFieldsAndAllElseEmpty) {
    EXPECT_EQ(window->classTable().fullName, "Window1.Window1");
    EXPECT_EQ(window->widget()->windowTitle().toStdString(), "Radixel");
    EXPECT_TRUE(window->widget()->isVisible());
    EXPECT_FALSE(window->widget()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(WindowTexts::Of(*window), (WindowTexts{"", "", "", "", "8", "8"}));
}

TEST_F(ConversionWindowTest, HoldsItsElevenControlsUnderTheirNamesInTabOrder) {
    ASSERT_EQ(window->Controls().size(), kControls.size());
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        SCOPED_TRACE(kControls[i].name);
        auto control = window->ControlByName(kControls[i].name);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->classTable().fullName, kControls[i].className);
        EXPECT_EQ(control->TabIndex(), static_cast<std::int32_t>(i));
    }
}

TEST_F(ConversionWindowTest, TabMovesThroughTheFieldsPanesAndButtonsInDesignOrder) {
    const std::vector<std::string> expected = {"TextFieldBaseLeft",       "TextFieldBaseRight",    "TextAreaLeft",
                                               "TextAreaRight",           "PushButton1",           "PushButton2",
                                               "TextFieldNumPlacesRight", "TextFieldNumPlacesLeft"};
    std::vector<std::pair<QWidget*, std::string>> focusable;
    for (const std::string& name : expected) {
        QWidget* widget = window->ControlByName(name)->widget();
        if (widget->focusProxy()) widget = widget->focusProxy();
        focusable.emplace_back(widget, name);
    }

    std::vector<std::string> visited;
    QWidget* start = window->ControlByName("Label1")->widget();
    QWidget* at = start;
    for (int step = 0; step < 1000 && visited.size() < expected.size(); ++step) {
        at = at->nextInFocusChain();
        if (at == start) break;
        for (auto& [widget, name] : focusable)
            if (widget == at && std::find(visited.begin(), visited.end(), name) == visited.end())
                visited.push_back(name);
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(ConversionWindowTest, ControlsKeepTheirPlaceAndSizeWhenTheWindowIsResized) {
    auto expectDesignBounds = [&](const char* when) {
        for (const ControlRow& row : kControls) {
            auto control = window->ControlByName(row.name);
            EXPECT_EQ(control->widget()->geometry(), row.bounds) << row.name << " " << when;
            EXPECT_TRUE(control->LockLeft() && control->LockTop()) << row.name;
            EXPECT_FALSE(control->LockRight() || control->LockBottom()) << row.name;
        }
    };
    expectDesignBounds("as built");
    window->widget()->resize(1000, 800);
    QApplication::processEvents();
    expectDesignBounds("after growing");
    window->widget()->resize(300, 200);
    QApplication::processEvents();
    expectDesignBounds("after shrinking");
}

TEST_F(ConversionWindowTest, LabelsCaptionsAndSpellCheckingAreAsDesigned) {
    EXPECT_EQ(window->Label1()->Text().bytes(), "Base:");
    EXPECT_EQ(window->Label2()->Text().bytes(), "Base:");
    EXPECT_EQ(window->Label3()->Text().bytes(), "Limit to places after base point");
    EXPECT_EQ(QtOf<QLabel>(*window->Label3())->text().toStdString(), "Limit to places after base point");
    EXPECT_EQ(window->PushButton1()->Caption().bytes(), "->");
    EXPECT_EQ(window->PushButton2()->Caption().bytes(), "<-");

    // Spelling is checked in the panes only: a number field underlined in red helps nobody.
    for (auto pane : {window->TextAreaLeft(), window->TextAreaRight()}) {
        EXPECT_TRUE(pane->AutomaticallyCheckSpelling());
        EXPECT_EQ(pane->LineSpacing(), 1.0);
        EXPECT_EQ(pane->TextUnit(), fw::FontUnits::Default);
    }
    for (auto field : {window->TextFieldBaseLeft(), window->TextFieldBaseRight(), window->TextFieldNumPlacesLeft(),
                       window->TextFieldNumPlacesRight()}) {
        EXPECT_FALSE(field->AutomaticallyCheckSpelling());
        EXPECT_EQ(field->TextUnit(), fw::FontUnits::Default);
    }
    for (auto button : {window->PushButton1(), window->PushButton2()}) {
        EXPECT_FALSE(button->Default());
        EXPECT_FALSE(button->Cancel());
    }
}

TEST_F(ConversionWindowTest, ASecondCallFindsTheOpenWindowAndRebuildsNothing) {
    TypeInto(EditOf(window->TextFieldNumPlacesLeft()), "5");
    TypeInto(EditOf(window->TextFieldBaseLeft()), "10");
    const WindowTexts edited = WindowTexts::Of(*window);

    auto again = instance::Window1();
    EXPECT_EQ(again, window);
    EXPECT_EQ(again->Controls().size(), kControls.size());
    EXPECT_EQ(WindowTexts::Of(*again), edited);
}

TEST_F(ConversionWindowTest, AClosedWindowIsBuiltAnewFromItsDesign) {
    TypeInto(EditOf(window->TextFieldNumPlacesLeft()), "5");
    TypeInto(EditOf(window->TextAreaLeft()), "123");
    window->Close();
    QApplication::processEvents();
    EXPECT_FALSE(fw::GetImplicitWindow("Window1.Window1"));

    auto rebuilt = instance::Window1();
    ASSERT_TRUE(rebuilt);
    EXPECT_NE(rebuilt.get(), window.get());
    EXPECT_EQ(WindowTexts::Of(*rebuilt), (WindowTexts{"", "", "", "", "8", "8"}));
    EXPECT_EQ(fw::GetImplicitWindow("Window1.Window1"), rebuilt);
}

TEST_F(ConversionWindowTest, TheMenuEntriesAreThoseOfTheSharedBar) {
    EXPECT_EQ(window->MenuBar(), instance::MenuBar1());

    using Accessor = std::function<std::shared_ptr<fw::MenuItem>(Window1&)>;
    struct Row {
        const char* name;
        const char* className;
        Accessor accessor;
    };
    const std::vector<Row> rows = {
        {"HelpMenu", "MenuItem", &Window1::HelpMenu},
        {"HelpRadixelHelp", "MenuItem", &Window1::HelpRadixelHelp},
        {"EditMenu", "MenuItem", &Window1::EditMenu},
        {"EditSelectAll", "MenuItem", &Window1::EditSelectAll},
        {"UntitledMenu0", "MenuItem", &Window1::UntitledMenu0},
        {"EditClear", "MenuItem", &Window1::EditClear},
        {"EditPaste", "MenuItem", &Window1::EditPaste},
        {"EditCopy", "MenuItem", &Window1::EditCopy},
        {"EditCut", "MenuItem", &Window1::EditCut},
        {"UntitledMenu1", "MenuItem", &Window1::UntitledMenu1},
        {"EditUndo", "MenuItem", &Window1::EditUndo},
        {"FileMenu", "MenuItem", &Window1::FileMenu},
        {"FileQuit", "QuitMenuItem", [](Window1& w) -> std::shared_ptr<fw::MenuItem> { return w.FileQuit(); }},
        {"AppleAbout", "AppleMenuItem", [](Window1& w) -> std::shared_ptr<fw::MenuItem> { return w.AppleAbout(); }},
    };
    for (const Row& row : rows) {
        auto entry = row.accessor(*window);
        ASSERT_TRUE(entry) << row.name;
        EXPECT_EQ(entry->Name().bytes(), row.name);
        EXPECT_EQ(entry->classTable().fullName, row.className) << row.name;
    }

    window->SetMenuBar(nullptr);
    EXPECT_THROW(window->EditCopy(), fw::NilObjectException);
    EXPECT_THROW(window->AppleAbout(), fw::NilObjectException);
}

// Watches the places fields from the moment they exist, before the window opens.
class OpeningWatch : public Window1 {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = [] {
            auto cls = fw::MakeClassTable<OpeningWatch>("OpeningWatch.OpeningWatch", &Window1::Lookup());
            cls.events = Window1::Lookup().events;
            return cls;
        }();
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }

    void CreateControls0() override {
        Window1::CreateControls0();
        watch("left", TextFieldNumPlacesLeft());
        watch("right", TextFieldNumPlacesRight());
    }

    std::vector<std::string> seen;

private:
    void watch(const std::string& side, const std::shared_ptr<fw::TextField>& field) {
        seen.push_back(side + " holds \"" + field->Text().bytes() + "\"");
        QLineEdit* edit = EditOf(field);
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [this, side](const QString& text) { seen.push_back(side + " set to " + text.toStdString()); });
    }
};

TEST(Window1OpenTest, WritesEightIntoTheLeftPlacesFieldFirstThenTheRight) {
    auto watched =
        fw::RuntimeCheckCast<OpeningWatch>(fw::RuntimeNewObject(OpeningWatch::Lookup()), OpeningWatch::Lookup());
    watched->Constructor();
    QApplication::processEvents();
    const std::vector<std::string> expected = {"left holds \"\"", "right holds \"\"", "left set to 8",
                                               "right set to 8"};
    EXPECT_EQ(watched->seen, expected);
    watched->Close();
    QApplication::processEvents();
}

TEST_F(ConversionWindowTest, ButtonsDoNotKeepTheirWindowAlive) {
    std::weak_ptr<Window1> weak = window;
    auto button = window->PushButton1();
    window->Close();
    window.reset();
    QApplication::processEvents();
    EXPECT_TRUE(weak.expired());
    // A press that outlives its window finds no window to run in, and the program goes on.
    EXPECT_NO_THROW(button->Push());
}

}  // namespace
}  // namespace radixel
