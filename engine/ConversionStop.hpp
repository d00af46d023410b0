#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>

// A stop asked for from any thread ends every conversion running at that moment: stops are
// counted, each conversion notes the count when it starts, and its work checks now and then
// whether the count has moved since. A conversion that starts after a stop sees the new count
// and runs as usual. The checks stand in the GMP allocation guard, between the steps of a
// conversion and inside every loop of the engine's own that can run long, so that a stopped
// conversion unwinds in about the time of its longest step between two checks.
namespace radixel::engine {

// Thrown where a conversion finds that it has to end early; convert() answers it with kStopped.
class ConversionStopped : public std::exception {
public:
    const char* what() const noexcept override;
};

// Advances the count of stops; safe from any thread, at any time.
void requestStop() noexcept;

class ConversionStop {
public:
    // Notes the count of stops now, and becomes the stop of the calling thread's work.
    ConversionStop();
    ~ConversionStop();

    ConversionStop(const ConversionStop&) = delete;
    ConversionStop& operator=(const ConversionStop&) = delete;

    // Whether the conversion has to end: a stop came after it started, or one of its threads
    // failed, which ends the others too.
    bool requested() const noexcept;

    // Ends the conversion on every thread that works for it.
    void end() noexcept;

    // Throws ConversionStopped when requested().
    void check() const;

    // The stop of the conversion that the calling thread works for, if any.
    static ConversionStop* current() noexcept;

    // Makes another thread work for `stop` while it lives, so that its checks see it.
    class Joined {
    public:
        explicit Joined(ConversionStop* stop) noexcept;
        ~Joined();

        Joined(const Joined&) = delete;
        Joined& operator=(const Joined&) = delete;

    private:
        ConversionStop* previous_;
    };

private:
    std::uint64_t generation_;
    std::atomic<bool> ended_{false};
    ConversionStop* previous_;
};

// The check of the calling thread's conversion; nothing outside one.
void checkStop();

// How many items of a simple loop run between two checks: a few hundred microseconds of work.
inline constexpr std::size_t kItemsBetweenStopChecks = std::size_t{1} << 16;

// Counts the steps of a loop whose steps are of uneven length, checking for a stop at every
// kItemsBetweenStopChecks of them.
class StopCountdown {
public:
    void tick() {
        if (--left_ == 0) {
            left_ = kItemsBetweenStopChecks;
            checkStop();
        }
    }

private:
    std::size_t left_ = kItemsBetweenStopChecks;
};

// Calls work(begin, end) over [0, count) in spans of kItemsBetweenStopChecks, checking for a stop
// before each.
template <typename Work>
void forEachSpan(std::size_t count, Work&& work) {
    for (std::size_t begin = 0; begin < count; begin += kItemsBetweenStopChecks) {
        checkStop();
        const std::size_t end = count - begin < kItemsBetweenStopChecks ? count : begin + kItemsBetweenStopChecks;
        work(begin, end);
    }
}

}  // namespace radixel::engine
