// Work off the event loop: where it runs and where its result comes back, what starting anew,
// abandoning and ending the runtime do to a job, and the process's end while work still runs.

#include "MenuFixture.hpp"
#include "QtTestProgram.hpp"
#include "TestSupport.hpp"

#include "framework/BackgroundRunner.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Runtime.hpp"

#include <QCoreApplication>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Lets the loop run until the condition holds, for at most the limit; whether it came to hold.
bool RunLoopUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// Holds work until it is opened.
class Gate {
public:
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }
    // Waits until the gate opens or the token is stopped; true when it opened.
    bool Pass(const std::stop_token& token) {
        std::unique_lock lock(mutex_);
        while (!open_ && !token.stop_requested()) opened_.wait_for(lock, 1ms);
        return open_;
    }
    void Pass() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// What happened to one job.
struct Seen {
    std::atomic<bool> began{false};
    std::atomic<bool> ended{false};
    std::atomic<bool> tokenStopped{false};
    std::atomic<int> stopsAsked{0};
    std::optional<std::optional<int>> done;  // set on the loop
    std::thread::id workThread, doneThread;
};

// A job whose work runs until the gate opens and then answers the value; its stop answers
// whether it will stop, and when it says so the work also ends at its token.
void StartGated(fw::BackgroundRunner& runner, Seen& seen, Gate& gate, int value, bool canStop = false) {
    runner.Start<int>(
        [&seen, &gate, value, canStop](const std::stop_token& token) {
            seen.workThread = std::this_thread::get_id();
            seen.began = true;
            if (canStop) gate.Pass(token);
            else gate.Pass();
            seen.tokenStopped = token.stop_requested();
            seen.ended = true;
            return value;
        },
        [&seen](std::optional<int> result) {
            seen.doneThread = std::this_thread::get_id();
            seen.done = result;
        },
        [&seen, canStop] {
            ++seen.stopsAsked;
            return canStop;
        });
}

class BackgroundRunnerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qttest::Application(); }
    void TearDown() override {
        for (Gate* gate : {&first, &second, &third}) gate->Open();
        EXPECT_TRUE(fw::BackgroundRunner::WaitForAll(20s));
        QCoreApplication::processEvents();
    }
    Gate first, second, third;
};

TEST_F(BackgroundRunnerTest, WorkRunsOffTheLoopAndItsResultComesBackOnIt) {
    fw::BackgroundRunner runner;
    Seen seen;
    StartGated(runner, seen, first, 42);
    first.Open();
    EXPECT_TRUE(runner.Busy());
    ASSERT_TRUE(RunLoopUntil([&] { return seen.done.has_value(); }));
    EXPECT_EQ(*seen.done, std::optional<int>(42));
    EXPECT_NE(seen.workThread, std::this_thread::get_id());
    EXPECT_EQ(seen.doneThread, std::this_thread::get_id());
    EXPECT_FALSE(runner.Busy());
    EXPECT_EQ(seen.stopsAsked, 0);
}

TEST_F(BackgroundRunnerTest, StartingAnewAbandonsTheRunningJobAndRunsTheNewOneOnlyAfterIt) {
    fw::BackgroundRunner runner;
    Seen old, fresh;
    StartGated(runner, old, first, 1);
    ASSERT_TRUE(RunLoopUntil([&] { return old.began.load(); }));

    std::atomic<bool> oldHadEnded{false};
    runner.Start<int>(
        [&](const std::stop_token&) {
            oldHadEnded = old.ended.load();
            fresh.began = true;
            return 2;
        },
        [&](std::optional<int> result) { fresh.done = result; });
    EXPECT_EQ(old.stopsAsked, 1);
    EXPECT_TRUE(runner.Busy());
    EXPECT_FALSE(RunLoopUntil([&] { return fresh.began.load(); }, 100ms)) << "the new job ran beside the old";

    first.Open();
    ASSERT_TRUE(RunLoopUntil([&] { return fresh.done.has_value(); }));
    EXPECT_EQ(*fresh.done, std::optional<int>(2));
    EXPECT_TRUE(oldHadEnded);
    EXPECT_TRUE(old.tokenStopped);
    EXPECT_FALSE(old.done.has_value()) << "an abandoned job's result was handed back";
}

TEST_F(BackgroundRunnerTest, AJobAbandonedBeforeItsTurnNeverRunsAndIsNotAskedToStop) {
    fw::BackgroundRunner runner;
    Seen running, waiting, last;
    StartGated(runner, running, first, 1);
    ASSERT_TRUE(RunLoopUntil([&] { return running.began.load(); }));
    StartGated(runner, waiting, second, 2);
    StartGated(runner, last, third, 3);
    EXPECT_EQ(waiting.stopsAsked, 0);

    first.Open();
    third.Open();
    ASSERT_TRUE(RunLoopUntil([&] { return last.done.has_value(); }));
    EXPECT_EQ(*last.done, std::optional<int>(3));
    EXPECT_FALSE(waiting.began);
    EXPECT_FALSE(waiting.done.has_value());
    EXPECT_FALSE(running.done.has_value());
}

