#include "framework/Window.hpp"

#include <QApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <malloc.h>

int main(int argc, char** argv) {
    // Large blocks are mapped on their own and given back when freed, never kept in the heap for
    // later: the tests that cut the address space count on what a command needs being mapped anew.
    mallopt(M_MMAP_THRESHOLD, 256 << 10);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    fw::CloseAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
