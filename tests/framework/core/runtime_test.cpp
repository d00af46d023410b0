#include "MenuFixture.hpp"
#include "QtTestProgram.hpp"
#include "TestSupport.hpp"

#include "framework/Exceptions.hpp"
#include "framework/Runtime.hpp"

#include <QAction>
#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The program's exception routine, as start-up installs it.
std::shared_ptr<fw::Object> ProgramLikeHelper(fw::PlainFunction function, fw::Ptr argument) {
    try {
        function(argument);
    } catch (const fw::RuntimeException& raised) {
        return raised.clone();
    }
    return nullptr;
}

std::size_t lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ExceptionBoundaryTest, AnExceptionLeavingAHandlerIsReportedInOneLineAndTheProgramGoesOn) {
    const std::string huge(1 << 20, 'x');
    const struct {
        const char* what;
        std::function<void()> raise;
        std::string expected;  // at the start of the line
    } cases[] = {
        {"NilObjectException", [] { fw::RaiseNilObjectException(); },
         "radixel: NilObjectException: an object was nil where it was used"},
        {"a message over lines", [] { throw fw::RuntimeException("RuntimeException: bad\nthing"); },
         "radixel: RuntimeException: bad thing"},
        {"a message without its class", [] { throw fw::IllegalCastException("not a window"); },
         "radixel: IllegalCastException: not a window"},
        {"std::exception", [] { throw std::runtime_error("boom"); }, "radixel: std::exception: boom"},
        {"anything else", [] { throw 42; }, "radixel: an exception: of unknown type"},
        {"a huge message", [&] { throw fw::RuntimeException(fw::String(huge)); }, "radixel: RuntimeException: xxx"},
    };
    for (fw::ExceptionHelper helper : {fw::ExceptionHelper(nullptr), &ProgramLikeHelper}) {
        fw::RuntimeSetExceptionHelper(helper);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (helper ? ", through the helper" : ", without helper"));
            coretest::StderrCapture capture;
            const bool finished = fw::CallGuarded(c.raise);
            bool ranAfter = false;
            const bool nextFinished = fw::CallGuarded([&] { ranAfter = true; });
            const std::string& out = capture.Text();
            EXPECT_FALSE(finished);
            EXPECT_TRUE(nextFinished);
            EXPECT_TRUE(ranAfter);
            EXPECT_EQ(out.rfind(c.expected, 0), 0u) << out.substr(0, 200);
            EXPECT_EQ(lines(out), 1u) << out.substr(0, 200);
            EXPECT_LT(out.size(), 1000u);
        }
    }
    fw::RuntimeSetExceptionHelper(nullptr);
}

TEST(ExceptionBoundaryTest, AChosenEntryWhoseHandlerRaisesLeavesTheProgramRunning) {
    qttest::Application();
    fw::RuntimeSetExceptionHelper(&ProgramLikeHelper);
    auto bar = coretest::NewProgramBar();
    auto app = coretest::RegisterRecordingApp();
    int calls = 0;
    app->AddMenuHandler("HelpRadixelHelp", [&](fw::Object*) -> bool {
        if (++calls == 1) fw::RaiseNilObjectException();
        return true;
    });
    QAction* help = coretest::ActionOf(bar->Lookup("HelpRadixelHelp"));
    coretest::StderrCapture capture;
    help->trigger();
    help->trigger();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(lines(capture.Text()), 1u) << capture.Text();
    EXPECT_NE(capture.Text().find("NilObjectException"), std::string::npos) << capture.Text();
    fw::RuntimeRegisterAppObject(nullptr);
    fw::RuntimeSetExceptionHelper(nullptr);
}

// Runs of the runtime inside the test program, sharing its Qt application object. The
// start-up routine is a plain function, as the program's is; it does what the test sets.
std::vector<std::string> startupLog;
std::function<void()> startupBody;

void Startup() {
    startupLog.push_back("startup");
    if (startupBody) startupBody();
}

class RunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qttest::Application(); }
    void SetUp() override {
        startupLog.clear();
        startupBody = nullptr;
        // A loop that never ends would hang the test program: end it with a status no test expects.
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog_.start(20000);
    }
    void TearDown() override { startupBody = nullptr; }

    std::shared_ptr<coretest::RecordingApp> app_;
    QTimer watchdog_;
};

TEST_F(RunTest, OpenComesOnceInsideTheLoopAfterStartup) {
    int openedAtLoopLevel = -1;
    startupBody = [&] {
        app_ = coretest::RegisterRecordingApp();
        app_->onOpen = [&] {
            openedAtLoopLevel = QThread::currentThread()->loopLevel();
            startupLog.push_back("open");
            fw::QuitMenuAction();
        };
    };
    fw::RuntimeInit();
    fw::RunFrameworkInitialization(&Startup);
    fw::RunFrameworkInitialization(&Startup);
    EXPECT_EQ(startupLog, std::vector<std::string>{"startup"});
    EXPECT_TRUE(app_->log.empty());

    fw::RuntimeRun();
    EXPECT_EQ(startupLog, (std::vector<std::string>{"startup", "open"}));
    EXPECT_EQ(app_->log, std::vector<std::string>{"open"});
    EXPECT_GE(openedAtLoopLevel, 1);

    std::weak_ptr<coretest::RecordingApp> watch = app_;
    app_.reset();
    EXPECT_EQ(fw::RuntimeExit(), 0);
    EXPECT_TRUE(watch.expired()) << "the application object outlived the runtime";
    EXPECT_EQ(fw::GetAppObject(), nullptr);
}

