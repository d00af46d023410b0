#include "WidgetTestSupport.hpp"

#include "framework/Application.hpp"
#include "framework/Events.hpp"
#include "framework/Label.hpp"
#include "framework/MenuBar.hpp"
#include "framework/MenuItem.hpp"
#include "framework/RoundRectangle.hpp"
#include "framework/TextField.hpp"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include <algorithm>

using namespace widgettest;

namespace {

fw::String sizedWindow(std::int32_t width, std::int32_t height, bool resizeable = true) {
    return fw::Record({{"Width", width}, {"Height", height}, {"Resizeable", resizeable}, {"Title", "Scratch"}});
}

QWidget* content(fw::Window& window) { return static_cast<QMainWindow*>(window.widget())->centralWidget(); }

}  // namespace

using WindowBuilding = WidgetTest;

TEST_F(WindowBuilding, HooksRunInOrderWithTheControlsBeforeOpenAndTheWindowRegistered) {
    bool fieldExistedAtOpen = false;
    bool registeredAtOpen = false;
    ScratchWindow::layout = [](ScratchWindow& w) { fw::SetProperties(w, sizedWindow(200, 100)); };
    ScratchWindow::createControls = [](ScratchWindow& w) { w.add<fw::TextField>("Field", fw::Record({{"Left", 5}})); };
    ScratchWindow::open = [&](ScratchWindow& w) {
        fieldExistedAtOpen = w.ControlByName("Field") != nullptr;
        registeredAtOpen = fw::GetImplicitWindow("Tests.ScratchWindow").get() == &w;
    };
    auto window = Scratch();
    EXPECT_EQ(ScratchWindow::hookLog, (std::vector<std::string>{"Layout", "CreateControls", "Open"}));
    EXPECT_TRUE(fieldExistedAtOpen);
    EXPECT_TRUE(registeredAtOpen);
    EXPECT_TRUE(window->IsOpen());
    EXPECT_TRUE(window->widget()->isVisible());
}

TEST_F(WindowBuilding, TheAccessorFindsTheOpenWindowAgainAndRunsNoHook) {
    auto first = Scratch();
    ScratchWindow::hookLog.clear();
    EXPECT_EQ(Scratch(), first);
    EXPECT_TRUE(ScratchWindow::hookLog.empty());
}

TEST_F(WindowBuilding, AHiddenWindowIsStillFoundAndShownAgain) {
    auto first = Scratch();
    first->Hide();
    EXPECT_FALSE(first->widget()->isVisible());
    auto again = Scratch();
    EXPECT_EQ(again, first);
    again->Show();
    EXPECT_TRUE(first->widget()->isVisible());
}

TEST_F(WindowBuilding, AWindowDroppedByTheProgramStaysOpenThroughTheRegistry) {
    std::weak_ptr<ScratchWindow> weak = Scratch();
    flushDeletes();
    ASSERT_FALSE(weak.expired());
    EXPECT_TRUE(weak.lock()->widget()->isVisible());
}

TEST_F(WindowBuilding, ClosedWindowsAreGoneAndTheNextAccessorCallBuildsANewOne) {
    struct Case {
        const char* how;
        std::function<void(ScratchWindow&)> close;
    };
    const Case cases[] = {
        {"Close()", [](ScratchWindow& w) { w.Close(); }},
        {"the user's close button", [](ScratchWindow& w) { w.widget()->close(); }},
    };
    for (const Case& c : cases) {
        std::weak_ptr<ScratchWindow> weak = Scratch();
        QPointer<QWidget> widget = weak.lock()->widget();
        c.close(*weak.lock());
        EXPECT_EQ(fw::GetImplicitWindow("Tests.ScratchWindow"), nullptr) << c.how;
        EXPECT_FALSE(widget->isVisible()) << c.how;
        flushDeletes();
        EXPECT_TRUE(weak.expired()) << c.how;
        EXPECT_TRUE(widget.isNull()) << c.how << ": the widget goes with the window";

        ScratchWindow::hookLog.clear();
        auto fresh = Scratch();
        EXPECT_EQ(ScratchWindow::hookLog.size(), 3u) << c.how;
        fresh->Close();
        flushDeletes();
    }
}

