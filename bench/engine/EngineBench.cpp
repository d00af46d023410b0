// The engine against GMP's own mpz_set_str + mpz_get_str from decimal to hex,
// on inputs of the same number of digits, in one run. After the run a table
// gives each engine case as a ratio to that baseline, the growth from ten
// times fewer digits, the time of the exponent example from the help text, and
// the engine on all of the machine's threads against itself on one at small sizes.
//
// With --figures the benchmark instead measures the figures for long numbers,
// each conversion in a child process of its own: wall time against GMP's
// set_str + get_str for the same conversion (or against the engine on one
// thread), and the peak of the resident memory above what the process held
// before the conversion (the kernel's high-water mark, reset just before it),
// against GMP's for the same conversion. --figures=1e9 adds the 10^9-digit
// figure, which takes minutes and several GiB; --figure-runs=N takes the median
// of N runs of each (3 by default).
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ConvertWithin.hpp"
#include "engine/convert.hpp"

namespace {

const std::vector<long> kDigitCounts = {100000, 1000000, 10000000};
const std::vector<long> kThreadedCounts = {1000, 10000, 50000, 100000};

std::string randomDigits(long count, int base) {
    static const char* alphabet = "0123456789ABCDEF";
    std::mt19937 random(static_cast<unsigned>(count * 31 + base));
    std::string digits(static_cast<std::size_t>(count), '0');
    for (char& c : digits) {
        c = alphabet[random() % static_cast<unsigned>(base)];
    }
    digits.front() = '7';
    return digits;
}

const std::string& input(long count, int base) {
    static std::map<std::pair<long, int>, std::string> cache;
    auto& text = cache[{count, base}];
    if (text.empty()) {
        text = randomDigits(count, base);
    }
    return text;
}

void gmpDecimalToHex(benchmark::State& state) {
    const std::string& text = input(state.range(0), 10);
    mpz_t value;
    mpz_init(value);
    for (auto _ : state) {
        mpz_set_str(value, text.c_str(), 10);
        std::string out(mpz_sizeinbase(value, 16) + 2, '\0');
        mpz_get_str(out.data(), 16, value);
        benchmark::DoNotOptimize(out.data());
    }
    mpz_clear(value);
}

// GMP's own route to base 50, for comparison with the engine's: set_str is
// shared, and get_str for a base that is no power of two costs about twice set_str.
void gmpDecimalTo50(benchmark::State& state) {
    const std::string& text = input(state.range(0), 10);
    mpz_t value;
    mpz_init(value);
    for (auto _ : state) {
        mpz_set_str(value, text.c_str(), 10);
        std::string out(mpz_sizeinbase(value, 50) + 2, '\0');
        mpz_get_str(out.data(), 50, value);
        benchmark::DoNotOptimize(out.data());
    }
    mpz_clear(value);
}

struct EngineCase {
    std::string name;
    int inputBase;
    int from;
    int to;
    bool placesFromSize;  // "2/3" to as many places as the size; otherwise 8 places of a digit run
};

const std::vector<EngineCase> kCases = {
    {"decimal -> hex", 10, 10, 16, false},    {"decimal -> 50", 10, 10, 50, false},
    {"decimal -> 1000", 10, 10, 1000, false}, {"decimal -> 65536", 10, 10, 65536, false},
    {"hex -> decimal", 16, 16, 10, false},    {"2/3 -> hex places", 10, 10, 16, true},
};

void engineCase(benchmark::State& state, const EngineCase& c) {
    const long size = state.range(0);
    static const std::string twoThirds = "2/3";
    const std::string& text = c.placesFromSize ? twoThirds : input(size, c.inputBase);
    const auto places = static_cast<std::int32_t>(c.placesFromSize ? size : 8);
    for (auto _ : state) {
        std::string out = radixel::convert(text, c.to, c.from, places, true);
        benchmark::DoNotOptimize(out.data());
    }
}

// The engine on every thread of the machine and on one, at the sizes where a conversion
// stays on one thread or just starts to split: the threads must cost nothing there.
void engineOnThreads(benchmark::State& state) {
    const std::string& text = input(state.range(0), 10);
    const auto threads = static_cast<unsigned>(state.range(1));
    for (auto _ : state) {
        std::string out = radixel::engine::convertWithin(text, 7, 10, 8, true, 1e18, threads);
        benchmark::DoNotOptimize(out.data());
    }
}

void example7(benchmark::State& state) {
    for (auto _ : state) {
        std::string out = radixel::convert("-1.2341234e20000", 16, 10, 8, true);
        benchmark::DoNotOptimize(out.data());
    }
}

// Keeps the fastest repetition of each case: on a shared machine the minimum
// is the figure least disturbed by other work.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) {
                continue;
            }
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            const std::string key = run.run_name.function_name + "/" + run.run_name.args;
            auto [it, inserted] = seconds_.emplace(key, seconds);
            if (!inserted) {
                it->second = std::min(it->second, seconds);
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-20s %10s %12s %12s %8s %8s\n", "engine case", "digits", "engine ms", "baseline ms", "ratio",
                    "goal");
        for (const EngineCase& c : kCases) {
            const double goal = c.name == "decimal -> hex" ? 1.5 : 3.0;
            for (long n : kDigitCounts) {
                const double engine = time("engine/" + c.name, n);
                const double baseline = time("baseline/gmp decimal -> hex", n);
                if (engine > 0 && baseline > 0) {
                    std::printf("%-20s %10ld %12.2f %12.2f %8.2f %8.1f\n", c.name.c_str(), n, engine * 1e3,
                                baseline * 1e3, engine / baseline, goal);
                }
            }
        }
        for (long n : kDigitCounts) {
            const double reference = time("reference/gmp decimal -> 50", n);
            const double baseline = time("baseline/gmp decimal -> hex", n);
            if (reference > 0 && baseline > 0) {
                std::printf("%-20s %10ld %12.2f %12.2f %8.2f %8s\n", "(gmp's own -> 50)", n, reference * 1e3,
                            baseline * 1e3, reference / baseline, "-");
            }
        }
        std::printf("\n%-28s %14s %14s %8s\n", "growth for 10x digits", "1e5 -> 1e6", "1e6 -> 1e7", "goal");
        std::vector<std::string> names = {"baseline/gmp decimal -> hex", "reference/gmp decimal -> 50"};
        for (const EngineCase& c : kCases) {
            names.push_back("engine/" + c.name);
        }
        for (const std::string& name : names) {
            std::printf("%-28s %14.1f %14.1f %8.1f\n", name.c_str(), time(name, 1000000) / time(name, 100000),
                        time(name, 10000000) / time(name, 1000000), 15.0);
        }
        std::printf("\nexample 7 (-1.2341234e20000, base 10 -> 16): %.3f ms, goal under 10 ms\n",
                    time("engine/example 7", 0) * 1e3);
        std::printf("\n%-28s %10s %12s %12s %8s %8s\n", "decimal -> 7, all threads", "digits", "threads ms", "one ms",
                    "ratio", "goal");
        for (long n : kThreadedCounts) {
            const double all = timeOf("engine/decimal -> 7 on threads/" + std::to_string(n) + "/0");
            const double one = timeOf("engine/decimal -> 7 on threads/" + std::to_string(n) + "/1");
            if (all > 0 && one > 0) {
                std::printf("%-28s %10ld %12.3f %12.3f %8.2f %8.1f\n", "", n, all * 1e3, one * 1e3, all / one, 1.0);
            }
        }
    }