TEST_F(RunTest, RuntimeExitGivesTheLoopsStatus) {
    startupBody = [&] {
        app_ = coretest::RegisterRecordingApp();
        app_->onOpen = [] { QCoreApplication::exit(3); };
    };
    fw::RunFrameworkInitialization(&Startup);
    fw::RuntimeRun();
    EXPECT_EQ(fw::RuntimeExit(), 3);
}

TEST_F(RunTest, AStartupThatRaisesEndsTheRunWithStatusOne) {
    startupBody = [&] {
        app_ = coretest::RegisterRecordingApp();
        fw::RaiseNilObjectException();
    };
    bool loopRan = false;
    QObject sentinel;
    QTimer::singleShot(0, &sentinel, [&] {
        loopRan = true;
        QCoreApplication::exit(98);
    });
    coretest::StderrCapture capture;
    fw::RunFrameworkInitialization(&Startup);
    fw::RuntimeRun();
    const std::string& out = capture.Text();
    EXPECT_FALSE(loopRan);
    EXPECT_TRUE(app_->log.empty()) << "Open was delivered after a failed start-up";
    EXPECT_NE(out.find("radixel: NilObjectException"), std::string::npos) << out;
    EXPECT_EQ(fw::RuntimeExit(), 1);
}

TEST_F(RunTest, QuitDuringStartupEndsTheRunBeforeOpen) {
    startupBody = [&] {
        app_ = coretest::RegisterRecordingApp();
        EXPECT_TRUE(fw::QuitMenuAction());
    };
    fw::RunFrameworkInitialization(&Startup);
    fw::RuntimeRun();
    EXPECT_TRUE(app_->log.empty());
    EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST_F(RunTest, TheQuitEntryEndsTheLoopWithZero) {
    startupBody = [&] {
        app_ = coretest::RegisterRecordingApp();
        app_->SetMenuBar(coretest::NewProgramBar());
        app_->onOpen = [&] { coretest::ActionOf(app_->MenuBar()->Lookup("FileQuit"))->trigger(); };
    };
    fw::RunFrameworkInitialization(&Startup);
    fw::RuntimeRun();
    EXPECT_EQ(app_->log, std::vector<std::string>{"open"});
    EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST_F(RunTest, ClosingTheLastVisibleWindowEndsTheLoopHiddenOnesDoNotCount) {
    QWidget shown, hidden;
    startupBody = [&] {
        app_ = coretest::RegisterRecordingApp();
        app_->onOpen = [&] {
            hidden.show();
            hidden.hide();
            shown.show();
            QTimer::singleShot(0, &shown, [&] { shown.close(); });
        };
    };
    fw::RunFrameworkInitialization(&Startup);
    fw::RuntimeRun();
    EXPECT_FALSE(shown.isVisible());
    EXPECT_EQ(fw::RuntimeExit(), 0);
}

// Whole runs in a process of their own: the runtime makes the Qt application object,
// and each run leaves the process as it found it.
void QuittingStartup() {
    auto app = coretest::RegisterRecordingApp();
    app->SetMenuBar(coretest::NewProgramBar());
    coretest::ActionOf(app->MenuBar()->Lookup("FileQuit"));  // Qt objects that must go before Qt does
    app->onOpen = [] {
        std::fputs("opened\n", stderr);
        fw::QuitMenuAction();
    };
}

TEST(RuntimeDeathTest, WithoutADisplayTheRuntimeSaysSoInOneLineAndExitsWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::unsetenv("QT_QPA_PLATFORM");
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            fw::RuntimeInit();
        },
        ::testing::ExitedWithCode(1), "^radixel: no display to open windows on \\(DISPLAY is not set\\)\n$");
    EXPECT_EXIT(
        {
            ::unsetenv("QT_QPA_PLATFORM");
            ::unsetenv("WAYLAND_DISPLAY");
            ::setenv("DISPLAY", ":59999", 1);
            fw::RuntimeInit();
        },
        ::testing::ExitedWithCode(1), "^radixel: cannot open windows on this display \\([^\n]+\\)\n$");
    EXPECT_EXIT(
        {
            ::setenv("QT_QPA_PLATFORM", "no-such-platform", 1);
            fw::RuntimeInit();
        },
        ::testing::ExitedWithCode(1), "^radixel: cannot open windows on this display \\([^\n]+\\)\n$");
}

TEST(RuntimeDeathTest, ARunMakesAndTearsDownItsOwnQtApplication) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            int failures = 0;
            for (int round = 0; round < 2; ++round) {
                fw::RuntimeInit();
                failures += QCoreApplication::instance() == nullptr;
                fw::RunFrameworkInitialization(&QuittingStartup);
                fw::RuntimeRun();
                failures += fw::RuntimeExit() != 0;
                failures += QCoreApplication::instance() != nullptr;
            }
            std::exit(failures);
        },
        ::testing::ExitedWithCode(0), "opened\n(.|\n)*opened\n");
}

}  // namespace