TEST_F(WindowBuilding, AHookThatRaisesLeavesNoHalfBuiltWindowBehind) {
    const char* hooks[] = {"Layout", "CreateControls", "Open"};
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(hooks[failing]);
        QPointer<QWidget> widget;
        ScratchWindow::layout = [&](ScratchWindow& w) {
            widget = w.widget();
            if (failing == 0) throw fw::NilObjectException();
        };
        ScratchWindow::createControls = [&](ScratchWindow& w) {
            w.add<fw::TextField>("Field", fw::String());
            if (failing == 1) throw fw::RuntimeException("RuntimeException: no room");
        };
        ScratchWindow::open = [&](ScratchWindow&) {
            if (failing == 2) throw fw::NilObjectException();
        };
        auto window = std::static_pointer_cast<ScratchWindow>(fw::RuntimeNewObject(ScratchWindow::Lookup()));
        EXPECT_THROW(window->Constructor(), fw::RuntimeException);
        EXPECT_EQ(fw::GetImplicitWindow("Tests.ScratchWindow"), nullptr);
        EXPECT_FALSE(window->IsOpen());
        flushDeletes();
        EXPECT_TRUE(widget.isNull());
        window->Show();
        EXPECT_EQ(fw::GetImplicitWindow("Tests.ScratchWindow"), nullptr) << "a failed window stays closed";
        EXPECT_THROW(window->Constructor(), fw::RuntimeException) << "a window is built once";
    }
}

TEST_F(WindowBuilding, AWindowNeedsToBeMadeAsAnObjectBeforeItIsBuilt) {
    ScratchWindow onTheStack;
    EXPECT_THROW(onTheStack.Constructor(), fw::RuntimeException);
}

TEST_F(WindowBuilding, ControlsAreFoundByTheirRegisteredNameOnly) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>("Base", fw::Record({{"Name", "Base"}}));
    EXPECT_EQ(window->ControlByName("Base"), field);
    EXPECT_EQ(window->ControlByName("Missing"), nullptr);
    EXPECT_EQ(field->ParentWindow(), window);
    EXPECT_THROW(window->AddControl("Again", field), fw::RuntimeException);
    EXPECT_THROW(window->AddControl("Nil", nullptr), fw::NilObjectException);
    EXPECT_THROW(window->New(fw::Window::Lookup()), fw::RuntimeException) << "a window is no control";
}

using WindowItems = WidgetTest;

TEST_F(WindowItems, TheContentAreaBelowTheMenuBarHasTheWindowsSize) {
    auto bar = std::make_shared<fw::MenuBar>();
    bar->Constructor();
    auto file = std::make_shared<fw::MenuItem>();
    file->Constructor();
    file->SetText("&File");
    bar->Append(file);
    ScratchWindow::layout = [&](ScratchWindow& w) {
        w.SetMenuBar(bar);
        fw::SetProperties(w, sizedWindow(600, 349));
    };
    auto window = Scratch();
    auto* frame = static_cast<QMainWindow*>(window->widget());
    ASSERT_NE(frame->menuWidget(), nullptr);
    EXPECT_TRUE(frame->menuWidget()->isVisible());
    EXPECT_EQ(content(*window)->size(), QSize(600, 349));
    EXPECT_EQ(window->MenuBar(), bar);

    window->SetMenuBarVisible(false);
    EXPECT_FALSE(frame->menuWidget()->isVisible());
    EXPECT_EQ(content(*window)->size(), QSize(600, 349));
}

