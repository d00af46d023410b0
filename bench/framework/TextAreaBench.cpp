// A number of n digits in one line, in a text area the size of the conversion window's panes:
// set, pasted, typed at, moved through and painted, and its memory. The goals: a paste of ten
// million digits within 1 s, a keystroke, Ctrl+End or a page within 20 ms whatever the length,
// and a few bytes a digit. The help text's prose, and a number replacing a short text or
// replaced by one, are measured beside it.

#include "framework/PropertyRecord.hpp"
#include "framework/TextArea.hpp"
#include "framework/Window.hpp"

#include "framework/LaidOutText.hpp"
#include "framework/TextView.hpp"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPixmap>

#include <unistd.h>

#include <fstream>

#include <benchmark/benchmark.h>

#include <cstdint>
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

    fw::TextView* view() const { return qobject_cast<fw::TextView*>(area->widget()); }
    void layOutAndPaint() { benchmark::DoNotOptimize(area->widget()->grab()); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(view(), &event);
    }
};

// The process's resident memory, in bytes.
double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE));
}

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
BENCHMARK(BM_NumberSetLaidOutAndPainted)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Arg(100'000'000)
    ->Unit(benchmark::kMillisecond);

// Through the clipboard into an empty pane, as Ctrl+V does.
void BM_NumberPastedLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    QApplication::clipboard()->setText(QString::fromStdString(digits(static_cast<std::size_t>(state.range(0)))));
    for (auto _ : state) {
        state.PauseTiming();
        pane.area->SetText("");
        state.ResumeTiming();
        pane.view()->paste();
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NumberPastedLaidOutAndPainted)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// Characters beyond the Basic Multilingual Plane, each a surrogate pair: emoji pasted.
void BM_EmojiPastedLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    QString emoji;
    for (qsizetype i = 0; i < state.range(0); ++i) emoji += QChar::fromUcs4(0x1F600 + static_cast<char32_t>(i % 64));
    QApplication::clipboard()->setText(emoji);
    for (auto _ : state) {
        state.PauseTiming();
        pane.area->SetText("");
        state.ResumeTiming();
        pane.view()->paste();
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EmojiPastedLaidOutAndPainted)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

