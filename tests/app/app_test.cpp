// The application object: its Open event, its menu handlers and EnableMenuItems.

#include "Support.hpp"

#include "app/App.hpp"
#include "menubar/MenuBar1.hpp"
#include "app/Startup.hpp"
#include "framework/Exceptions.hpp"
#include "framework/MenuBar.hpp"
#include "framework/MenuItem.hpp"
#include "framework/MenuPresenter.hpp"
#include "framework/Runtime.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace radixel {
namespace {

using testing::IsShown;
using testing::kAboutWindow;
using testing::kHelpWindow;
using testing::OpenWindow;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ResetProgramState();
        Startup();
        app = instance::App();
        ASSERT_NE(app, nullptr);
    }
    void TearDown() override { testing::ResetProgramState(); }

    std::shared_ptr<fw::MenuItem> Item(const char* name) {
        auto item = app->MenuBar()->Lookup(name);
        EXPECT_NE(item, nullptr) << name;
        return item;
    }
    // As a user chooses an item: through the item's action, which the framework dispatches.
    void Choose(const char* name) { fw::MenuPresenter::Of(*Item(name)).action()->trigger(); }

    std::shared_ptr<App> app;
};

// Records, for every event that a top-level widget receives while it is built or hidden,
// whether the help window was by then open and hidden.
class WindowEventRecorder : public QObject {
public:
    struct Entry {
        QObject* widget;
        QEvent::Type type;
        bool helpOpenAndHidden;
    };
    std::vector<Entry> entries;

    WindowEventRecorder() { qApp->installEventFilter(this); }
    ~WindowEventRecorder() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto type = event->type();
        if (widget && widget->isWindow() &&
            (type == QEvent::WindowTitleChange || type == QEvent::Show || type == QEvent::Hide)) {
            auto help = OpenWindow(kHelpWindow);
            entries.push_back({watched, type, help && !IsShown(help)});
        }
        return false;
    }

    std::size_t First(QObject* widget) const {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].widget == widget) return i;
        return entries.size();
    }
};

TEST_F(AppTest, OpenBuildsTheHelpWindowThenTheAboutWindowAndHidesBoth) {
    ASSERT_EQ(OpenWindow(kHelpWindow), nullptr);
    ASSERT_EQ(OpenWindow(kAboutWindow), nullptr);

    WindowEventRecorder recorder;
    app->CallOpen();

    auto help = OpenWindow(kHelpWindow);
    auto about = OpenWindow(kAboutWindow);
    ASSERT_NE(help, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsShown(help));
    EXPECT_FALSE(IsShown(about));

    const std::size_t helpFirst = recorder.First(help->widget());
    const std::size_t aboutFirst = recorder.First(about->widget());
    ASSERT_LT(aboutFirst, recorder.entries.size()) << "the About window's building went unseen";
    EXPECT_LT(helpFirst, aboutFirst) << "the help window must be built first";
    EXPECT_TRUE(recorder.entries[aboutFirst].helpOpenAndHidden)
        << "the help window must be hidden before the About window is built";
}

TEST_F(AppTest, MenuItemsShowTheWindowsBuiltAtOpenAndBuildNewOnesAfterAClose) {
    app->CallOpen();
    struct Case {
        const char* item;
        const char* window;
        const char* other;
    };
    for (const Case& c :
         {Case{"AppleAbout", kAboutWindow, kHelpWindow}, Case{"HelpRadixelHelp", kHelpWindow, kAboutWindow}}) {
        SCOPED_TRACE(c.item);
        auto built = OpenWindow(c.window);
        ASSERT_NE(built, nullptr);
        const bool otherShown = IsShown(OpenWindow(c.other));

        for (int time = 0; time < 2; ++time) {
            Choose(c.item);
            EXPECT_EQ(OpenWindow(c.window), built) << "choice " << time + 1 << " built a second window";
            EXPECT_TRUE(IsShown(built));
        }
        EXPECT_EQ(IsShown(OpenWindow(c.other)), otherShown);

        built->Close();
        ASSERT_EQ(OpenWindow(c.window), nullptr);
        Choose(c.item);
        auto rebuilt = OpenWindow(c.window);
        ASSERT_NE(rebuilt, nullptr);
        EXPECT_NE(rebuilt, built);
        EXPECT_TRUE(IsShown(rebuilt));
    }
}