TEST_F(WindowItems, TitleButtonsFrameAndSizeLimitsReachTheQtWindow) {
    ScratchWindow::layout = [](ScratchWindow& w) {
        fw::SetProperties(w, fw::Record({{"Width", 300},
                                         {"Height", 200},
                                         {"MinWidth", 100},
                                         {"MinHeight", 80},
                                         {"MaxWidth", 700},
                                         {"MaxHeight", 500},
                                         {"Frame", 3},
                                         {"Title", "Über"},
                                         {"CloseButton", true},
                                         {"Resizeable", true},
                                         {"MaximizeButton", false},
                                         {"MinimizeButton", true}}));
    };
    auto window = Scratch();
    QWidget* frame = window->widget();
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("Über"));
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(frame->minimumSize(), QSize(100, 80));
    EXPECT_EQ(frame->maximumSize(), QSize(700, 500));

    frame->resize(5000, 5000);
    QCoreApplication::processEvents();
    EXPECT_EQ(content(*window)->size(), QSize(700, 500));
    EXPECT_EQ(window->Width(), 700) << "the window's size follows the user's resize";

    window->SetCloseButton(false);
    window->SetFrame(0);
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(frame->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_TRUE(frame->isVisible()) << "changing the frame keeps the window shown";
}

TEST_F(WindowItems, AWindowThatIsNotResizeableKeepsItsSizeAndShowsNoMaximizeButton) {
    ScratchWindow::layout = [](ScratchWindow& w) {
        fw::SetProperties(
            w, fw::Record({{"Width", 408}, {"Height", 268}, {"Resizeable", false}, {"MaximizeButton", true}}));
    };
    auto window = Scratch();
    QWidget* frame = window->widget();
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
    frame->resize(900, 900);
    QCoreApplication::processEvents();
    EXPECT_EQ(content(*window)->size(), QSize(408, 268));
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);

    window->SetResizeable(true);
    EXPECT_EQ(frame->minimumSize(), QSize(64, 64));
    EXPECT_EQ(frame->maximumSize(), QSize(32000, 32000));
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowItems, TheBackgroundColourFillsTheContentOnlyWhenHasBackColorIsSet) {
    ScratchWindow::layout = [](ScratchWindow& w) {
        fw::SetProperties(
            w,
            fw::Record(
                {{"Width", 60}, {"Height", 40}, {"HasBackColor", false}, {"BackColor", fw::Color::FromRGB(0x12AB34)}}));
    };
    auto window = Scratch();
    QWidget* area = content(*window);
    EXPECT_FALSE(area->autoFillBackground());
    window->SetHasBackColor(true);
    EXPECT_TRUE(area->autoFillBackground());
    EXPECT_EQ(area->grab().toImage().pixelColor(30, 20), QColor(0x12, 0xAB, 0x34));
}

TEST_F(WindowItems, PlacementThreeCentresTheWindowOnTheScreenAndOneOverTheFrontWindow) {
    // The desktop's frame adds a few pixels that are known only once the window is shown.
    constexpr int kFrameSlack = 6;
    auto centreOf = [](const fw::Window& w) { return w.widget()->geometry().center(); };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ScratchWindow::layout = [](ScratchWindow& w) {
        fw::SetProperties(w, fw::Record({{"Placement", 3}, {"Width", 200}, {"Height", 100}}));
    };
    auto onScreen = Scratch();
    EXPECT_LE((centreOf(*onScreen) - screen.center()).manhattanLength(), kFrameSlack);

    onScreen->widget()->move(40, 50);
    ScratchWindow::layout = [](ScratchWindow& w) {
        fw::SetProperties(w, fw::Record({{"Placement", 1}, {"Width", 80}, {"Height", 60}}));
    };
    auto dialog = std::static_pointer_cast<ScratchWindow>(fw::RuntimeNewObject(ScratchWindow::Lookup()));
    dialog->Constructor();
    EXPECT_LE((centreOf(*dialog) - centreOf(*onScreen)).manhattanLength(), kFrameSlack);
}

