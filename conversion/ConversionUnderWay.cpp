#include "ConversionUnderWay.hpp"

#include <string>

namespace radixel {

namespace {

// A conversion that ends sooner than this never shows its note, so that a quick one does not
// flicker; after it, the note counts the seconds.
constexpr std::chrono::milliseconds kNoteAfter(300);
constexpr std::chrono::milliseconds kNoteEvery(1000);

const fw::String kEscape("\x1B");

}  // namespace

ConversionUnderWay::ConversionUnderWay(fw::Window& window, const std::shared_ptr<fw::TextArea>& targetPane,
                                       std::function<void()> stop)
    : pane_(targetPane),
      started_(std::chrono::steady_clock::now()),
      cursor_(window),
      escape_(window,
              [stop = std::move(stop)](const fw::String& key) {
                  if (key != kEscape) return false;
                  stop();
                  return true;
              }),
      note_(kNoteAfter, kNoteEvery, [this] { showNote(); }) {
    targetPane->SetBusy(true);
}

ConversionUnderWay::~ConversionUnderWay() {
    if (auto pane = pane_.lock()) pane->SetBusy(false);
}

fw::String ConversionUnderWay::NoteAfter(std::chrono::steady_clock::duration elapsed) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    return fw::String("Converting\u2026 " + std::to_string(seconds) + " s. Escape stops it.");
}

void ConversionUnderWay::showNote() {
    if (auto pane = pane_.lock()) pane->SetBusyNote(NoteAfter(std::chrono::steady_clock::now() - started_));
}

}  // namespace radixel