// A digit typed and taken back with Backspace, each painted; the second argument says where:
// 1 at the end, 0 at the start and 2 in the middle, where every line after the digit moves.
void BM_TwoKeystrokes(benchmark::State& state) {
    Pane pane(208, 196);
    pane.area->SetText(fw::String(digits(static_cast<std::size_t>(state.range(0)))));
    if (state.range(1) == 2) pane.view()->setCursorPosition(state.range(0) / 2);
    else pane.press(state.range(1) ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
    pane.layOutAndPaint();
    for (auto _ : state) {
        pane.press(Qt::Key_7, Qt::NoModifier, "7");
        pane.layOutAndPaint();
        pane.press(Qt::Key_Backspace, Qt::NoModifier, "\b");
        pane.layOutAndPaint();
    }
}
BENCHMARK(BM_TwoKeystrokes)
    ->Args({10'000'000, 1})
    ->Args({10'000'000, 0})
    ->Args({100'000'000, 0})
    ->Args({100'000'000, 2})
    ->Args({100'000'000, 1})
    ->Unit(benchmark::kMicrosecond);

// Ctrl+End, Page Up and Ctrl+Home, each painted.
void BM_CtrlEndPageUpCtrlHome(benchmark::State& state) {
    Pane pane(208, 196);
    pane.area->SetText(fw::String(digits(static_cast<std::size_t>(state.range(0)))));
    for (auto _ : state) {
        pane.press(Qt::Key_End, Qt::ControlModifier);
        pane.layOutAndPaint();
        pane.press(Qt::Key_PageUp);
        pane.layOutAndPaint();
        pane.press(Qt::Key_Home, Qt::ControlModifier);
        pane.layOutAndPaint();
    }
}
BENCHMARK(BM_CtrlEndPageUpCtrlHome)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

// Painting the whole pane: more than a caret blink repaints.
void BM_PanePainted(benchmark::State& state) {
    Pane pane(208, 196);
    pane.area->SetText(fw::String(digits(static_cast<std::size_t>(state.range(0)))));
    for (auto _ : state) pane.layOutAndPaint();
}
BENCHMARK(BM_PanePainted)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

// What holding the number costs the process, per digit.
void BM_MemoryHeld(benchmark::State& state) {
    const fw::String number(digits(static_cast<std::size_t>(state.range(0))));
    double perDigit = 0;
    for (auto _ : state) {
        Pane pane(208, 196);
        const double before = residentBytes();
        pane.area->SetText(number);
        pane.layOutAndPaint();
        perDigit = (residentBytes() - before) / static_cast<double>(state.range(0));
    }
    state.counters["bytes_per_digit"] = perDigit;
}
BENCHMARK(BM_MemoryHeld)->Arg(10'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

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

QString digitsInUtf16(qsizetype count) {
    QString text(count, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < count; ++i) out[i] = QLatin1Char(static_cast<char>('0' + (i * 7 + 3) % 10));
    return text;
}

// A result handed to the view as characters, laid out on the event loop, and painted.
void BM_ViewSetTextLaidOutAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    const QString number = digitsInUtf16(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        pane.view()->setText(QString());
        state.ResumeTiming();
        pane.view()->setText(number);
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ViewSetTextLaidOutAndPainted)->Arg(100'000'000)->Arg(1'000'000'000)->Unit(benchmark::kMillisecond);

// The same result laid out off the event loop, as a conversion's thread does (the cost there)...
void BM_LaidOutTextMade(benchmark::State& state) {
    Pane pane(208, 196);
    const QString number = digitsInUtf16(state.range(0));
    const fw::TextLayoutSettings settings = pane.view()->layoutSettings();
    for (auto _ : state) benchmark::DoNotOptimize(fw::LaidOutText(number, settings));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LaidOutTextMade)->Arg(100'000'000)->Arg(1'000'000'000)->Unit(benchmark::kMillisecond);

// Hexadecimal digits, whose letters are not as wide as the digits in most fonts: lines of many
// lengths, laid out character by character on each core. The second argument: 0 for digits
// at random, 1 for a repeating fraction (1/11 in base 16: 1745D...).
void BM_HexLaidOutTextMade(benchmark::State& state) {
    Pane pane(208, 196);
    const qsizetype count = state.range(0);
    QString number(count, Qt::Uninitialized);
    const char* hex = "0123456789ABCDEF";
    std::uint64_t seed = 7;
    for (qsizetype i = 0; i < count; ++i) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        number[i] = QLatin1Char(state.range(1) ? "1745D"[i % 5] : hex[seed >> 60]);
    }
    const fw::TextLayoutSettings settings = pane.view()->layoutSettings();
    for (auto _ : state) benchmark::DoNotOptimize(fw::LaidOutText(number, settings));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_HexLaidOutTextMade)->Args({100'000'000, 0})->Args({100'000'000, 1})->Unit(benchmark::kMillisecond);

// ... and handed to the view on the loop, and painted (the cost on the loop).
void BM_LaidOutTextHandedOverAndPainted(benchmark::State& state) {
    Pane pane(208, 196);
    const QString number = digitsInUtf16(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        pane.view()->setText(QString());
        fw::LaidOutText ready(number, pane.view()->layoutSettings());
        state.ResumeTiming();
        benchmark::DoNotOptimize(pane.view()->setLaidOutText(std::move(ready)));
        pane.layOutAndPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Laying the text out again for every step, outside the timing, makes the steps few.
BENCHMARK(BM_LaidOutTextHandedOverAndPainted)
    ->Arg(100'000'000)
    ->Arg(1'000'000'000)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

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