// A window built ahead of its use, hidden by its record or hidden as soon as it is built, takes
// its place over the front window when it first appears, wherever that window has gone since.
TEST_F(WindowItems, PlacementOverTheFrontWindowHoldsWhereTheWindowFirstAppears) {
    constexpr int kFrameSlack = 6;
    auto centreOf = [](const fw::Window& w) { return w.widget()->geometry().center(); };
    const struct {
        const char* how;
        bool visibleByRecord;
    } cases[] = {{"hidden by its record", false}, {"built visible and hidden at once", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        ScratchWindow::layout = [](ScratchWindow& w) { fw::SetProperties(w, sizedWindow(300, 200)); };
        auto front = Scratch();
        front->widget()->move(20, 30);

        ScratchWindow::layout = [&c](ScratchWindow& w) {
            fw::SetProperties(
                w, fw::Record({{"Placement", 1}, {"Width", 80}, {"Height", 60}, {"Visible", c.visibleByRecord}}));
        };
        auto dialog = std::static_pointer_cast<ScratchWindow>(fw::RuntimeNewObject(ScratchWindow::Lookup()));
        dialog->Constructor();
        dialog->Hide();
        QCoreApplication::processEvents();

        front->widget()->move(260, 190);
        QCoreApplication::processEvents();
        dialog->Show();
        EXPECT_LE((centreOf(*dialog) - centreOf(*front)).manhattanLength(), kFrameSlack)
            << "dialog centred at " << centreOf(*dialog).x() << "," << centreOf(*dialog).y() << ", front window at "
            << centreOf(*front).x() << "," << centreOf(*front).y();

        // Once seen, the window keeps the place the user leaves it at.
        QCoreApplication::processEvents();
        dialog->widget()->move(5, 5);
        dialog->Hide();
        dialog->Show();
        EXPECT_EQ(dialog->widget()->pos(), QPoint(5, 5));
        dialog->Close();
        front->Close();
    }
}

TEST_F(WindowItems, VisibleFalseKeepsANewWindowHiddenUntilShown) {
    ScratchWindow::layout = [](ScratchWindow& w) { fw::SetProperties(w, fw::Record({{"Visible", false}})); };
    auto window = Scratch();
    EXPECT_TRUE(window->IsOpen());
    EXPECT_FALSE(window->widget()->isVisible());
    EXPECT_FALSE(window->Visible());
    window->SetVisible(true);
    EXPECT_TRUE(window->widget()->isVisible());
}

// QtGui's own entry for a key press on its way to the focus object: it sends the
// ShortcutOverride event and then lets the shortcut map dispatch, as a real key press does.
bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods, const QString& text,
                                  bool autorep, ushort count);

namespace {

class CommandApp : public fw::Application {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = [] {
            auto t = fw::MakeClassTable<CommandApp>("Tests.CommandApp", &fw::Application::Lookup());
            fw::AddEvent(t, fw::events::AppEnableMenuItems, &CommandApp::EnableMenuItems);
            return t;
        }();
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }
    void EnableMenuItems() { log.push_back("enable"); }
    std::vector<std::string> log;
};

// The application's menu bar, shown by one window, with one command that has a shortcut.
std::shared_ptr<CommandApp> appWithCommand() {
    auto app = fw::RuntimeCheckCast<CommandApp>(fw::RuntimeNewObject(CommandApp::Lookup()), CommandApp::Lookup());
    fw::RuntimeRegisterAppObject(app);
    auto bar = std::make_shared<fw::MenuBar>();
    auto menu = std::make_shared<fw::MenuItem>();
    menu->SetName("FileMenu");
    menu->SetText("&File");
    auto command = std::make_shared<fw::MenuItem>();
    command->SetName("FileRun");
    command->SetText("&Run");
    command->SetKeyboardShortcut("Cmd+K");
    bar->Append(menu);
    menu->Append(command);
    app->SetMenuBar(bar);
    app->AddMenuHandler("FileRun", [](fw::Object* self) {
        static_cast<CommandApp*>(self)->log.push_back("run");
        return true;
    });
    return app;
}

