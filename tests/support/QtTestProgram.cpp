#include "QtTestProgram.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace qttest {

namespace {

// QApplication keeps references to both for its whole life; main names the program.
int applicationArgc = 1;
std::string programName = "qt_tests";
char* applicationArgv[] = {nullptr, nullptr};

// Destroyed by main, never at the process's exit: a death test's child leaves through exit(),
// and Qt cannot be taken down among the static objects.
QApplication* madeApplication = nullptr;

class ProgramEnvironment : public ::testing::Environment {
public:
    ProgramEnvironment(std::function<void()> start, std::function<void()> end)
        : start_(std::move(start)), end_(std::move(end)) {}

    void SetUp() override {
        Application();
        if (start_) start_();
    }
    void TearDown() override {
        if (end_) end_();
    }

private:
    std::function<void()> start_;
    std::function<void()> end_;
};

}  // namespace

QApplication& Application() {
    if (!madeApplication) {
        applicationArgv[0] = programName.data();
        madeApplication = new QApplication(applicationArgc, applicationArgv);
    }
    return *madeApplication;
}

ProgramSetup::ProgramSetup(std::function<void()> start, std::function<void()> end) {
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment(std::move(start), std::move(end)));
}

}  // namespace qttest

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 0 && argv[0]) qttest::programName = argv[0];
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // Objects handed to the event loop for deletion go while Qt still stands.
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete qttest::madeApplication;
    return status;
}
