// A number of n digits in one line, set into a text area the size of the conversion window's
// panes, laid out and painted: the goal is 0.5 s for a million digits and 5 s for ten million.
// The help text's prose, a number pasted by the user, and a number replacing a short text or
// replaced by one (each of which chooses the wrapping anew) are measured beside it.

#include "framework/PropertyRecord.hpp"
#include "framework/TextArea.hpp"
#include "framework/Window.hpp"

#include <QApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

struct Pane {
    std::shared_ptr<fw::Window> window;
    std::shared_ptr<fw::TextArea> area;

    Pane(std::int32_t width, std::int32_t height) {
        window = std::static_pointer_cast<fw::Window>(fw::RuntimeNewObject(fw::Window::Lookup()));
        window->Constructor();
        area = std::static_pointer_cast<fw::TextArea>(window->New(fw::TextArea::Lookup()));
        area->Constructor();
        window->AddControl("Pane", area);
        fw::SetProperties(*area, fw::Record({{"Left", 20}, {"Top", 20}, {"Width", width}, {"Height", height}}));
    }
    ~Pane() { window->Close(); }

    // Painting the visible part lays out every line of the block it stands in: the whole number.
    void layOutAndPaint() { benchmark::DoNotOptimize(area->widget()->grab()); }
};

std::string digits(std::size_t count) {
    std::string text(count, '0');
    for (std::size_t i = 0; i < count; ++i) text[i] = static_cast<char>('0' + (i * 7 + 3) % 10);
    return text;
}

void BM_NumberSetLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    const fw::String number(digits(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        pane.area->SetText(number);
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NumberSetLaidOutAndPainted)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_NumberPastedLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    const QString number = QString::fromStdString(digits(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        pane.area->SetText("");
        QTextCursor cursor(pane.area->document());
        cursor.insertText(number);
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NumberPastedLaidOutAndPainted)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The conversion window's result pane: a one-digit result, then a long one.
void BM_NumberReplacesShortTextLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    const fw::String number(digits(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        pane.area->SetText("5");
        pane.layOutAndPaint();
        state.ResumeTiming();
        pane.area->SetText(number);
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NumberReplacesShortTextLaidOutAndPainted)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ShortTextReplacesNumberLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    const fw::String number(digits(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        pane.area->SetText(number);
        pane.layOutAndPaint();
        state.ResumeTiming();
        pane.area->SetText("5");
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ShortTextReplacesNumberLaidOutAndPainted)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_NumberReadBack(benchmark::State& state) {
    Pane pane(208, 196);
    pane.area->SetText(fw::String(digits(static_cast<std::size_t>(state.range(0)))));
    for (auto _ : state) benchmark::DoNotOptimize(pane.area->Text());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NumberReadBack)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// Paragraphs of prose up to about 500 characters, as in the help text, wrapped between words.
void BM_ProseSetLaidOutAndPainted(benchmark::State& state) {
    Pane pane(546, 354);
    std::string prose;
    while (prose.size() < static_cast<std::size_t>(state.range(0))) {
        for (int word = 0; word < 80; ++word) prose += "digits" + std::to_string(word % 13) + " ";
        prose += "\r\r";
    }
    const fw::String text(prose);
    for (auto _ : state) {
        pane.area->SetText(text);
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ProseSetLaidOutAndPainted)->Arg(3'600)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fw::CloseAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
