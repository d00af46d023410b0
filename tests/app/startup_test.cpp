// The start-up routine's six steps, observed through what each leaves behind.

#include "Support.hpp"

#include "app/App.hpp"
#include "menubar/MenuBar1.hpp"
#include "app/Startup.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Runtime.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace radixel {
namespace {

using testing::ConversionIsBound;
using testing::HandlerNames;
using testing::kConversionWindow;
using testing::OpenWindow;

struct Snapshot {
    bool bound = false;
    bool appRegistered = false;
    bool appHoldsSharedBar = false;
    std::vector<std::string> handlers;
    bool windowOpen = false;
    bool windowHoldsAppBar = false;

    bool operator==(const Snapshot&) const = default;
};

Snapshot Take() {
    Snapshot s;
    s.bound = ConversionIsBound();
    auto app = instance::App();
    s.appRegistered = app != nullptr;
    s.appHoldsSharedBar = app && app->MenuBar() && app->MenuBar() == MenuBar1::_implicitInstance;
    s.handlers = HandlerNames();
    auto window = OpenWindow(kConversionWindow);
    s.windowOpen = window != nullptr;
    s.windowHoldsAppBar = window && app && window->MenuBar() && window->MenuBar() == app->MenuBar();
    return s;
}

std::string Describe(const Snapshot& s) {
    std::string names;
    for (const auto& n : s.handlers) names += n + " ";
    return "bound=" + std::to_string(s.bound) + " app=" + std::to_string(s.appRegistered) +
           " appBar=" + std::to_string(s.appHoldsSharedBar) + " handlers=[" + names +
           "] window=" + std::to_string(s.windowOpen) + " windowBar=" + std::to_string(s.windowHoldsAppBar);
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { testing::ResetProgramState(); }
    void TearDown() override { testing::ResetProgramState(); }
};

TEST_F(StartupTest, EachStepRunsOnceInOrderAndLeavesItsEffect) {
    if (ConversionIsBound())
        GTEST_SKIP() << "needs a process of its own: the binding is made once per process (ctest runs each test alone)";
    const std::vector<std::string> both = {"AppleAbout", "HelpRadixelHelp"};
    struct Expected {
        const char* step;
        Snapshot after;
    };
    const Expected expected[] = {
        {"RuntimeInitExternalClasses", {false, false, false, {}, false, false}},
        {"InitPluginEntrypoints", {true, false, false, {}, false, false}},
        {"InitFileTypes", {true, false, false, {}, false, false}},
        {"NewAppInstance", {true, true, true, {}, false, false}},
        {"ApplicationAddMenuHandlers", {true, true, true, both, false, false}},
        {"MakeDefaultView", {true, true, true, both, true, true}},
    };
    ASSERT_EQ(kStartupSteps.size(), std::size(expected));
    for (std::size_t i = 0; i < kStartupSteps.size(); ++i) {
        SCOPED_TRACE(expected[i].step);
        EXPECT_STREQ(kStartupSteps[i].name, expected[i].step);
        kStartupSteps[i].run();
        Snapshot now = Take();
        EXPECT_EQ(now, expected[i].after) << "after step " << i + 1 << ": " << Describe(now);
    }
}

// Through the framework, as Main runs it: the end state, and nothing built twice.
TEST_F(StartupTest, FrameworkRunsStartupToTheSameEndState) {
    fw::RunFrameworkInitialization(&Startup);

    auto app = instance::App();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(instance::App(), app);
    EXPECT_EQ(instance::App(), fw::GetAppObject());
    EXPECT_EQ(app->MenuBar(), instance::MenuBar1());
    EXPECT_EQ(HandlerNames(), (std::vector<std::string>{"AppleAbout", "HelpRadixelHelp"}));

    auto window = OpenWindow(kConversionWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->MenuBar(), app->MenuBar());
    EXPECT_TRUE(testing::IsShown(window));
}

// A step that raises ends start-up there: what came before stays, nothing after it runs.
TEST_F(StartupTest, AnExceptionInNewAppInstanceSkipsTheLaterSteps) {
    struct Case {
        const char* name;
        void (*failingStep)();
        bool appRegistered;
    };
    const Case cases[] = {
        {"raises before registering", [] { fw::RaiseNilObjectException(); }, false},
        {"raises after registering",
         [] {
             NewAppInstance();
             fw::RaiseNilObjectException();
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ResetProgramState();
        std::vector<StartupStep> steps(kStartupSteps.begin(), kStartupSteps.end());
        for (StartupStep& step : steps)
            if (std::string(step.name) == "NewAppInstance") step.run = c.failingStep;

        EXPECT_THROW(RunStartupSteps(steps), fw::NilObjectException);

        EXPECT_TRUE(ConversionIsBound());
        EXPECT_EQ(instance::App() != nullptr, c.appRegistered);
        EXPECT_TRUE(HandlerNames().empty());
        EXPECT_EQ(OpenWindow(kConversionWindow), nullptr);
    }
}

}  // namespace
}  // namespace radixel
