#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How much memory a conversion may take: the least of what the machine has
// free and what each limit on the process still leaves, less a reserve for the
// rest of the program. Read afresh when a conversion starts, since both change
// while the program runs; reading costs a few small files under /proc and /sys.
namespace radixel::engine {

// A limit and what already counts against it, in bytes.
struct MemoryRoom {
    double limit = 0;
    double used = 0;
};

// Every figure is optional: a limit that is not set, or a file that cannot be
// read, bounds nothing.
struct MemoryFigures {
    // MemAvailable: what the kernel can hand out without swapping.
    std::optional<double> available;
    // RLIMIT_AS against the process's mapped size.
    std::optional<MemoryRoom> addressSpace;
    // RLIMIT_DATA against its private writable mappings.
    std::optional<MemoryRoom> data;
    // The tightest memory limit of the process's control group and its ancestors,
    // against what they use apart from reclaimable page cache.
    std::optional<MemoryRoom> controlGroup;
};

// What the rest of the program keeps while a conversion runs: its windows, the
// panes' texts and the allocator's own overhead. Where the room is small (a
// desktop program maps half a gigabyte of address space before it converts
// anything) a share of it is kept instead, so that small work still runs.
inline constexpr double kReservedBytes = 64.0 * 1024 * 1024;
inline constexpr double kReservedShare = 1.0 / 4;

// The bytes a conversion may use with these figures; unbounded when none is known.
double usableBytes(const MemoryFigures& figures);

// The figures of this process, now.
MemoryFigures readMemoryFigures();

// The readers of the files behind the figures, apart so that they can be tried
// on text of every form the kernel writes.

// MemAvailable from /proc/meminfo, in bytes.
std::optional<double> memAvailableOf(std::string_view meminfo);

// The mapped size and the data size from /proc/self/statm, in bytes.
struct ProcessSize {
    double mapped = 0;
    double data = 0;
};
std::optional<ProcessSize> processSizeOf(std::string_view statm, double pageBytes);

// A control group's limit file ("max" or a number of bytes); nothing when unlimited.
std::optional<double> controlGroupLimitOf(std::string_view text);

// The process's control group paths from /proc/self/cgroup: the unified
// hierarchy's ("0::/path") and the version 1 memory controller's ("N:memory:/path").
struct ControlGroupPaths {
    std::optional<std::string_view> unified;
    std::optional<std::string_view> memory;
};
ControlGroupPaths controlGroupPathsOf(std::string_view procSelfCgroup);

// A figure of a control group's memory.stat ("key value" lines), in bytes.
std::optional<double> memoryStatValueOf(std::string_view memoryStat, std::string_view key);

// The files of one kind of control group, under the root where its hierarchy is
// mounted. A group's usage counts the page cache that its processes read and
// wrote, and the part of it that is inactive the kernel takes back before it
// would refuse the group memory; so that part is left out of what is used.
struct ControlGroupFiles {
    const char* root;
    const char* limit;
    const char* usage;
    // The memory.stat figure of reclaimable page cache, the group's own with its
    // descendants'.
    const char* reclaimable;
    // The memory.stat figure of the tightest limit over the group and all its
    // parents, as the kernel reckons it (version 1 only): in a container the
    // parents' folders are not there to be read, but their limits still bind.
    const char* hierarchicalLimit;
};
inline constexpr ControlGroupFiles kUnifiedControlGroup = {"/sys/fs/cgroup", "memory.max", "memory.current",
                                                           "inactive_file", nullptr};
inline constexpr ControlGroupFiles kMemoryControllerGroup = {"/sys/fs/cgroup/memory", "memory.limit_in_bytes",
                                                             "memory.usage_in_bytes", "total_inactive_file",
                                                             "hierarchical_memory_limit"};

// The tightest room of the group at this path and its parents up to the root;
// nothing when none of them has a limit. read gives a file's text by its path,
// or an empty text when there is no such file.
std::optional<MemoryRoom> controlGroupRoomOf(const ControlGroupFiles& files, std::string_view path,
                                             const std::function<std::string(const std::string&)>& read);

// Of two rooms, either of which may be unknown, the one with less left; the
// first when both have as much.
std::optional<MemoryRoom> tighter(const std::optional<MemoryRoom>& a, const std::optional<MemoryRoom>& b);

}  // namespace radixel::engine
