#pragma once
// A module tried by the bundle's trial helper before the program loads it (the helper and what
// it answers: PluginTrialProtocol.hpp).

#include <chrono>
#include <filesystem>
#include <string>

namespace fw {

struct PluginTrialOutcome {
    enum class Verdict {
        Passed,
        Refused,  // the helper says why the module cannot serve: it cannot be loaded, has no table...
        Died,     // the module crashed, aborted or hung, or ended the helper some other way
        Untried,  // the helper could not be started: nothing is known of the module
    };
    Verdict verdict = Verdict::Passed;
    // Why the module did not pass, in a few words for a report line.
    std::string fault;
};

// How long a trial may take. It loads one small module and makes one tiny call, which takes a few
// milliseconds, also with sanitizers or a cold file cache; a module that has not answered by then
// hangs.
inline constexpr std::chrono::milliseconds kPluginTrialTimeLimit{3000};

// Starts the helper on the module in a process of its own (posix_spawn: the program has threads
// by now, so it must not fork and go on in the child), collects its verdict, and ends it when it
// has given none within the limit.
PluginTrialOutcome TryPluginModule(const std::filesystem::path& helper, const std::filesystem::path& module,
                                   std::chrono::milliseconds limit = kPluginTrialTimeLimit);

}  // namespace fw
