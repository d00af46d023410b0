#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "MemoryBudget.hpp"

namespace radixel::engine {
namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();

// The tightest figure wins, less the reserve or, where the room is small, a share of
// it; a limit not set bounds nothing.
TEST(MemoryBudget, TheTightestFigureBoundsTheWork) {
    struct Case {
        const char* name;
        MemoryFigures figures;
        double usable;
    };
    const std::vector<Case> cases = {
        {"nothing known", {}, kUnbounded},
        {"free memory only", {8192 * kMebibyte, {}, {}, {}}, 8128 * kMebibyte},
        {"address space less what is mapped",
         {8192 * kMebibyte, MemoryRoom{600 * kMebibyte, 200 * kMebibyte}, {}, {}},
         336 * kMebibyte},
        {"data limit less the data in use",
         {8192 * kMebibyte, {}, MemoryRoom{1024 * kMebibyte, 24 * kMebibyte}, {}},
         936 * kMebibyte},
        {"control group less its usage",
         {8192 * kMebibyte, {}, {}, MemoryRoom{2048 * kMebibyte, 1024 * kMebibyte}},
         960 * kMebibyte},
        {"free memory below every limit",
         {500 * kMebibyte, MemoryRoom{8192 * kMebibyte, 0}, MemoryRoom{8192 * kMebibyte, 0},
          MemoryRoom{8192 * kMebibyte, 0}},
         436 * kMebibyte},
        {"a limit already used up", {8192 * kMebibyte, MemoryRoom{600 * kMebibyte, 700 * kMebibyte}, {}, {}}, 0},
        {"a room under four times the reserve keeps a quarter",
         {8192 * kMebibyte, MemoryRoom{600000 * 1024.0, 538640 * 1024.0}, {}, {}},
         61360 * 1024.0 * 3 / 4},
        {"nothing free", {0, {}, {}, {}}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(usableBytes(c.figures), c.usable) << c.name;
    }
}

TEST(MemoryBudget, FreeMemoryIsReadFromMeminfo) {
    const std::string meminfo =
        "MemTotal:       24682296 kB\n"
        "MemFree:         1234567 kB\n"
        "MemAvailable:   22628588 kB\n"
        "Buffers:          123456 kB\n";
    EXPECT_EQ(memAvailableOf(meminfo), 22628588.0 * 1024);
    EXPECT_EQ(memAvailableOf("MemAvailable: 7 kB"), 7.0 * 1024);
    // Kernels before 3.14 have no such line; a garbled one bounds nothing either.
    EXPECT_EQ(memAvailableOf("MemTotal: 1 kB\nMemFree: 1 kB\n"), std::nullopt);
    EXPECT_EQ(memAvailableOf("MemAvailable: lots kB\n"), std::nullopt);
    EXPECT_EQ(memAvailableOf("MemAvailable: 12\n"), std::nullopt);
    EXPECT_EQ(memAvailableOf("XMemAvailable: 12 kB\n"), std::nullopt);
    EXPECT_EQ(memAvailableOf(""), std::nullopt);
}

TEST(MemoryBudget, ProcessSizeIsReadFromStatm) {
    const std::optional<ProcessSize> size = processSizeOf("765 437 409 5 0 123 0\n", 4096);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->mapped, 765.0 * 4096);
    EXPECT_EQ(size->data, 123.0 * 4096);
    EXPECT_FALSE(processSizeOf("765 437 409", 4096));
    EXPECT_FALSE(processSizeOf("", 4096));
}

TEST(MemoryBudget, ControlGroupLimitsAreReadInBothVersions) {
    EXPECT_EQ(controlGroupLimitOf("max\n"), std::nullopt);
    EXPECT_EQ(controlGroupLimitOf("536870912\n"), 536870912.0);
    EXPECT_EQ(controlGroupLimitOf(""), std::nullopt);

    const ControlGroupPaths unified = controlGroupPathsOf("0::/user.slice/user-1000.slice/session-2.scope\n");
    EXPECT_EQ(unified.unified, "/user.slice/user-1000.slice/session-2.scope");
    EXPECT_EQ(unified.memory, std::nullopt);

    const ControlGroupPaths hybrid = controlGroupPathsOf(
        "9:name=systemd:/\n"
        "5:devices:/\n"
        "4:memory:/process_api/99c4\n"
        "2:cpu,cpuacct:/\n"
        "0::/\n");
    EXPECT_EQ(hybrid.unified, "/");
    EXPECT_EQ(hybrid.memory, "/process_api/99c4");

    EXPECT_EQ(controlGroupPathsOf("3:cpu,memory,blkio:/box").memory, "/box");
    EXPECT_EQ(controlGroupPathsOf("garbage").unified, std::nullopt);
}

// The figures of the process running this test are there and make sense.
TEST(MemoryBudget, ThisProcessHasFigures) {
    const MemoryFigures figures = readMemoryFigures();
    ASSERT_TRUE(figures.available);
    EXPECT_GT(*figures.available, 0);
    const double usable = usableBytes(figures);
    EXPECT_GE(usable, 0);
    EXPECT_LE(usable, *figures.available);
}

}  // namespace
}  // namespace radixel::engine
