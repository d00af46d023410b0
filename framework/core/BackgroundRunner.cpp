#include "BackgroundRunner.hpp"

#include "Runtime.hpp"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <malloc.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace fw {

namespace {

using Continuation = std::function<void()>;
using Work = std::function<Continuation(const std::stop_token&)>;

struct Job {
    Work work;
    BackgroundRunner::Stop stop;
    std::stop_source stopSource;
    // Guarded by the lane's mutex.
    bool abandoned = false;
    bool stopping = false;  // asked to stop while it ran, and it will
};

}  // namespace

// What a runner shares with its thread, which may outlive the runner.
struct BackgroundLane {
    std::mutex mutex;
    std::deque<std::shared_ptr<Job>> waiting;
    std::shared_ptr<Job> running;  // whose work runs now
    std::shared_ptr<Job> current;  // started, and neither handed back nor abandoned
    bool threadActive = false;
};

namespace {

struct Workers {
    std::mutex mutex;
    std::condition_variable ended;
    int threads = 0;  // lane threads that have not ended yet
    std::vector<std::weak_ptr<BackgroundLane>> lanes;
    // Lives on the event loop's thread and takes the results there; nil once the Qt
    // application object goes, so that no result is posted to a loop that is gone.
    QObject* receiver = nullptr;
};

// Never destroyed: a lane thread that the process leaves running at its end still uses it
// while the process's static objects are destroyed.
Workers& workers() {
    static Workers* const all = new Workers;
    return *all;
}

void detachReceiver() {
    Workers& w = workers();
    std::lock_guard lock(w.mutex);
    delete std::exchange(w.receiver, nullptr);
}

// Made on the loop's thread the first time work starts under each Qt application object.
void attachReceiver() {
    Workers& w = workers();
    std::lock_guard lock(w.mutex);
    if (w.receiver || !QCoreApplication::instance()) return;
    w.receiver = new QObject;
    qAddPostRoutine(&detachReceiver);
}

// On the loop: the job's result goes to its caller unless the job was abandoned meanwhile.
void handBack(BackgroundLane& lane, const std::shared_ptr<Job>& job, const Continuation& finish) {
    {
        std::lock_guard lock(lane.mutex);
        if (job->abandoned || lane.current != job) return;
        lane.current.reset();
    }
    CallGuarded(finish);
}

void post(const std::shared_ptr<BackgroundLane>& lane, const std::shared_ptr<Job>& job, Continuation finish) {
    Workers& w = workers();
    std::lock_guard lock(w.mutex);
    if (!w.receiver) return;
    QMetaObject::invokeMethod(
        w.receiver, [lane, job, finish = std::move(finish)] { handBack(*lane, job, finish); }, Qt::QueuedConnection);
}

// A lane's thread: runs the lane's jobs in order, skipping those abandoned before their turn,
// and ends when none is left. Whatever a job holds, the text it was given and a result that is
// dropped, is let go here, off the loop, and given back to the system.
void runLane(std::shared_ptr<BackgroundLane> lane) {
    for (bool more = true; more;) {
        std::shared_ptr<Job> job;
        {
            std::lock_guard lock(lane->mutex);
            while (!lane->waiting.empty() && lane->waiting.front()->abandoned) lane->waiting.pop_front();
            if (lane->waiting.empty()) {
                lane->threadActive = false;
                more = false;
                continue;
            }
            job = std::move(lane->waiting.front());
            lane->waiting.pop_front();
            lane->running = job;
        }
        Continuation finish;
        {
            Work work = std::move(job->work);
            try {
                finish = work(job->stopSource.get_token());
            } catch (...) {
                std::fputs("radixel: background work failed: out of memory (the program goes on)\n", stderr);
                std::fflush(stderr);
            }
        }
        bool abandoned = false;
        {
            std::lock_guard lock(lane->mutex);
            lane->running.reset();
            abandoned = job->abandoned;
        }
        if (!abandoned && finish) post(lane, job, std::move(finish));
        finish = nullptr;
        job.reset();
        // What the job let go of stays with the allocator, which keeps up to tens of megabytes
        // of it resident for the next job; it goes back to the system, off the loop.
        malloc_trim(0);
    }
    // Nothing of the lane's may be used once the count says the thread is done: the process
    // may end right after.
    lane.reset();
    Workers& w = workers();
    std::lock_guard lock(w.mutex);
    --w.threads;
    w.ended.notify_all();
}

// Runs on the loop's thread, which is also the only one that starts jobs: no other job of the
// lane can have started by the time the stop is asked for.
void abandonCurrent(BackgroundLane& lane) {
    std::shared_ptr<Job> job;
    bool running = false;
    {
        std::lock_guard lock(lane.mutex);
        job = std::move(lane.current);
        if (!job) return;
        job->abandoned = true;
        running = lane.running == job;
    }
    job->stopSource.request_stop();
    if (!running || !job->stop) return;
    bool willStop = false;
    CallGuarded([&] { willStop = job->stop(); });
    std::lock_guard lock(lane.mutex);
    job->stopping = willStop;
}

std::vector<std::shared_ptr<BackgroundLane>> liveLanes() {
    Workers& w = workers();
    std::lock_guard lock(w.mutex);
    std::vector<std::shared_ptr<BackgroundLane>> live;
    std::erase_if(w.lanes, [](const std::weak_ptr<BackgroundLane>& lane) { return lane.expired(); });
    for (const auto& lane : w.lanes)
        if (auto held = lane.lock()) live.push_back(std::move(held));
    return live;
}

}  // namespace