private:
    double time(const std::string& name, long n) const {
        return timeOf(name + "/" + (n > 0 ? std::to_string(n) : std::string()));
    }
    double timeOf(const std::string& key) const {
        const auto it = seconds_.find(key);
        return it == seconds_.end() ? 0 : it->second;
    }

    std::map<std::string, double> seconds_;
};

}  // namespace

// What one measured conversion gave: its wall time and the peak of resident memory above
// what the process held before it.
struct Measured {
    double seconds = 0;
    double peakMiB = 0;
};

long statusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(key));
        }
    }
    return 0;
}

// Runs convert() in a child process, so that nothing of one measurement stays in the
// allocator's pools for the next.
template <typename Convert>
Measured inChild(Convert convert) {
    int pipes[2];
    if (pipe(pipes) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipes[0]);
        Measured measured;
        const auto start = std::chrono::steady_clock::now();
        // The input is made first, and the high-water mark reset when it stands.
        convert(
            [&] {
                std::ofstream("/proc/self/clear_refs") << "5";
                measured.peakMiB = static_cast<double>(statusKiB("VmRSS:"));
                return std::chrono::steady_clock::now();
            },
            measured, start);
        measured.peakMiB = (static_cast<double>(statusKiB("VmHWM:")) - measured.peakMiB) / 1024;
        const ssize_t written = write(pipes[1], &measured, sizeof measured);
        _exit(written == sizeof measured ? 0 : 1);
    }
    close(pipes[1]);
    Measured measured;
    if (read(pipes[0], &measured, sizeof measured) != sizeof measured) {
        measured = {};
    }
    close(pipes[0]);
    waitpid(child, nullptr, 0);
    return measured;
}

std::string digitsOf(long count, int base) {
    std::string digits = randomDigits(count, base);
    digits.front() = '7';
    return digits;
}

