#pragma once
// What the conversion window shows while a conversion runs off the event loop. The target pane
// takes no edits, so that nothing typed there is lost to the result, and after a moment it
// carries a note, apart from its text, that says how long the conversion has run and that
// Escape stops it; the pointer shows busy over the window, and Escape in any of its controls
// stops the conversion. All of it ends with the object.

#include "framework/BusyCursor.hpp"
#include "framework/KeyPreview.hpp"
#include "framework/TextArea.hpp"
#include "framework/Timer.hpp"
#include "framework/Window.hpp"

#include <chrono>
#include <functional>
#include <memory>

namespace radixel {

class ConversionUnderWay {
public:
    ConversionUnderWay(fw::Window& window, const std::shared_ptr<fw::TextArea>& targetPane, std::function<void()> stop);
    ~ConversionUnderWay();
    ConversionUnderWay(const ConversionUnderWay&) = delete;
    ConversionUnderWay& operator=(const ConversionUnderWay&) = delete;

    // The note after the conversion has run that long.
    static fw::String NoteAfter(std::chrono::steady_clock::duration elapsed);

private:
    void showNote();

    std::weak_ptr<fw::TextArea> pane_;
    const std::chrono::steady_clock::time_point started_;
    fw::BusyCursor cursor_;
    fw::KeyPreview escape_;
    fw::Timer note_;
};

}  // namespace radixel
