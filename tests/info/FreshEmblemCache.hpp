#pragma once

#include "TempBundle.hpp"

#include "info/Kettlewing128.hpp"

#include "framework/Picture.hpp"

#include <gtest/gtest.h>

// For tests that need the emblem not yet loaded. The cache lasts as long as the process, and
// ctest runs every test in a process of its own; run together in one process, a test that finds
// the emblem already loaded skips instead of failing. The bundle starts without a Resources
// folder, so probing the cache loads nothing.
class FreshEmblemCache : public testing::Test {
protected:
    void SetUp() override {
        if (radixel::x_Kettlewing128::Kettlewing128())
            GTEST_SKIP() << "the emblem was loaded earlier in this process; run this test on its own";
    }

    TempBundle bundle;
};
