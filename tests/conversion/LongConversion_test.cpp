// Conversions that take long: the window goes on answering while one runs off the event loop,
// shows that it runs, and stops it on Escape or a new press, with both panes exactly as they
// were. They run through stand-ins for the conversion component that work as long as the places
// field says, in milliseconds: one that has the stop entry and one that has not, whose stopped
// conversion runs on and whose result must then be dropped.

#include "UserActions.hpp"

#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/BackgroundRunner.hpp"
#include "framework/Plugins.hpp"

#include <QCursor>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace radixel {
namespace {

using namespace std::chrono_literals;
using test::Click;
using test::ConversionWindowTest;
using test::EditOf;
using test::TypeInto;
using test::WaitForConversion;
using test::WindowTexts;

const char* const kEarlierResult = "an earlier result\rover two lines";

void BindTo(const char* folder) {
    fw::SetPluginFolder(folder);
    fw::InitPluginEntrypoints(&InitPluginEntrypoints);
}

std::int32_t Counter(const char* name) {
    void* entry = fw::RuntimeLookupPluginEntrypoint(fw::String(std::string(name) + "() As Integer"));
    return entry ? reinterpret_cast<std::int32_t (*)()>(entry)() : -1;
}

void RunLoopFor(std::chrono::milliseconds span) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < until) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

// Lets the loop run until the component has no conversion running and every result it handed
// back has reached the window, or would have.
void RunUntilTheComponentIsIdle() {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (Counter("Running") != 0 && std::chrono::steady_clock::now() < deadline) RunLoopFor(10ms);
    EXPECT_EQ(Counter("Running"), 0);
    EXPECT_TRUE(fw::BackgroundRunner::WaitForAll(60s));
    RunLoopFor(50ms);
}

struct Component {
    const char* name;
    const char* folder;
    bool stops;
};
const Component kStoppable{"a component with the stop entry", RADIXEL_TEST_STOPPABLE_PLUGINS, true};
const Component kUnstoppable{"a component without it", RADIXEL_TEST_UNSTOPPABLE_PLUGINS, false};

class LongConversionTest : public ConversionWindowTest {
protected:
    void SetUp() override {
        ConversionWindowTest::SetUp();
        Use(kStoppable);
    }
    void TearDown() override {
        if (window) window->StopConversion();
        EXPECT_TRUE(fw::BackgroundRunner::WaitForAll(60s));
        BindTo(RADIXEL_BUNDLE_PLUGINS);
        ConversionWindowTest::TearDown();
    }
    void Use(const Component& component) {
        EXPECT_TRUE(fw::BackgroundRunner::WaitForAll(60s));
        BindTo(component.folder);
        ASSERT_EQ(plugin_stop_entrypoint != nullptr, component.stops);
    }
    // Bases, a number on the left, an earlier result on the right, and the time each direction's
    // conversion takes in its target side's places field.
    void Enter(const std::string& number, const std::string& milliseconds) {
        TypeInto(EditOf(window->TextFieldBaseLeft()), "10");
        TypeInto(EditOf(window->TextFieldBaseRight()), "16");
        window->TextAreaLeft()->SetText(fw::String(number));
        window->TextAreaRight()->SetText(kEarlierResult);
        TypeInto(EditOf(window->TextFieldNumPlacesRight()), milliseconds);
        TypeInto(EditOf(window->TextFieldNumPlacesLeft()), milliseconds);
    }
};

TEST_F(LongConversionTest, TheWindowGoesOnWhileItRunsAndShowsThatItRuns) {
    Enter("12345", "1500");
    fw::TextView* target = EditOf(window->TextAreaRight());
    Click(window->PushButton1());
    EXPECT_TRUE(window->Converting());
    EXPECT_EQ(window->widget()->cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(window->TextAreaRight()->BusyNote().bytes(), "") << "a note before the conversion has run a moment";

    // The target pane takes nothing typed; the source pane and the fields take everything, and
    // what is typed there now is no part of the conversion.
    EXPECT_TRUE(target->isReadOnly());
    TypeInto(target, "typed over");
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), kEarlierResult);
    TypeInto(EditOf(window->TextAreaLeft()), "678");
    TypeInto(EditOf(window->TextFieldBaseRight()), "2");
    EXPECT_EQ(window->TextAreaLeft()->Text().bytes(), "678");
    EXPECT_EQ(window->TextFieldBaseRight()->Text().bytes(), "2");

    RunLoopFor(500ms);
    ASSERT_TRUE(window->Converting());
    EXPECT_EQ(window->TextAreaRight()->BusyNote().bytes(), "Converting\u2026 0 s. Escape stops it.");
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), kEarlierResult) << "the note became part of the text";

    WaitForConversion(*window);
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), "slow: 12345");
    EXPECT_EQ(window->TextAreaLeft()->Text().bytes(), "678");
    EXPECT_FALSE(target->isReadOnly());
    EXPECT_EQ(window->TextAreaRight()->BusyNote().bytes(), "");
    EXPECT_NE(window->widget()->cursor().shape(), Qt::BusyCursor);
}