bool pressShortcutIn(fw::Window& window, int key) {
    static ulong timestamp = 1000;
    window.widget()->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != window.widget()) return false;
    QObject* receiver = QGuiApplication::focusObject() ? QGuiApplication::focusObject() : window.widget();
    qt_sendShortcutOverrideEvent(receiver, ++timestamp, key, Qt::ControlModifier, QString(), false, 1);
    return true;
}

}  // namespace

// The shortcuts of the application's menu bar act from a window that shows no bar, also once the
// window that shows it has gone, and the menus are brought up to date first.
TEST_F(WindowItems, ApplicationShortcutsActFromEveryWindow) {
    auto app = appWithCommand();
    ScratchWindow::layout = [&](ScratchWindow& w) { w.SetMenuBar(app->MenuBar()); };
    auto withBar = Scratch();
    ScratchWindow::layout = [](ScratchWindow& w) { fw::SetProperties(w, sizedWindow(200, 100)); };
    ScratchWindow::createControls = [](ScratchWindow& w) { w.add<fw::TextField>("Field", fw::Record({})); };
    auto withoutBar = std::static_pointer_cast<ScratchWindow>(fw::RuntimeNewObject(ScratchWindow::Lookup()));
    withoutBar->Constructor();
    ASSERT_EQ(withoutBar->widget()->findChild<QMenuBar*>(), nullptr);

    ASSERT_TRUE(pressShortcutIn(*withoutBar, Qt::Key_K));
    EXPECT_EQ(app->log, (std::vector<std::string>{"enable", "run"})) << "while the window with the bar is open";

    withBar->Close();
    flushDeletes();
    app->log.clear();
    ASSERT_TRUE(pressShortcutIn(*withoutBar, Qt::Key_K));
    EXPECT_EQ(app->log, (std::vector<std::string>{"enable", "run"})) << "after the window with the bar has gone";

    app->log.clear();
    ASSERT_TRUE(pressShortcutIn(*withoutBar, Qt::Key_J));
    EXPECT_TRUE(app->log.empty()) << "a key that is no shortcut ran something";
    fw::RuntimeRegisterAppObject(nullptr);
}

using ControlLayout = WidgetTest;

TEST_F(ControlLayout, LockedEdgesKeepTheirDistanceWhenTheWindowIsResized) {
    struct Case {
        bool left, top, right, bottom;
        QRect after;  // from 400 by 300 to 500 by 360
    };
    const Case cases[] = {
        {true, true, false, false, QRect(20, 30, 100, 40)},   {true, true, true, false, QRect(20, 30, 200, 40)},
        {false, true, true, false, QRect(120, 30, 100, 40)},  {true, true, false, true, QRect(20, 30, 100, 100)},
        {true, false, false, true, QRect(20, 90, 100, 40)},   {true, true, true, true, QRect(20, 30, 200, 100)},
        {false, false, false, false, QRect(20, 30, 100, 40)},
    };
    ScratchWindow::layout = [](ScratchWindow& w) { fw::SetProperties(w, sizedWindow(400, 300)); };
    auto window = Scratch();
    std::vector<std::shared_ptr<fw::RectControl>> controls;
    for (const Case& c : cases) {
        controls.push_back(window->add<fw::Label>(("L" + std::to_string(controls.size())).c_str(),
                                                  fw::Record({{"Left", 20},
                                                              {"Top", 30},
                                                              {"Width", 100},
                                                              {"Height", 40},
                                                              {"LockLeft", c.left},
                                                              {"LockTop", c.top},
                                                              {"LockRight", c.right},
                                                              {"LockBottom", c.bottom}})));
    }
    // The user's resize: the frame grows, the content follows.
    QWidget* frame = window->widget();
    frame->resize(frame->size() + QSize(100, 60));
    QCoreApplication::processEvents();
    ASSERT_EQ(content(*window)->size(), QSize(500, 360));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Case& c = cases[i];
        const auto& control = controls[i];
        SCOPED_TRACE(testing::Message() << "locks L" << c.left << " T" << c.top << " R" << c.right << " B" << c.bottom);
        EXPECT_EQ(QRect(control->Left(), control->Top(), control->Width(), control->Height()), c.after);
        EXPECT_EQ(control->widget()->geometry(), c.after);
    }
    // The program's resize back restores every control.
    window->SetWidth(400);
    window->SetHeight(300);
    for (const auto& control : controls) EXPECT_EQ(control->widget()->geometry(), QRect(20, 30, 100, 40));
}

