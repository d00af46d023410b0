#pragma once
// Work that runs off the event loop, so that the windows go on answering while it runs, and
// whose result comes back on the event loop.
//
// A runner runs one job at a time, on a thread of its own. Starting a job abandons the one
// before it: an abandoned job's result is dropped, never handed back, and a job that was still
// running is asked to stop. A new job waits until the one before it has ended, so a job that
// cannot be stopped is waited out rather than run beside its successor: the work never piles
// up however often the user starts it anew.
//
// When the event loop ends, every job is abandoned. RuntimeExit then gives jobs that were
// asked to stop a moment to end, and a job that is still running after it keeps the process
// from returning through the normal end (see Runtime.hpp).

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace fw {

struct BackgroundLane;

class BackgroundRunner {
public:
    // Asks running work to end soon; false when it cannot, and the work runs to its end.
    using Stop = std::function<bool()>;

    BackgroundRunner();
    // Abandons the current job; the runner's thread goes on with it alone, if it must.
    ~BackgroundRunner();
    BackgroundRunner(const BackgroundRunner&) = delete;
    BackgroundRunner& operator=(const BackgroundRunner&) = delete;

    // Abandons the current job and starts work as the new one. The work runs on the runner's
    // thread with a token that is stopped once the job is abandoned, so that it can skip what
    // only a result would need. When it returns, done runs on the event loop with its result,
    // unless the job was abandoned first. An exception that leaves the work is reported on
    // stderr in one line, as an exception that leaves a handler is, and done gets nothing.
    // stop is asked when the job is abandoned while its work runs.
    template <class Result>
    void Start(std::function<Result(const std::stop_token&)> work, std::function<void(std::optional<Result>)> done,
               Stop stop = {});

    // Abandons the current job, if any.
    void Abandon();
    // A job has been started and neither handed back nor abandoned.
    bool Busy() const;

    // Waits until no runner has a job running, for at most the given time; true when none has.
    static bool WaitForAll(std::chrono::milliseconds limit);
    // Abandons the jobs of every runner (framework use: the end of the event loop).
    static void AbandonAll();
    // Abandons the jobs of every runner and waits, for at most the grace, while a job asked
    // to stop is still running; a job that cannot stop is not waited for. True when no job
    // runs any more (framework use: the end of the runtime).
    static bool EndAll(std::chrono::milliseconds grace);

private:
    // The work, run off the loop, returns what is to be run on the loop.
    using Work = std::function<std::function<void()>(const std::stop_token&)>;
    void start(Work work, Stop stop);

    std::shared_ptr<BackgroundLane> lane_;
};

template <class Result>
void BackgroundRunner::Start(std::function<Result(const std::stop_token&)> work,
                             std::function<void(std::optional<Result>)> done, Stop stop) {
    start(
        [work = std::move(work), done = std::move(done)](const std::stop_token& token) -> std::function<void()> {
            try {
                auto result = std::make_shared<std::optional<Result>>(work(token));
                return [done, result] { done(std::move(*result)); };
            } catch (...) {
                // Rethrown on the loop, where the runner runs what it hands back as it runs handlers.
                return [done, failure = std::current_exception()] {
                    done(std::nullopt);
                    std::rethrow_exception(failure);
                };
            }
        },
        std::move(stop));
}

}  // namespace fw
