#include "MemoryBudget.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace radixel::engine {

namespace {

constexpr double kKibibyte = 1024;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

std::optional<double> numberAt(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

std::string contentsOf(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::optional<MemoryRoom> roomUnder(int resource, double used) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    return MemoryRoom{static_cast<double>(limit.rlim_cur), used};
}

}  // namespace

double usableBytes(const MemoryFigures& figures) {
    double usable = std::numeric_limits<double>::infinity();
    if (figures.available) {
        usable = *figures.available;
    }
    for (const std::optional<MemoryRoom>& room : {figures.addressSpace, figures.data, figures.controlGroup}) {
        if (room) {
            usable = std::min(usable, room->limit - room->used);
        }
    }
    usable = std::max(0.0, usable);
    return usable - std::min(kReservedBytes, usable * kReservedShare);
}

std::optional<double> memAvailableOf(std::string_view meminfo) {
    constexpr std::string_view kKey = "MemAvailable:";
    std::size_t at = meminfo.find(kKey);
    if (at == std::string_view::npos || (at > 0 && meminfo[at - 1] != '\n')) {
        return std::nullopt;
    }
    std::string_view rest = meminfo.substr(at + kKey.size());
    rest = trimmed(rest.substr(0, rest.find('\n')));
    const auto digits = std::min(rest.size(), rest.find_first_not_of("0123456789"));
    const std::optional<double> kibibytes = numberAt(rest.substr(0, digits));
    if (!kibibytes || trimmed(rest.substr(digits)) != "kB") {
        return std::nullopt;
    }
    return *kibibytes * kKibibyte;
}

std::optional<ProcessSize> processSizeOf(std::string_view statm, double pageBytes) {
    // size resident shared text lib data dt, in pages.
    constexpr int kDataField = 5;
    std::optional<double> fields[kDataField + 1];
    for (int i = 0; i <= kDataField; ++i) {
        statm = statm.substr(std::min(statm.size(), statm.find_first_not_of(' ')));
        fields[i] = numberAt(statm);
        if (!fields[i]) {
            return std::nullopt;
        }
        statm = statm.substr(std::min(statm.size(), statm.find(' ')));
    }
    return ProcessSize{*fields[0] * pageBytes, *fields[kDataField] * pageBytes};
}

std::optional<double> controlGroupLimitOf(std::string_view text) { return numberAt(trimmed(text)); }

std::optional<MemoryRoom> tighter(const std::optional<MemoryRoom>& a, const std::optional<MemoryRoom>& b) {
    if (!a || !b) {
        return a ? a : b;
    }
    return b->limit - b->used < a->limit - a->used ? b : a;
}

std::optional<double> memoryStatValueOf(std::string_view memoryStat, std::string_view key) {
    while (!memoryStat.empty()) {
        std::string_view line = memoryStat.substr(0, memoryStat.find('\n'));
        memoryStat.remove_prefix(std::min(memoryStat.size(), line.size() + 1));
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == ' ') {
            line = trimmed(line.substr(key.size()));
            const std::optional<double> value = numberAt(line);
            return line.find_first_not_of("0123456789") == std::string_view::npos ? value : std::nullopt;
        }
    }
    return std::nullopt;
}

// A group's limit binds its descendants too, so the tightest room on the way
// up to the hierarchy's root is the one that counts.
std::optional<MemoryRoom> controlGroupRoomOf(const ControlGroupFiles& files, std::string_view path,
                                             const std::function<std::string(const std::string&)>& read) {
    std::optional<MemoryRoom> tightest;
    std::string group(trimmed(path));
    for (;;) {
        const std::string folder = files.root + group;
        std::optional<double> limit = controlGroupLimitOf(read(folder + "/" + files.limit));
        std::string stat;
        if (limit || files.hierarchicalLimit) {
            stat = read(folder + "/memory.stat");
        }
        if (files.hierarchicalLimit) {
            if (const std::optional<double> above = memoryStatValueOf(stat, files.hierarchicalLimit)) {
                limit = std::min(limit.value_or(*above), *above);
            }
        }
        if (limit) {
            const double usage = numberAt(trimmed(read(folder + "/" + files.usage))).value_or(0);
            const double reclaimable = memoryStatValueOf(stat, files.reclaimable).value_or(0);
            tightest = tighter(tightest, MemoryRoom{*limit, std::max(0.0, usage - reclaimable)});
        }
        const auto slash = group.find_last_of('/');
        if (group.empty() || slash == std::string::npos) {
            return tightest;
        }
        group.erase(slash);
    }
}

ControlGroupPaths controlGroupPathsOf(std::string_view procSelfCgroup) {
    ControlGroupPaths paths;
    while (!procSelfCgroup.empty()) {
        const std::string_view line = procSelfCgroup.substr(0, procSelfCgroup.find('\n'));
        procSelfCgroup.remove_prefix(std::min(procSelfCgroup.size(), line.size() + 1));
        // hierarchy-ID:controller-list:path
        const auto first = line.find(':');
        const auto second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos) {
            continue;
        }
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string_view path = line.substr(second + 1);
        if (line.substr(0, first) == "0" && controllers.empty()) {
            paths.unified = path;
        }
        for (std::string_view rest = controllers; !rest.empty();) {
            const std::string_view controller = rest.substr(0, rest.find(','));
            rest.remove_prefix(std::min(rest.size(), controller.size() + 1));
            if (controller == "memory") {
                paths.memory = path;
            }
        }
    }
    return paths;
}

MemoryFigures readMemoryFigures() {
    MemoryFigures figures;
    figures.available = memAvailableOf(contentsOf("/proc/meminfo"));
    const auto pageBytes = static_cast<double>(sysconf(_SC_PAGESIZE));
    const ProcessSize size = processSizeOf(contentsOf("/proc/self/statm"), pageBytes).value_or(ProcessSize{});
    figures.addressSpace = roomUnder(RLIMIT_AS, size.mapped);
    figures.data = roomUnder(RLIMIT_DATA, size.data);

    const std::string cgroups = contentsOf("/proc/self/cgroup");
    const ControlGroupPaths paths = controlGroupPathsOf(cgroups);
    std::optional<MemoryRoom> unified;
    std::optional<MemoryRoom> memory;
    if (paths.unified) {
        unified = controlGroupRoomOf(kUnifiedControlGroup, *paths.unified, contentsOf);
    }
    if (paths.memory) {
        memory = controlGroupRoomOf(kMemoryControllerGroup, *paths.memory, contentsOf);
    }
    figures.controlGroup = tighter(unified, memory);
    return figures;
}

}  // namespace radixel::engine