TEST_F(AppTest, HandlersAreRegisteredInOrderAndReturnTrueEveryTime) {
    const auto& handlers = app->MenuHandlers();
    ASSERT_EQ(testing::HandlerNames(), (std::vector<std::string>{"AppleAbout", "HelpRadixelHelp"}));
    const char* windows[] = {kAboutWindow, kHelpWindow};
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        SCOPED_TRACE(handlers[i].first.bytes());
        for (int time = 0; time < 2; ++time) EXPECT_TRUE(handlers[i].second(app.get()));
        EXPECT_TRUE(IsShown(OpenWindow(windows[i])));
    }
}

// The handlers are read from the registered object, so a class that replaces them is what runs.
TEST(AppHandlers, RunTheMethodsOfTheRegisteredObjectsOwnClass) {
    class RecordingApp : public App {
    public:
        std::vector<std::string> calls;
        bool AppleAbout_Action() override {
            calls.push_back("about");
            return true;
        }
        bool HelpRadixelHelp_Action() override {
            calls.push_back("help");
            return false;
        }
    };
    testing::ResetProgramState();
    auto recording = std::make_shared<RecordingApp>();
    recording->SetMenuBar(instance::MenuBar1());
    fw::RuntimeRegisterAppObject(recording);
    ApplicationAddMenuHandlers();

    const auto& handlers = recording->MenuHandlers();
    ASSERT_EQ(handlers.size(), 2u);
    EXPECT_TRUE(handlers[0].second(recording.get()));
    EXPECT_FALSE(handlers[1].second(recording.get()));
    fw::MenuPresenter::Of(*recording->MenuBar()->Lookup("AppleAbout")).action()->trigger();
    EXPECT_EQ(recording->calls, (std::vector<std::string>{"about", "help", "about"}));
    EXPECT_EQ(OpenWindow(kAboutWindow), nullptr);
    EXPECT_EQ(OpenWindow(kHelpWindow), nullptr);
    testing::ResetProgramState();
}

// The registration alone keeps the application object alive: the handlers registered with it
// are called with the object and hold no reference to it.
TEST(AppHandlers, HoldNoReferenceToTheApplicationObject) {
    auto app = std::make_shared<App>();
    std::weak_ptr<App> watch = app;
    fw::RuntimeRegisterAppObject(app);
    app.reset();
    ApplicationAddMenuHandlers();
    ASSERT_EQ(testing::HandlerNames(), (std::vector<std::string>{"AppleAbout", "HelpRadixelHelp"}));
    fw::RuntimeRegisterAppObject(nullptr);
    EXPECT_TRUE(watch.expired());
    testing::ResetProgramState();
}

void ForEachEntry(const std::shared_ptr<fw::MenuItem>& parent, const std::function<void(fw::MenuItem&)>& visit) {
    for (std::size_t i = 0; i < parent->Count(); ++i) {
        auto child = parent->Item(i);
        visit(*child);
        ForEachEntry(child, visit);
    }
}

TEST_F(AppTest, EnableMenuItemsEnablesTheAboutItemAndTouchesNoOther) {
    auto bar = app->MenuBar();
    Item("AppleAbout")->SetEnabled(false);
    Item("EditCut")->SetEnabled(false);
    std::vector<std::pair<std::string, bool>> before;
    ForEachEntry(bar, [&](fw::MenuItem& e) { before.emplace_back(e.Name().bytes(), e.Enabled()); });

    for (int time = 0; time < 2; ++time) {
        app->EnableMenuItems();
        std::vector<std::pair<std::string, bool>> after;
        ForEachEntry(bar, [&](fw::MenuItem& e) { after.emplace_back(e.Name().bytes(), e.Enabled()); });
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            const bool expected = after[i].first == "AppleAbout" ? true : before[i].second;
            EXPECT_EQ(after[i].second, expected) << after[i].first;
        }
    }
}

TEST_F(AppTest, AppleAboutFindsTheItemInsideTheFileMenu) {
    auto about = AppleAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about, app->MenuBar()->Child("FileMenu")->Child("AppleAbout"));
    EXPECT_EQ(app->MenuBar()->Child("AppleAbout"), nullptr);
}

TEST(AppleAboutLookup, RaisesWithoutApplicationOrBarAndGivesNilWithoutTheItem) {
    testing::ResetProgramState();
    EXPECT_THROW(AppleAbout(), fw::NilObjectException);

    auto app = std::static_pointer_cast<App>(fw::RuntimeNewObject(App::Lookup()));
    fw::RuntimeRegisterAppObject(app);
    EXPECT_THROW(AppleAbout(), fw::NilObjectException);

    auto bare = std::static_pointer_cast<fw::MenuBar>(fw::RuntimeNewObject(fw::MenuBar::Lookup()));
    app->SetMenuBar(bare);
    EXPECT_EQ(AppleAbout(), nullptr);
    testing::ResetProgramState();
}

}  // namespace
}  // namespace radixel