TEST_F(LongConversionTest, EscapeInAnyControlStopsItAndBothPanesStayAsTheyWere) {
    const std::vector<std::string> controls = {"TextFieldBaseLeft",       "TextFieldBaseRight",    "TextAreaLeft",
                                               "TextAreaRight",           "PushButton1",           "PushButton2",
                                               "TextFieldNumPlacesRight", "TextFieldNumPlacesLeft"};
    for (const Component& component : {kStoppable, kUnstoppable}) {
        Use(component);
        for (const std::string& name : controls) {
            SCOPED_TRACE(std::string(component.name) + ", Escape in " + name);
            Enter(std::string(100'000, '7'), component.stops ? "20000" : "500");
            QWidget* control = window->ControlByName(name)->widget();
            if (control->focusProxy()) control = control->focusProxy();

            // With no conversion running, Escape does what it did: nothing.
            const WindowTexts before = WindowTexts::Of(*window);
            QTest::keyClick(control, Qt::Key_Escape);
            ASSERT_EQ(WindowTexts::Of(*window), before);

            const std::int32_t stops = Counter("Stops");
            Click(window->PushButton1());
            ASSERT_TRUE(window->Converting());
            RunLoopFor(50ms);
            QTest::keyClick(control, Qt::Key_Escape);
            EXPECT_FALSE(window->Converting());
            EXPECT_FALSE(EditOf(window->TextAreaRight())->isReadOnly());
            EXPECT_NE(window->widget()->cursor().shape(), Qt::BusyCursor);
            EXPECT_EQ(Counter("Stops"), component.stops ? stops + 1 : stops);

            RunUntilTheComponentIsIdle();
            EXPECT_EQ(WindowTexts::Of(*window), before);
        }
    }
}

TEST_F(LongConversionTest, APressWhileOneRunsStopsItAndTheNewOneIsShown) {
    for (const Component& component : {kStoppable, kUnstoppable}) {
        Use(component);
        SCOPED_TRACE(component.name);
        Enter("1", component.stops ? "20000" : "800");
        const std::int32_t started = Counter("Started");
        const std::int32_t stops = Counter("Stops");
        Click(window->PushButton1());
        RunLoopFor(50ms);

        // "<-" converts the right pane into the left one: the right pane is free again at once.
        TypeInto(EditOf(window->TextFieldNumPlacesLeft()), "10");
        Click(window->PushButton2());
        EXPECT_TRUE(window->Converting());
        EXPECT_FALSE(EditOf(window->TextAreaRight())->isReadOnly());
        EXPECT_TRUE(EditOf(window->TextAreaLeft())->isReadOnly());
        EXPECT_EQ(Counter("Stops"), component.stops ? stops + 1 : stops);

        WaitForConversion(*window);
        RunUntilTheComponentIsIdle();
        EXPECT_EQ(Counter("Started"), started + 2);
        EXPECT_EQ(window->TextAreaLeft()->Text().bytes(), std::string("slow: ") + kEarlierResult);
        EXPECT_EQ(window->TextAreaRight()->Text().bytes(), kEarlierResult) << "the stopped conversion's result landed";
    }
}

TEST_F(LongConversionTest, APressThatFailsACheckLeavesTheConversionUnderWayAlone) {
    Enter("12345", "800");
    const std::int32_t stops = Counter("Stops");
    Click(window->PushButton1());
    TypeInto(EditOf(window->TextFieldBaseRight()), "0");
    Click(window->PushButton2());
    TypeInto(EditOf(window->TextFieldNumPlacesRight()), "-1");
    Click(window->PushButton1());
    EXPECT_TRUE(window->Converting());
    EXPECT_EQ(Counter("Stops"), stops);
    WaitForConversion(*window);
    EXPECT_EQ(window->TextAreaRight()->Text().bytes(), "slow: 12345");
}

TEST_F(LongConversionTest, ClosingTheWindowStopsItsConversion) {
    Enter("12345", "20000");
    const std::int32_t stops = Counter("Stops");
    Click(window->PushButton1());
    RunLoopFor(50ms);
    std::weak_ptr<Window1> closed = window;
    window->Close();
    window.reset();
    QApplication::processEvents();
    EXPECT_TRUE(closed.expired());
    EXPECT_EQ(Counter("Stops"), stops + 1);
    RunUntilTheComponentIsIdle();
}

}  // namespace
}  // namespace radixel