TEST_F(BackgroundRunnerTest, AbandonDropsTheResultAndAsksWorkThatRunsToStop) {
    fw::BackgroundRunner runner;
    runner.Abandon();
    EXPECT_FALSE(runner.Busy());

    for (bool canStop : {true, false}) {
        SCOPED_TRACE(canStop ? "work that stops" : "work that runs to its end");
        Seen seen;
        Gate gate;
        StartGated(runner, seen, gate, 7, canStop);
        ASSERT_TRUE(RunLoopUntil([&] { return seen.began.load(); }));
        runner.Abandon();
        EXPECT_FALSE(runner.Busy());
        EXPECT_EQ(seen.stopsAsked, 1);
        if (!canStop) gate.Open();
        ASSERT_TRUE(fw::BackgroundRunner::WaitForAll(20s));
        QCoreApplication::processEvents();
        EXPECT_TRUE(seen.tokenStopped);
        EXPECT_FALSE(seen.done.has_value());
    }
}

TEST_F(BackgroundRunnerTest, ARunnerThatGoesAbandonsItsJobWhichEndsWithoutIt) {
    Seen seen;
    {
        fw::BackgroundRunner runner;
        StartGated(runner, seen, first, 5);
        ASSERT_TRUE(RunLoopUntil([&] { return seen.began.load(); }));
    }
    EXPECT_EQ(seen.stopsAsked, 1);
    first.Open();
    ASSERT_TRUE(fw::BackgroundRunner::WaitForAll(20s));
    QCoreApplication::processEvents();
    EXPECT_TRUE(seen.ended);
    EXPECT_FALSE(seen.done.has_value());
}

TEST_F(BackgroundRunnerTest, AnExceptionLeavingTheWorkIsReportedAndItsCallerGetsNothing) {
    fw::BackgroundRunner runner;
    std::optional<std::optional<int>> done;
    runner.Start<int>([](const std::stop_token&) -> int { throw fw::RuntimeException("RuntimeException: it broke"); },
                      [&](std::optional<int> result) { done = result; });
    coretest::StderrCapture capture;
    ASSERT_TRUE(RunLoopUntil([&] { return done.has_value(); }));
    EXPECT_EQ(*done, std::nullopt);
    EXPECT_EQ(capture.Text(), "radixel: RuntimeException: it broke (the program goes on)\n");
    EXPECT_FALSE(runner.Busy());
}

TEST_F(BackgroundRunnerTest, EndingWaitsForWorkThatStopsButNotForWorkThatCannot) {
    fw::BackgroundRunner stoppable, unstoppable;
    Seen stops, runsOn;
    StartGated(stoppable, stops, first, 1, true);
    ASSERT_TRUE(RunLoopUntil([&] { return stops.began.load(); }));
    EXPECT_TRUE(fw::BackgroundRunner::EndAll(20s));
    EXPECT_TRUE(stops.ended);

    StartGated(unstoppable, runsOn, second, 2);
    ASSERT_TRUE(RunLoopUntil([&] { return runsOn.began.load(); }));
    const auto began = std::chrono::steady_clock::now();
    EXPECT_FALSE(fw::BackgroundRunner::EndAll(60s));
    EXPECT_LT(std::chrono::steady_clock::now() - began, 30s) << "it waited for work that cannot stop";
    EXPECT_EQ(runsOn.stopsAsked, 1);
    second.Open();
    EXPECT_TRUE(fw::BackgroundRunner::WaitForAll(20s));
    QCoreApplication::processEvents();
    EXPECT_FALSE(stops.done.has_value());
    EXPECT_FALSE(runsOn.done.has_value());
}

// Whole runs in a process of their own, quitting while a job runs: the run must end with the
// loop's status whether the job stops or not; only a process that returned from RuntimeExit
// gets to the status 42 after it.
Gate neverOpened;
bool jobStops = false;
std::atomic<bool> jobBegan{false};

void StartupWithWorkUnderWay() {
    static fw::BackgroundRunner runner;
    runner.Start<int>(
        [](const std::stop_token& token) {
            jobBegan = true;
            if (jobStops) neverOpened.Pass(token);
            else neverOpened.Pass();
            return 0;
        },
        [](std::optional<int>) {}, [] { return jobStops; });
    auto app = coretest::RegisterRecordingApp();
    // Quit once the work runs: a job abandoned before its turn never runs at all.
    app->onOpen = [] {
        while (!jobBegan) std::this_thread::sleep_for(1ms);
        fw::QuitMenuAction();
    };
}

[[noreturn]] void QuitWhileWorking(bool stops) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    jobStops = stops;
    fw::RuntimeInit();
    fw::RunFrameworkInitialization(&StartupWithWorkUnderWay);
    fw::RuntimeRun();
    const int status = fw::RuntimeExit();
    std::exit(status == 0 ? 42 : 43);
}

TEST(BackgroundRunnerDeathTest, QuitEndsTheRunWithTheLoopsStatusWhileWorkRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(QuitWhileWorking(true), ::testing::ExitedWithCode(42), "");
    EXPECT_EXIT(QuitWhileWorking(false), ::testing::ExitedWithCode(0), "");
}

}  // namespace