TEST_F(ControlLayout, TabIndexGivesTheKeyboardFocusOrderWhateverTheCreationOrder) {
    // Tab goes round in a circle, so the order is read from the first control on; the creation
    // order is no rotation of the tab order.
    const int indexes[] = {3, 0, 2, 1};
    std::vector<QWidget*> expected(4);
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        for (int i = 0; i < 4; ++i) {
            auto field = w.add<fw::TextField>(("F" + std::to_string(i)).c_str(),
                                              fw::Record({{"Top", 30 * i}, {"TabIndex", indexes[i]}}));
            expected[static_cast<std::size_t>(indexes[i])] = field->widget();
        }
        w.add<fw::Label>("Between", fw::Record({{"TabIndex", 1}}));
    };
    auto window = Scratch();
    std::vector<QWidget*> cycle;
    QWidget* w = expected[0];
    do {
        if (std::find(expected.begin(), expected.end(), w) != expected.end()) cycle.push_back(w);
        w = w->nextInFocusChain();
    } while (w != expected[0]);
    EXPECT_EQ(cycle, expected);
}

TEST_F(ControlLayout, AControlInsideAnotherStandsInItsWidgetButIsPlacedFromTheWindow) {
    auto window = Scratch();
    auto box = window->add<fw::RoundRectangle>(
        "RoundRectangle1", fw::Record({{"Left", 34}, {"Top", 150}, {"Width", 340}, {"Height", 100}}));
    auto label = window->add<fw::Label>(
        "StaticText2",
        fw::Record({{"Left", 49}, {"Top", 169}, {"Width", 303}, {"Height", 62}, {"InitialParent", "RoundRectangle1"}}));
    EXPECT_EQ(label->widget()->parentWidget(), box->widget());
    EXPECT_EQ(label->widget()->pos(), QPoint(15, 19));
    EXPECT_EQ(label->widget()->mapTo(content(*window), QPoint(0, 0)), QPoint(49, 169));
    EXPECT_TRUE(label->widget()->isVisible());

    box->SetLeft(44);
    EXPECT_EQ(label->widget()->mapTo(content(*window), QPoint(0, 0)), QPoint(49, 169)) << "measured from the window";

    for (const char* refused : {"", "NoSuchControl", "StaticText2"}) {
        label->SetInitialParent(refused);
        EXPECT_EQ(label->widget()->parentWidget(), content(*window)) << "InitialParent \"" << refused << "\"";
        EXPECT_EQ(label->widget()->pos(), QPoint(49, 169));
    }
    label->SetInitialParent("RoundRectangle1");
    box->SetInitialParent("StaticText2");
    EXPECT_EQ(box->widget()->parentWidget(), content(*window)) << "a control cannot stand inside its own child";
}

TEST_F(ControlLayout, ReturnPressesTheDefaultButtonAndEscapeTheCancelButton) {
    std::shared_ptr<fw::TextField> field;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        field = w.add<fw::TextField>("Field", fw::String());
        auto ok = w.add<fw::PushButton>("OK", fw::Record({{"Name", "OK"}, {"Default", true}}));
        auto cancel = w.add<fw::PushButton>("Cancel", fw::Record({{"Name", "Cancel"}, {"Cancel", true}}));
        w.attachPressed(ok);
        w.attachPressed(cancel);
    };
    auto window = Scratch();
    pressKey(field->widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    pressKey(field->widget(), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    pressKey(field->widget(), Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(ScratchWindow::pressed, (std::vector<std::string>{"OK", "Cancel"}));
}
