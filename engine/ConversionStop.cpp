#include "ConversionStop.hpp"

namespace radixel::engine {

namespace {

std::atomic<std::uint64_t> stopCount{0};

thread_local ConversionStop* currentStop = nullptr;

}  // namespace

const char* ConversionStopped::what() const noexcept { return "conversion stopped"; }

void requestStop() noexcept { stopCount.fetch_add(1, std::memory_order_relaxed); }

ConversionStop::ConversionStop() : generation_(stopCount.load(std::memory_order_relaxed)), previous_(currentStop) {
    currentStop = this;
}

ConversionStop::~ConversionStop() { currentStop = previous_; }

bool ConversionStop::requested() const noexcept {
    return stopCount.load(std::memory_order_relaxed) != generation_ || ended_.load(std::memory_order_relaxed);
}

void ConversionStop::end() noexcept { ended_.store(true, std::memory_order_relaxed); }

void ConversionStop::check() const {
    if (requested()) {
        throw ConversionStopped();
    }
}

ConversionStop* ConversionStop::current() noexcept { return currentStop; }

ConversionStop::Joined::Joined(ConversionStop* stop) noexcept : previous_(currentStop) { currentStop = stop; }

ConversionStop::Joined::~Joined() { currentStop = previous_; }

void checkStop() {
    if (const ConversionStop* stop = currentStop) {
        stop->check();
    }
}

}  // namespace radixel::engine
