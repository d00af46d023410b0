// How soon a stopped conversion returns: each long conversion is run once to learn how long it
// takes, then started again and again on a worker thread and stopped at points spread over
// that time, measuring from the stop to the return of the call (by which time every thread the
// conversion started has ended, since each is joined before the call returns). Then a hundred
// conversions started and stopped in a row, with the resident memory before and after them.
//
//   stop_latency [stop points per conversion, default 20]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/convert.hpp"

namespace {

using Clock = std::chrono::steady_clock;

struct Work {
    const char* name;
    std::string input;
    std::int32_t from;
    std::int32_t to;
    std::int32_t places;
};

std::string randomDigits(std::size_t count, const char* alphabet, unsigned base) {
    std::mt19937 random(static_cast<unsigned>(count));
    std::string digits(count, '0');
    for (char& c : digits) {
        c = alphabet[random() % base];
    }
    digits.front() = '7';
    return digits;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return 0;
}

std::string run(const Work& work) { return radixel::convert(work.input, work.to, work.from, work.places, true); }

// The time from a stop at `delay` after the start to the call's return, or a negative time when
// the conversion had ended before the stop.
double stopAt(const Work& work, Clock::duration delay) {
    std::future<std::string> answer = std::async(std::launch::async, [&work] { return run(work); });
    std::this_thread::sleep_for(delay);
    const Clock::time_point stop = Clock::now();
    radixel::stopConversions();
    const std::string result = answer.get();
    const double latency = seconds(Clock::now() - stop);
    return result == radixel::kStopped ? latency : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int points = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const char* decimal = "0123456789";
    const char* hex = "0123456789ABCDEF";
    const std::vector<Work> works = {
        {"1e8 decimal digits to hex", randomDigits(100000000, decimal, 10), 10, 16, 8},
        {"3e7 hex digits to decimal", randomDigits(30000000, hex, 16), 16, 10, 8},
        {"1e8 decimal digits to base 50000", randomDigits(100000000, decimal, 10), 10, 50000, 8},
        {"1/3 to 1e8 binary places", "1/3", 10, 2, 100000000},
        {"1e940128290 to base 7", "1e940128290", 10, 7, 8},
    };
    std::printf("%-34s %10s %8s %12s %12s\n", "conversion", "time s", "stops", "median ms", "worst ms");
    for (const Work& work : works) {
        const Clock::time_point start = Clock::now();
        const std::string whole = run(work);
        const Clock::duration duration = Clock::now() - start;
        std::vector<double> latencies;
        for (int k = 1; k <= points; ++k) {
            const double latency = stopAt(work, duration * k / (points + 1));
            if (latency >= 0) {
                latencies.push_back(latency);
            }
        }
        std::sort(latencies.begin(), latencies.end());
        const double median = latencies.empty() ? 0 : latencies[latencies.size() / 2];
        const double worst = latencies.empty() ? 0 : latencies.back();
        std::printf("%-34s %10.2f %8zu %12.1f %12.1f   %s\n", work.name, seconds(duration), latencies.size(),
                    median * 1e3, worst * 1e3, whole.substr(0, 40).c_str());
        std::fflush(stdout);
    }

    const Work repeated = {"1e7 decimal digits to hex", randomDigits(10000000, decimal, 10), 10, 16, 8};
    const Clock::time_point start = Clock::now();
    run(repeated);
    const Clock::duration duration = Clock::now() - start;
    const long before = residentKiB();
    std::mt19937 random(5);
    for (int i = 0; i < 100; ++i) {
        stopAt(repeated, duration * static_cast<long>(random() % 100) / 100);
    }
    const long after = residentKiB();
    std::printf(
        "\n100 conversions of %s started and stopped: resident memory %.1f MiB before, %.1f MiB after "
        "(%+.1f MiB)\n",
        repeated.name, static_cast<double>(before) / 1024, static_cast<double>(after) / 1024,
        static_cast<double>(after - before) / 1024);
    return 0;
}
