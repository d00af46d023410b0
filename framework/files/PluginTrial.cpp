#include "PluginTrial.hpp"

#include "framework/PluginTrialProtocol.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

extern char** environ;

namespace fw {

namespace {

using Clock = std::chrono::steady_clock;

// What the helper writes is kept up to this size: its verdict is its last line, and a module that
// writes on and on must not fill the program's memory.
constexpr std::size_t kKeptOutput = 16 * 1024;
// A line of the helper's output quoted in a report is cut to this length.
constexpr std::size_t kQuotedLine = 200;

std::string quoted(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    std::string text(line.substr(0, kQuotedLine));
    if (line.size() > kQuotedLine) text += "...";
    return text;
}

// The last line that is not empty, or the first, of the helper's output.
std::string_view lastLine(std::string_view output) {
    while (!output.empty() && output.back() == '\n') output.remove_suffix(1);
    const auto start = output.rfind('\n');
    return start == std::string_view::npos ? output : output.substr(start + 1);
}
std::string_view firstLine(std::string_view output) {
    output.remove_prefix(std::min(output.size(), output.find_first_not_of('\n')));
    return output.substr(0, output.find('\n'));
}

// A pipe whose ends no other child of the program inherits.
struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) == 0) read = fds[0], write = fds[1];
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read >= 0) close(read);
        read = -1;
    }
    void closeWrite() {
        if (write >= 0) close(write);
        write = -1;
    }
};

// Starts the helper with the module as its one argument: no input, its output thrown away, its
// standard error into the pipe, no other descriptor of the program, and every signal at its
// default, whatever the program has set up for itself.
int spawnHelper(pid_t& child, const std::filesystem::path& helper, const std::filesystem::path& module,
                const Pipe& errors) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files, errors.write, STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string helperPath = helper.string(), modulePath = module.string();
    char* argv[] = {helperPath.data(), modulePath.data(), nullptr};
    const int error = posix_spawn(&child, helperPath.c_str(), &files, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    return error;
}

// Reads what is there without blocking; false at the end of the pipe.
bool drain(int fd, std::string& output) {
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got > 0) {
            const std::size_t room = kKeptOutput - std::min(kKeptOutput, output.size());
            output.append(buffer.data(), std::min(static_cast<std::size_t>(got), room));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

enum class End { Ended, TimedOut, Lost };

// Waits for the child to end, reading its output meanwhile, until the deadline. Lost: another
// part of the process collected the child's status first, so it can tell nothing.
End awaitEnd(pid_t child, int output, std::string& collected, Clock::time_point deadline, int& status) {
    // A descriptor of the child becomes readable when it ends; a kernel without them is asked
    // again every millisecond.
    const int childFd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    bool outputOpen = true;
    End end = End::TimedOut;
    for (;;) {
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) {
            if (outputOpen) drain(output, collected);
            end = End::Ended;
            break;
        }
        if (ended < 0 && errno != EINTR) {
            end = End::Lost;
            break;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd watched[2] = {{outputOpen ? output : -1, POLLIN, 0}, {childFd, POLLIN, 0}};
        const int timeout = childFd >= 0 ? static_cast<int>(left) : 1;
        if (poll(watched, 2, timeout) > 0 && outputOpen && watched[0].revents) outputOpen = drain(output, collected);
    }
    if (childFd >= 0) close(childFd);
    return end;
}

std::string signalText(int signal) {
    const char* name = strsignal(signal);
    return "killed by signal " + std::to_string(signal) + (name ? std::string(" (") + name + ")" : std::string());
}

using Verdict = PluginTrialOutcome::Verdict;

PluginTrialOutcome verdict(int status, const std::string& output) {
    const std::string_view last = lastLine(output);
    const std::string_view refused = PluginTrialRefused;
    if (WIFSIGNALED(status)) return {Verdict::Died, signalText(WTERMSIG(status)) + " when tried"};
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 0 && last == PluginTrialPassed) return {};
    if (code == PluginTrialRefusedStatus && last.starts_with(refused))
        return {Verdict::Refused, quoted(last.substr(refused.size()))};
    std::string fault = code == 0 ? std::string("exited when tried, before its trial was over")
                                  : "exited with status " + std::to_string(code) + " when tried";
    // The first line is the one that says what went wrong, as the loader's assertion does.
    if (const std::string_view said = firstLine(output); !said.empty() && said != PluginTrialPassed)
        fault += " (" + quoted(said) + ")";
    return {Verdict::Died, fault};
}

}  // namespace

PluginTrialOutcome TryPluginModule(const std::filesystem::path& helper, const std::filesystem::path& module,
                                   std::chrono::milliseconds limit) {
    Pipe errors;
    if (errors.read < 0) return {Verdict::Untried, std::string("cannot be tried (") + std::strerror(errno) + ")"};
    fcntl(errors.read, F_SETFL, O_NONBLOCK);
    pid_t child = -1;
    if (const int error = spawnHelper(child, helper, module, errors); error != 0)
        return {Verdict::Untried, error == ENOENT ? "cannot be tried: no trial helper at \"" + helper.string() + "\""
                                                  : "cannot be tried: the trial helper \"" + helper.string() +
                                                        "\" does not start (" + std::strerror(error) + ")"};
    errors.closeWrite();

    std::string output;
    int status = 0;
    const End end = awaitEnd(child, errors.read, output, Clock::now() + limit, status);
    if (end == End::Lost) return {Verdict::Died, "ended unobserved when tried"};
    if (end == End::TimedOut) {
        kill(child, SIGKILL);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
        const auto seconds = std::chrono::duration<double>(limit).count();
        char text[64];
        std::snprintf(text, sizeof text, "gave no answer within %g s when tried", seconds);
        return {Verdict::Died, text};
    }
    return verdict(status, output);
}

}  // namespace fw
