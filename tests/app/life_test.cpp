// The program's whole life in a process of its own: Main runs start-up and the event loop, the
// module exits run, and the runtime's result is the exit status.

#include "Support.hpp"

#include "menubar/MenuBar1.hpp"
#include "app/Module.hpp"
#include "app/Startup.hpp"
#include "framework/Runtime.hpp"

#include <gtest/gtest.h>

#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace radixel {
namespace {

using testing::IsShown;
using testing::OpenWindow;

[[noreturn]] void LiveAndQuitOnceOpen() {
    // Two hops: the first is queued before the loop posts Open, the second after it, so the
    // quit comes once Open has run.
    QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { fw::QuitMenuAction(); }); });
    Main();

    const char* failed = nullptr;
    if (!IsShown(OpenWindow(testing::kConversionWindow))) failed = "the conversion window is not shown";
    else if (!OpenWindow(testing::kHelpWindow) || IsShown(OpenWindow(testing::kHelpWindow)))
        failed = "help window not built hidden";
    else if (!OpenWindow(testing::kAboutWindow) || IsShown(OpenWindow(testing::kAboutWindow)))
        failed = "About window not built hidden";
    FinalizeModule();
    if (!failed && MenuBar1::_implicitInstance) failed = "the shared menu bar outlived the module exits";
    const int status = fw::RuntimeExit();
    if (failed) {
        std::fprintf(stderr, "life check failed: %s\n", failed);
        std::exit(3);
    }
    std::exit(status);
}

TEST(ProgramLife, RunsFromStartUpThroughTheLoopToTheRuntimesExitStatus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LiveAndQuitOnceOpen(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace radixel
