#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ConvertWithin.hpp"
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

TEST(MemoryBudget, TheTighterRoomIsTheOneWithLessLeft) {
    const MemoryRoom roomy{4096 * kMebibyte, 1024 * kMebibyte};       // 3 GiB left
    const MemoryRoom smallButFree{1024 * kMebibyte, 0};               // 1 GiB left
    const MemoryRoom bigButFull{8192 * kMebibyte, 7680 * kMebibyte};  // 512 MiB left
    struct Case {
        const char* name;
        std::optional<MemoryRoom> a, b, tighter;
    };
    const std::vector<Case> cases = {
        {"neither known", {}, {}, {}},
        {"only the first known", roomy, {}, roomy},
        {"only the second known", {}, roomy, roomy},
        {"the smaller limit with more left loses", smallButFree, bigButFull, bigButFull},
        {"the same, the other way round", bigButFull, smallButFree, bigButFull},
        {"as much left: the first", MemoryRoom{2048 * kMebibyte, 1024 * kMebibyte}, smallButFree,
         MemoryRoom{2048 * kMebibyte, 1024 * kMebibyte}},
    };
    for (const Case& c : cases) {
        const std::optional<MemoryRoom> result = tighter(c.a, c.b);
        ASSERT_EQ(result.has_value(), c.tighter.has_value()) << c.name;
        if (result) {
            EXPECT_EQ(result->limit, c.tighter->limit) << c.name;
            EXPECT_EQ(result->used, c.tighter->used) << c.name;
        }
    }
}

// A group of 768 MiB whose processes use 100 MiB, and whose 650 MiB of page
// cache from files read earlier is inactive, in both versions' memory.stat.
const std::string kUnifiedStat =
    "anon 104857600\n"
    "file 681574400\n"
    "kernel 4194304\n"
    "shmem 0\n"
    "file_mapped 10485760\n"
    "inactive_anon 104857600\n"
    "active_anon 0\n"
    "inactive_file 681574400\n"
    "active_file 0\n"
    "slab_reclaimable 1048576\n";
const std::string kMemoryControllerStat =
    "cache 681574400\n"
    "rss 104857600\n"
    "inactive_anon 0\n"
    "active_anon 104857600\n"
    "inactive_file 4096\n"
    "active_file 0\n"
    "hierarchical_memory_limit 805306368\n"
    "hierarchical_memsw_limit 9223372036854771712\n"
    "total_cache 681574400\n"
    "total_rss 104857600\n"
    "total_inactive_file 681574400\n"
    "total_active_file 0\n";

TEST(MemoryBudget, MemoryStatFiguresAreReadByTheirWholeKey) {
    EXPECT_EQ(memoryStatValueOf(kUnifiedStat, "inactive_file"), 681574400.0);
    EXPECT_EQ(memoryStatValueOf(kUnifiedStat, "anon"), 104857600.0);
    EXPECT_EQ(memoryStatValueOf(kMemoryControllerStat, "inactive_file"), 4096.0);
    EXPECT_EQ(memoryStatValueOf(kMemoryControllerStat, "total_inactive_file"), 681574400.0);
    EXPECT_EQ(memoryStatValueOf(kMemoryControllerStat, "hierarchical_memsw_limit"), 9223372036854771712.0);
    // A key is not found inside another, nor as the start of a longer one.
    EXPECT_EQ(memoryStatValueOf(kUnifiedStat, "file_mapped"), 10485760.0);
    EXPECT_EQ(memoryStatValueOf("total_inactive_file 5\n", "inactive_file"), std::nullopt);
    EXPECT_EQ(memoryStatValueOf("inactive_files 5\n", "inactive_file"), std::nullopt);
    EXPECT_EQ(memoryStatValueOf(kUnifiedStat, "total_inactive_file"), std::nullopt);
    EXPECT_EQ(memoryStatValueOf("inactive_file lots\n", "inactive_file"), std::nullopt);
    EXPECT_EQ(memoryStatValueOf("inactive_file 12kB\n", "inactive_file"), std::nullopt);
    EXPECT_EQ(memoryStatValueOf("inactive_file 12", "inactive_file"), 12.0);
    EXPECT_EQ(memoryStatValueOf("", "inactive_file"), std::nullopt);
}

