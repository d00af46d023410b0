// The conversion window's tests run against the real conversion component, loaded from the
// build's plug-in folder as the program loads it.

#include "menubar/MenuBar1.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/BackgroundRunner.hpp"
#include "framework/Plugins.hpp"
#include "framework/Window.hpp"

#include <QApplication>

#include <gtest/gtest.h>

#include <chrono>

int main(int argc, char** argv) {
    // Listing the tests happens without the test environment, and there is no desktop here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    fw::SetPluginFolder(RADIXEL_BUNDLE_PLUGINS);
    fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints);

    const int status = RUN_ALL_TESTS();

    // The bar's Qt objects must go while the application object still stands, and no
    // conversion may still run in a component when the process ends.
    if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
    QApplication::processEvents();
    fw::BackgroundRunner::WaitForAll(std::chrono::minutes(1));
    radixel::MenuBar1::ExitImplicitInstance();
    return status;
}
