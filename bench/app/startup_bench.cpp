// How long Radixel takes to start.
//
// LaunchToConversionWindowMapped spawns the real executable on an Xvfb display that the
// benchmark starts itself, and times from the spawn to the X server's MapNotify for the
// top-level window titled "Radixel": loading, Qt's start, the binding of the conversion
// component, start-up, the application's Open and the window reaching the screen. The program
// is then terminated; that part is not timed. Nothing is added to the program for this: it is
// watched from outside, as a window manager watches it.
//
// StartupSequenceOffscreen forks a child that runs the program's own sequence (runtime, class
// tables, exception routine, start-up, event loop up to the first pass after Open) on the
// offscreen platform and reports the conversion window shown. The child begins with the
// libraries already mapped, so this leaves out the dynamic loader's share.

#include "app/Module.hpp"
#include "app/Startup.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Plugins.hpp"
#include "framework/Runtime.hpp"
#include "framework/Window.hpp"

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <QTimer>
#include <QWidget>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWaitLimitMs = 20000;

class XServer {
public:
    static XServer& Instance() {
        static XServer server;
        return server;
    }
    const std::string& display() const { return display_; }
    bool ok() const { return !display_.empty(); }

    ~XServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

private:
    XServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            std::string fd = std::to_string(fds[1]);
            // Without -noreset the server resets each time its last client leaves, and a
            // connection made meanwhile fails.
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (poll(&p, 1, kWaitLimitMs) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }

    pid_t pid_ = -1;
    std::string display_;
};

std::string WindowTitle(xcb_connection_t* x, xcb_window_t window) {
    auto cookie = xcb_get_property(x, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(x, cookie, nullptr);
    std::string title;
    if (reply) {
        title.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
    }
    return title;
}

// Waits for a top-level window with this title to be mapped; false on time-out or when the
// connection fails.
bool WaitForMappedWindow(xcb_connection_t* x, const std::string& title) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(kWaitLimitMs);
    pollfd p{xcb_get_file_descriptor(x), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
            std::free(event);
            if (mapped && WindowTitle(x, window) == title) return true;
        }
        if (xcb_connection_has_error(x)) return false;
        poll(&p, 1, 50);
    }
    return false;
}

void LaunchToConversionWindowMapped(benchmark::State& state) {
    XServer& server = XServer::Instance();
    if (!server.ok()) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    std::vector<std::string> settings = {"DISPLAY=" + server.display(), "QT_QPA_PLATFORM=xcb"};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0 &&
            std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0)
            settings.emplace_back(*e);
    std::vector<char*> env;
    for (auto& s : settings) env.push_back(s.data());
    env.push_back(nullptr);
    char program[] = RADIXEL_EXECUTABLE;
    char* argv[] = {program, nullptr};

    for (auto _ : state) {
        xcb_connection_t* x = xcb_connect(server.display().c_str(), nullptr);
        if (xcb_connection_has_error(x)) {
            state.SkipWithError(("cannot connect to Xvfb on " + server.display()).c_str());
            xcb_disconnect(x);
            return;
        }
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
        // A round trip, so that the event mask is in force before the program starts.
        std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = -1;
        const auto start = Clock::now();
        const int spawned = posix_spawn(&child, program, &files, nullptr, argv, env.data());
        posix_spawn_file_actions_destroy(&files);
        const bool shown = spawned == 0 && WaitForMappedWindow(x, "Radixel");
        const auto end = Clock::now();
        if (spawned == 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        xcb_disconnect(x);
        if (!shown) {
            state.SkipWithError("the conversion window was not mapped in time");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(LaunchToConversionWindowMapped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

[[noreturn]] void RunStartupAndReport(int reportFd) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    fw::RuntimeInit();
    fw::SetPluginFolder(RADIXEL_BUNDLE_PLUGINS);
    fw::OverrideAppFolderItem(RADIXEL_BUNDLE_BIN "/radixel");
    radixel::InitializeModule();
    // The second hop runs after the Open event that the loop posts first.
    QTimer::singleShot(0, [reportFd] {
        QTimer::singleShot(0, [reportFd] {
            auto window = fw::GetImplicitWindow("Window1.Window1");
            const char answer = window && window->widget()->isVisible() ? 'y' : 'n';
            if (write(reportFd, &answer, 1) != 1) _exit(2);
            _exit(0);
        });
    });
    radixel::Main();
    _exit(1);
}

void StartupSequenceOffscreen(benchmark::State& state) {
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            RunStartupAndReport(fds[1]);
        }
        close(fds[1]);
        char answer = 0;
        pollfd p{fds[0], POLLIN, 0};
        const bool answered = poll(&p, 1, kWaitLimitMs) > 0 && read(fds[0], &answer, 1) == 1;
        const auto end = Clock::now();
        close(fds[0]);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (!answered || answer != 'y') {
            state.SkipWithError("the conversion window was not shown");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(StartupSequenceOffscreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
