#include "framework/Runtime.hpp"

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

// The windows need a GUI application; without a display, the offscreen platform serves, so that
// the tests can be listed and run anywhere.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fw::RuntimeInit();
    return RUN_ALL_TESTS();
}
