#pragma once
// An action that the event loop runs after a first wait and then again at every period, for as
// long as the timer lives. The action runs the way every handler runs (CallGuarded).

#include <chrono>
#include <functional>
#include <memory>

namespace fw {

class Timer {
public:
    Timer(std::chrono::milliseconds first, std::chrono::milliseconds period, std::function<void()> action);
    // The action does not run again, even when the timer goes inside it.
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