BackgroundRunner::BackgroundRunner() : lane_(std::make_shared<BackgroundLane>()) {
    Workers& w = workers();
    std::lock_guard lock(w.mutex);
    w.lanes.push_back(lane_);
}

BackgroundRunner::~BackgroundRunner() { abandonCurrent(*lane_); }

void BackgroundRunner::start(Work work, Stop stop) {
    abandonCurrent(*lane_);
    attachReceiver();
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    job->stop = std::move(stop);
    bool startThread = false;
    {
        std::lock_guard lock(lane_->mutex);
        lane_->waiting.push_back(job);
        lane_->current = job;
        startThread = !std::exchange(lane_->threadActive, true);
    }
    if (!startThread) return;
    Workers& w = workers();
    {
        std::lock_guard lock(w.mutex);
        ++w.threads;
    }
    try {
        std::thread(&runLane, lane_).detach();
    } catch (...) {
        {
            std::lock_guard lock(w.mutex);
            --w.threads;
        }
        std::lock_guard lock(lane_->mutex);
        lane_->waiting.clear();
        lane_->current.reset();
        lane_->threadActive = false;
        throw;
    }
}

void BackgroundRunner::Abandon() { abandonCurrent(*lane_); }

bool BackgroundRunner::Busy() const {
    std::lock_guard lock(lane_->mutex);
    return lane_->current != nullptr;
}

bool BackgroundRunner::WaitForAll(std::chrono::milliseconds limit) {
    Workers& w = workers();
    std::unique_lock lock(w.mutex);
    return w.ended.wait_for(lock, limit, [&] { return w.threads == 0; });
}

void BackgroundRunner::AbandonAll() {
    for (const auto& lane : liveLanes()) abandonCurrent(*lane);
}

bool BackgroundRunner::EndAll(std::chrono::milliseconds grace) {
    AbandonAll();
    const auto deadline = std::chrono::steady_clock::now() + grace;
    // Waiting makes sense while some lane's thread is ending or stopping its job; once every
    // thread left runs a job that will not stop, it would wait the grace out for nothing.
    const auto onlyUnstoppableLeft = [] {
        int stuck = 0;
        for (const auto& lane : liveLanes()) {
            std::lock_guard lock(lane->mutex);
            if (lane->threadActive && lane->running && !lane->running->stopping) ++stuck;
        }
        Workers& w = workers();
        std::lock_guard lock(w.mutex);
        return stuck >= w.threads;
    };
    Workers& w = workers();
    while (std::chrono::steady_clock::now() < deadline) {
        if (onlyUnstoppableLeft()) break;
        std::unique_lock lock(w.mutex);
        if (w.ended.wait_for(lock, std::chrono::milliseconds(10), [&] { return w.threads == 0; })) return true;
    }
    std::lock_guard lock(w.mutex);
    return w.threads == 0;
}

}  // namespace fw