// Control group folders as sample texts by path; any other file is not there.
struct SampleFiles {
    SampleFiles(std::map<std::string, std::string> files) : texts(std::move(files)) {}
    std::map<std::string, std::string> texts;
    // The paths asked for, in order.
    mutable std::vector<std::string> read;
    std::function<std::string(const std::string&)> reader() const {
        return [this](const std::string& path) {
            read.push_back(path);
            const auto found = texts.find(path);
            return found == texts.end() ? std::string() : found->second;
        };
    }
};

void expectRoom(const std::optional<MemoryRoom>& room, const std::optional<MemoryRoom>& expected,
                const std::string& name) {
    ASSERT_EQ(room.has_value(), expected.has_value()) << name;
    if (room) {
        EXPECT_EQ(room->limit, expected->limit) << name;
        EXPECT_EQ(room->used, expected->used) << name;
    }
}

TEST(MemoryBudget, AControlGroupsReclaimablePageCacheDoesNotCountAsUsed) {
    const MemoryRoom fitting{768 * kMebibyte, 100 * kMebibyte};
    const SampleFiles unified{{
        {"/sys/fs/cgroup/app.slice/radixel.scope/memory.max", "805306368\n"},
        {"/sys/fs/cgroup/app.slice/radixel.scope/memory.current", "786432000\n"},
        {"/sys/fs/cgroup/app.slice/radixel.scope/memory.stat", kUnifiedStat},
    }};
    expectRoom(controlGroupRoomOf(kUnifiedControlGroup, "/app.slice/radixel.scope", unified.reader()), fitting,
               "unified hierarchy");

    const SampleFiles memoryController{{
        {"/sys/fs/cgroup/memory/box/memory.limit_in_bytes", "805306368\n"},
        {"/sys/fs/cgroup/memory/box/memory.usage_in_bytes", "786432000\n"},
        {"/sys/fs/cgroup/memory/box/memory.stat", kMemoryControllerStat},
    }};
    expectRoom(controlGroupRoomOf(kMemoryControllerGroup, "/box", memoryController.reader()), fitting,
               "version 1 memory controller");

    // Usage and cache are read at different moments, and the cache may have grown in between.
    const SampleFiles racing{{
        {"/sys/fs/cgroup/a/memory.max", "1000\n"},
        {"/sys/fs/cgroup/a/memory.current", "500\n"},
        {"/sys/fs/cgroup/a/memory.stat", "inactive_file 600\n"},
    }};
    expectRoom(controlGroupRoomOf(kUnifiedControlGroup, "/a", racing.reader()), MemoryRoom{1000, 0},
               "more cache than usage");
    const SampleFiles withoutStat{{
        {"/sys/fs/cgroup/a/memory.max", "1000\n"},
        {"/sys/fs/cgroup/a/memory.current", "500\n"},
    }};
    expectRoom(controlGroupRoomOf(kUnifiedControlGroup, "/a", withoutStat.reader()), MemoryRoom{1000, 500},
               "no memory.stat");
}

