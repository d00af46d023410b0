#include "QtTestProgram.hpp"
#include "TestSupport.hpp"

#include "framework/Exceptions.hpp"
#include "framework/Timer.hpp"

#include <QCoreApplication>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace std::chrono_literals;

void RunLoopFor(std::chrono::milliseconds span) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < until) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

class TimerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qttest::Application(); }
};

TEST_F(TimerTest, RunsOnTheLoopAgainAndAgainUntilItGoes) {
    int runs = 0;
    auto timer = std::make_unique<fw::Timer>(1ms, 1ms, [&] { ++runs; });
    EXPECT_EQ(runs, 0) << "the action ran before the loop did";
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (runs < 3 && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    EXPECT_GE(runs, 3);
    timer.reset();
    const int atEnd = runs;
    RunLoopFor(50ms);
    EXPECT_EQ(runs, atEnd);
}

TEST_F(TimerTest, AnActionMayEndItsTimerAndOneThatRaisesIsReported) {
    int runs = 0;
    std::unique_ptr<fw::Timer> timer;
    timer = std::make_unique<fw::Timer>(1ms, 1ms, [&] {
        ++runs;
        timer.reset();
    });
    RunLoopFor(50ms);
    EXPECT_EQ(runs, 1);

    coretest::StderrCapture capture;
    int raised = 0;
    fw::Timer raising(1ms, 1h, [&] {
        ++raised;
        fw::RaiseNilObjectException();
    });
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (raised == 0 && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    EXPECT_EQ(raised, 1);
    EXPECT_NE(capture.Text().find("radixel: NilObjectException"), std::string::npos) << capture.Text();
}

}  // namespace
