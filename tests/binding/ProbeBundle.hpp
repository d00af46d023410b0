#pragma once
// Fixture bundles around the probe, a small program that starts the way Radixel does as far as
// the conversion call goes, and a way to run it that tells how it ended and never waits for it
// for ever.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace radixel::probe {

namespace fs = std::filesystem;

inline std::string slurp(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The line of that number, counted from 0, or empty.
inline std::string line(const std::string& text, int number) {
    std::istringstream in(text);
    std::string l;
    for (int i = 0; i <= number; ++i)
        if (!std::getline(in, l)) return {};
    return l;
}

inline long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

struct Outcome {
    std::string out, err;
    bool ended = false;  // false: still running at the time limit, and killed
    int status = 0;      // as waitpid gives it
    bool exitedNormally() const { return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0; }
    int signal() const { return ended && WIFSIGNALED(status) ? WTERMSIG(status) : 0; }
};

// A run of the probe longer than this is a hang: its trials are bounded at a few seconds each.
inline constexpr std::chrono::seconds kProbeTimeLimit{30};

// Runs the executable with the arguments, its output in files of the scratch folder. A sanitizer
// build of the probe lets fatal signals take their course, as the program's own build does, so
// that its end tells the signal; `sanitizerOptions` adds to what the sanitizer is told.
inline Outcome run(const fs::path& executable, const fs::path& scratch, const std::vector<std::string>& arguments = {},
                   std::chrono::seconds limit = kProbeTimeLimit, const std::string& sanitizerOptions = "") {
    const fs::path out = scratch / "out.txt", err = scratch / "err.txt";
    std::vector<std::string> settings;
    std::string sanitizer = "ASAN_OPTIONS=";
    for (char** e = environ; *e; ++e) {
        const std::string setting = *e;
        if (setting.starts_with(sanitizer)) sanitizer = setting + ":";
        else settings.push_back(setting);
    }
    settings.push_back(sanitizer + "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0" +
                       sanitizerOptions);
    std::vector<char*> env;
    for (std::string& s : settings) env.push_back(s.data());
    env.push_back(nullptr);
    std::vector<std::string> words = {executable.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, executable.c_str(), &files, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&files);
    Outcome outcome;
    EXPECT_EQ(spawned, 0) << executable;
    if (spawned != 0) return outcome;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!outcome.ended && std::chrono::steady_clock::now() < deadline) {
        outcome.ended = waitpid(child, &outcome.status, WNOHANG) == child;
        if (!outcome.ended) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!outcome.ended) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    outcome.out = slurp(out);
    outcome.err = slurp(err);
    return outcome;
}

// A bundle at the folder: the probe as bin/radixel with the trial helper beside it, Resources/,
// and the given modules in Plugins/ under the given names.
struct Module {
    fs::path file;
    std::string name;
};
inline void makeBundle(const fs::path& bundle, const std::vector<Module>& modules, bool withHelper = true) {
    fs::create_directories(bundle / "bin");
    fs::create_directories(bundle / "Resources");
    fs::copy_file(RADIXEL_TEST_PROBE, bundle / "bin" / "radixel");
    if (withHelper) fs::copy_file(RADIXEL_TEST_TRIAL_HELPER, bundle / "bin" / "radixel-plugin-trial");
    if (modules.empty()) return;
    fs::create_directories(bundle / "Plugins");
    for (const Module& m : modules) fs::copy_file(m.file, bundle / "Plugins" / m.name);
}

}  // namespace radixel::probe