TEST(MemoryBudget, TheTightestGroupOnTheWayUpToTheRootBinds) {
    struct Case {
        const char* name;
        const ControlGroupFiles& files;
        std::string path;
        SampleFiles folders;
        std::optional<MemoryRoom> room;
    };
    const std::vector<Case> cases = {
        {"the parent has less left than the group",
         kUnifiedControlGroup,
         "/user.slice/app.scope",
         {{
             {"/sys/fs/cgroup/user.slice/app.scope/memory.max", "805306368\n"},
             {"/sys/fs/cgroup/user.slice/app.scope/memory.current", "786432000\n"},
             {"/sys/fs/cgroup/user.slice/app.scope/memory.stat", kUnifiedStat},
             {"/sys/fs/cgroup/user.slice/memory.max", "1073741824\n"},
             {"/sys/fs/cgroup/user.slice/memory.current", "1048576000\n"},
             {"/sys/fs/cgroup/user.slice/memory.stat", "inactive_file 0\n"},
         }},
         MemoryRoom{1024 * kMebibyte, 1000 * kMebibyte}},
        {"an unlimited group between two limited ones",
         kUnifiedControlGroup,
         "/a/b/c",
         {{
             {"/sys/fs/cgroup/a/b/c/memory.max", "3000\n"},
             {"/sys/fs/cgroup/a/b/c/memory.current", "1000\n"},
             {"/sys/fs/cgroup/a/b/memory.max", "max\n"},
             {"/sys/fs/cgroup/a/b/memory.current", "10\n"},
             {"/sys/fs/cgroup/a/memory.max", "1500\n"},
             {"/sys/fs/cgroup/a/memory.current", "1200\n"},
             {"/sys/fs/cgroup/a/memory.stat", "inactive_file 100\n"},
         }},
         MemoryRoom{1500, 1100}},
        {"no group limited", kUnifiedControlGroup, "/a/b", {{{"/sys/fs/cgroup/a/b/memory.max", "max\n"}}}, {}},
        // A container sees its own group as the root of the hierarchy, and the
        // path in /proc/self/cgroup leads nowhere; the kernel's figure for the
        // limits above it still binds.
        {"a container's own group, limited from above",
         kMemoryControllerGroup,
         "/docker/4f1c",
         {{
             {"/sys/fs/cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n"},
             {"/sys/fs/cgroup/memory/memory.usage_in_bytes", "786432000\n"},
             {"/sys/fs/cgroup/memory/memory.stat", kMemoryControllerStat},
         }},
         MemoryRoom{768 * kMebibyte, 100 * kMebibyte}},
        {"a version 1 group under a tighter limit than its own",
         kMemoryControllerGroup,
         "/box",
         {{
             {"/sys/fs/cgroup/memory/box/memory.limit_in_bytes", "2000\n"},
             {"/sys/fs/cgroup/memory/box/memory.usage_in_bytes", "700\n"},
             {"/sys/fs/cgroup/memory/box/memory.stat", "hierarchical_memory_limit 1000\ntotal_inactive_file 200\n"},
         }},
         MemoryRoom{1000, 500}},
    };
    for (const Case& c : cases) {
        expectRoom(controlGroupRoomOf(c.files, c.path, c.folders.reader()), c.room, c.name);
        // The walk goes all the way to the root of the hierarchy, and no further.
        const std::string root = std::string(c.files.root) + "/";
        const std::vector<std::string>& read = c.folders.read;
        EXPECT_NE(std::find(read.begin(), read.end(), root + c.files.limit), read.end()) << c.name;
        for (const std::string& path : read) EXPECT_TRUE(path.starts_with(root)) << c.name << ": " << path;
    }
}

// Reported as a new user met it: "1/3" to 20,000,000 binary places refused in
// a group of 768 MiB that held 650 MiB of page cache, although it fits.
TEST(MemoryBudget, WorkThatFitsBesideReclaimableCacheIsNotRefused) {
    const SampleFiles group{{
        {"/sys/fs/cgroup/app.scope/memory.max", "805306368\n"},
        {"/sys/fs/cgroup/app.scope/memory.current", "786432000\n"},
        {"/sys/fs/cgroup/app.scope/memory.stat", kUnifiedStat},
    }};
    MemoryFigures figures{8192 * kMebibyte, {}, {}, {}};
    figures.controlGroup = controlGroupRoomOf(kUnifiedControlGroup, "/app.scope", group.reader());
    const std::string result = convertWithin("1/3", 2, 10, 20'000'000, true, usableBytes(figures));
    EXPECT_EQ(result.substr(0, 10), "0.01010101") << result.substr(0, 200);
    EXPECT_EQ(result.size(), 20'000'002u);

    // Counted as used, the cache would leave too little: the case is as tight as the report's.
    figures.controlGroup = MemoryRoom{768 * kMebibyte, 750 * kMebibyte};
    const std::string refused = convertWithin("1/3", 2, 10, 20'000'000, true, usableBytes(figures));
    EXPECT_EQ(refused.substr(0, 10), "Too large:") << refused.substr(0, 200);
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
