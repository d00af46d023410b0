// Press to painted: "->" with 10 and 16 in the base fields and a long decimal number in the
// left pane, until the right pane shows the result. The clock covers reading the pane, the
// conversion, writing the result and the first paint of the right pane. Beside it: the longest
// the event loop goes without a turn meanwhile, which is how long the window goes unanswered
// (goal: 0.1 s on a hundred million digits); the hand-off from the conversion component's
// return to the result shown (goal: 0.3 s plus 0.3 s a billion characters); and the memory
// that a hundred conversions started and stopped in a row leave behind (goal: a few MiB).

#include "menubar/MenuBar1.hpp"
#include "conversion/Window1.hpp"
#include "conversion/binding/Globals4.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/BackgroundRunner.hpp"
#include "framework/Plugins.hpp"
#include "framework/Window.hpp"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

namespace {

// Reproducible digits with no leading zero, so that the number has exactly that many.
std::string DecimalNumber(std::int64_t digits) {
    std::string number(static_cast<std::size_t>(digits), '0');
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (auto& d : number) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        d = static_cast<char>('0' + (state >> 33) % 10);
    }
    if (number[0] == '0') number[0] = '7';
    return number;
}

// The conversion runs off the event loop; the loop runs until its result is in the pane.
void PressAndWait(radixel::Window1& window) {
    window.PushButton1()->Push();
    while (window.Converting()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
}

// Each press goes into a window just built, so that the right pane starts empty as it does
// for the user's first conversion.
std::shared_ptr<radixel::Window1> WindowHolding(const std::string& number) {
    if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
    QApplication::processEvents();
    // A closed window's panes go now, not when the loop would have deleted them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto window = radixel::instance::Window1();
    window->TextFieldBaseLeft()->SetText("10");
    window->TextFieldBaseRight()->SetText("16");
    window->TextAreaLeft()->SetText(fw::String(number));
    QApplication::processEvents();
    return window;
}

void PressToPainted(benchmark::State& state) {
    const std::string number = DecimalNumber(state.range(0));
    std::shared_ptr<radixel::Window1> window;
    for (auto _ : state) {
        state.PauseTiming();
        window = WindowHolding(number);
        QWidget* rightPane = window->TextAreaRight()->widget();
        state.ResumeTiming();

        PressAndWait(*window);
        QPixmap painted = rightPane->grab();
        benchmark::DoNotOptimize(painted);
    }

    // A number of n decimal digits has about n * log 10 / log 16 hexadecimal ones; anything
    // much shorter is a message, not a result.
    const std::string result = window->TextAreaRight()->Text().bytes();
    const double expected = static_cast<double>(state.range(0)) * std::log(10.0) / std::log(16.0);
    if (static_cast<double>(result.size()) < expected - 2 || static_cast<double>(result.size()) > expected + 2)
        state.SkipWithError(result.substr(0, 200).c_str());
    state.counters["result_digits"] = static_cast<double>(result.size());
}

// A conversion after an earlier one that the user has seen: the result replaces whatever the
// right pane shows, long or short. Arguments: digits of the earlier number, then of this one.
void PressAfterAnotherConversion(benchmark::State& state) {
    const std::string earlier = DecimalNumber(state.range(0));
    const std::string number = DecimalNumber(state.range(1));
    std::shared_ptr<radixel::Window1> window;
    for (auto _ : state) {
        state.PauseTiming();
        window = WindowHolding(earlier);
        QWidget* rightPane = window->TextAreaRight()->widget();
        PressAndWait(*window);
        benchmark::DoNotOptimize(rightPane->grab());
        window->TextAreaLeft()->SetText(fw::String(number));
        QApplication::processEvents();
        state.ResumeTiming();

        PressAndWait(*window);
        QPixmap painted = rightPane->grab();
        benchmark::DoNotOptimize(painted);
    }
    const double expected = static_cast<double>(state.range(1)) * std::log(10.0) / std::log(16.0);
    if (static_cast<double>(window->TextAreaRight()->Text().size()) > expected + 2)
        state.SkipWithError("the earlier result is still there");
}

BENCHMARK(PressAfterAnotherConversion)
    ->Args({1'000'000, 1})
    ->Args({1, 1'000'000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

BENCHMARK(PressToPainted)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration span) { return std::chrono::duration<double>(span).count(); }

void BindTo(const char* folder) {
    fw::SetPluginFolder(folder);
    fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints);
}

// The longest time between two turns of the event loop from the press until the result is
// painted, in milliseconds: a timer due at every millisecond notes each turn. The press itself
// and the first paint are turns of their own.
void LongestUnanswered(benchmark::State& state) {
    const std::string number = DecimalNumber(state.range(0));
    double longest = 0;
    double press = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = WindowHolding(number);
        QWidget* rightPane = window->TextAreaRight()->widget();
        state.ResumeTiming();

        Clock::time_point last = Clock::now();
        const auto turn = [&] {
            const Clock::time_point now = Clock::now();
            longest = std::max(longest, Seconds(now - last));
            last = now;
        };
        QTimer ticks;
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, turn);
        ticks.start();
        window->PushButton1()->Push();
        press = std::max(press, Seconds(Clock::now() - last));
        turn();
        while (window->Converting()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        benchmark::DoNotOptimize(rightPane->grab());
        turn();
    }
    state.counters["longest_unanswered_ms"] = longest * 1e3;
    state.counters["press_ms"] = press * 1e3;
}
BENCHMARK(LongestUnanswered)->Arg(100'000'000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// From the component's return to the result painted, through a component whose answer is ready
// at once: the press (a source of one digit), the hand-off of the answer to the pane and the
// first paint. The answer is made before the clock runs.
void HandOff(benchmark::State& state) {
    BindTo(RADIXEL_READY_ANSWER_PLUGINS);
    const auto places = static_cast<std::int32_t>(state.range(0));
    if (radixel::Globals4::kxConvBase("1", 2, 10, places, true).size() != static_cast<std::size_t>(places))
        state.SkipWithError("the ready answer is not there");
    std::shared_ptr<radixel::Window1> window;
    for (auto _ : state) {
        state.PauseTiming();
        window.reset();
        window = WindowHolding("1");
        window->TextFieldBaseRight()->SetText("2");
        window->TextFieldNumPlacesRight()->SetText(fw::String(std::to_string(places)));
        QWidget* rightPane = window->TextAreaRight()->widget();
        state.ResumeTiming();

        PressAndWait(*window);
        benchmark::DoNotOptimize(rightPane->grab());
    }
    if (window->TextAreaRight()->Text().size() != static_cast<std::size_t>(places))
        state.SkipWithError("the answer did not reach the pane whole");
    window.reset();
    if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
    QApplication::processEvents();
    BindTo(RADIXEL_BUNDLE_PLUGINS);
}
BENCHMARK(HandOff)->Arg(100'000'000)->Arg(1'000'000'000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// Conversions of ten million digits started and stopped in a row, as Escape stops them: the
// resident memory once every one has ended, against before the first (a first cycle before it
// brings the process to its working size).
void StartAndStop(benchmark::State& state) {
    const std::string number = DecimalNumber(10'000'000);
    const auto cycle = [](radixel::Window1& window) {
        window.PushButton1()->Push();
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(50);
        while (Clock::now() < until) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        window.StopConversion();
    };
    const auto settle = [] {
        fw::BackgroundRunner::WaitForAll(std::chrono::minutes(5));
        QApplication::processEvents();
    };
    double growth = 0;
    for (auto _ : state) {
        auto window = WindowHolding(number);
        cycle(*window);
        settle();
        const double before = ResidentMiB();
        for (std::int64_t i = 0; i < state.range(0); ++i) cycle(*window);
        settle();
        growth = ResidentMiB() - before;
    }
    state.counters["resident_growth_MiB"] = growth;
}
BENCHMARK(StartAndStop)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    fw::SetPluginFolder(RADIXEL_BUNDLE_PLUGINS);
    fw::SetPluginTrialHelper(RADIXEL_PLUGIN_TRIAL_HELPER);
    fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
    QApplication::processEvents();
    radixel::MenuBar1::ExitImplicitInstance();
    return 0;
}
