// Press to painted: "->" with 10 and 16 in the base fields and a long decimal number in the
// left pane, until the right pane shows the result. The clock covers reading the pane, the
// conversion, writing the result and the first paint of the right pane.

#include "menubar/MenuBar1.hpp"
#include "conversion/Window1.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/Plugins.hpp"
#include "framework/Window.hpp"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
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

// Each press goes into a window just built, so that the right pane starts empty as it does
// for the user's first conversion.
std::shared_ptr<radixel::Window1> WindowHolding(const std::string& number) {
    if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
    QApplication::processEvents();
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

        window->PushButton1()->Push();
        QApplication::processEvents();
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
        window->PushButton1()->Push();
        QApplication::processEvents();
        benchmark::DoNotOptimize(rightPane->grab());
        window->TextAreaLeft()->SetText(fw::String(number));
        QApplication::processEvents();
        state.ResumeTiming();

        window->PushButton1()->Push();
        QApplication::processEvents();
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
