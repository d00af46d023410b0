#pragma once

#include "FreshEmblemCache.hpp"
#include "TempBundle.hpp"

#include "framework/Window.hpp"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Closes whatever information window a test left open, so that the next test builds its own.
inline void CloseInfoWindows() {
    for (const char* name : {"AboutWindow.AboutWindow", "HelpWindow.HelpWindow"}) {
        if (auto window = fw::GetImplicitWindow(name)) window->Close();
        EXPECT_FALSE(fw::GetImplicitWindow(name)) << name << " is still open after Close";
    }
    QCoreApplication::processEvents();
}

// Windows over a bundle that holds the emblem.
class InfoWindows : public testing::Test {
protected:
    void SetUp() override { bundle.putEmblem(); }
    void TearDown() override { CloseInfoWindows(); }

    TempBundle bundle;
};

// Windows over a bundle without Resources, in a process that has not loaded the emblem.
class InfoWindowsWithoutEmblem : public FreshEmblemCache {
protected:
    void TearDown() override { CloseInfoWindows(); }
};