Measured gmpConversion(long count, int from, int to) {
    return inChild([=](auto begin, Measured& measured, auto) {
        const std::string text = digitsOf(count, from);
        const auto start = begin();
        mpz_t value;
        mpz_init(value);
        mpz_set_str(value, text.c_str(), from);
        std::string out(mpz_sizeinbase(value, to) + 2, '\0');
        mpz_get_str(out.data(), to, value);
        mpz_clear(value);
        measured.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
}

Measured engineConversion(long count, int from, int to, unsigned threads) {
    return inChild([=](auto begin, Measured& measured, auto) {
        const std::string text = digitsOf(count, from);
        const auto start = begin();
        const std::string out = radixel::engine::convertWithin(text, to, from, 8, true, 1e18, threads);
        measured.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (out.size() < static_cast<std::size_t>(count) / 8) {
            measured.seconds = -1;
        }
    });
}

// The figures for long numbers, each the median of `runs` measurements in one run of this program.
int figures(bool withBillion, int runs) {
    struct Figure {
        const char* name;
        long digits;
        int from;
        int to;
        bool againstOneThread;
        double timeGoal;
        double memoryGoal;
    };
    std::vector<Figure> list = {
        {"decimal -> hex", 100000000, 10, 16, false, 0.40, 1.3},  {"hex -> decimal", 30000000, 16, 10, false, 0.45, 0},
        {"hex -> decimal", 100000000, 16, 10, false, 0, 1.3},     {"decimal -> 3", 100000000, 10, 3, false, 0, 1.3},
        {"decimal -> 7", 100000000, 10, 7, false, 0, 1.3},        {"decimal -> 7", 100000000, 10, 7, true, 0.5, 0},
        {"decimal -> 50000", 100000000, 10, 50000, true, 0.5, 0},
    };
    if (withBillion) {
        list.push_back({"decimal -> hex", 1000000000, 10, 16, false, 0.35, 0});
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    std::printf("%-18s %11s %9s %9s %7s %6s %10s %10s %7s %6s\n", "conversion", "digits", "engine s", "base s", "ratio",
                "goal", "engine MiB", "base MiB", "ratio", "goal");
    for (const Figure& f : list) {
        std::vector<double> engineSeconds, baseSeconds, engineMiB, baseMiB;
        for (int run = 0; run < runs; ++run) {
            const Measured engine = engineConversion(f.digits, f.from, f.to, 0);
            const Measured base = f.againstOneThread ? engineConversion(f.digits, f.from, f.to, 1)
                                                     : gmpConversion(f.digits, f.from, f.to);
            engineSeconds.push_back(engine.seconds);
            baseSeconds.push_back(base.seconds);
            engineMiB.push_back(engine.peakMiB);
            baseMiB.push_back(base.peakMiB);
        }
        const double e = median(engineSeconds), b = median(baseSeconds);
        const double em = median(engineMiB), bm = median(baseMiB);
        std::printf("%-18s %11ld %9.2f %9.2f %7.2f %6.2f %10.0f %10.0f %7.2f %6.2f   against %s\n", f.name, f.digits, e,
                    b, e / b, f.timeGoal, em, bm, em / bm, f.memoryGoal, f.againstOneThread ? "one thread" : "GMP");
        std::fflush(stdout);
    }
    return 0;
}

int main(int argc, char** argv) {
    bool withFigures = false;
    bool withBillion = false;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        withBillion = withBillion || std::strcmp(argv[i], "--figures=1e9") == 0;
        withFigures = withFigures || withBillion || std::strcmp(argv[i], "--figures") == 0;
        if (std::strncmp(argv[i], "--figure-runs=", 14) == 0) {
            runs = std::max(1, std::atoi(argv[i] + 14));
        }
    }
    if (withFigures) {
        return figures(withBillion, runs);
    }
    for (long n : kDigitCounts) {
        benchmark::RegisterBenchmark("baseline/gmp decimal -> hex", gmpDecimalToHex)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(3);
    }
    for (long n : kDigitCounts) {
        benchmark::RegisterBenchmark("reference/gmp decimal -> 50", gmpDecimalTo50)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(3);
    }
    for (const EngineCase& c : kCases) {
        for (long n : kDigitCounts) {
            benchmark::RegisterBenchmark(("engine/" + c.name).c_str(),
                                         [&c](benchmark::State& state) { engineCase(state, c); })
                ->Arg(n)
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(3);
        }
    }
    benchmark::RegisterBenchmark("engine/example 7", example7)->Unit(benchmark::kMillisecond)->Repetitions(3);
    for (long n : kThreadedCounts) {
        for (long threads : {0, 1}) {
            benchmark::RegisterBenchmark("engine/decimal -> 7 on threads", engineOnThreads)
                ->Args({n, threads})
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5);
        }
    }
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
