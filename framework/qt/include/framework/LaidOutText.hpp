#pragma once
// A text and its shown lines, made ready for a text view on any thread (framework use).

#include "CharacterAdvances.hpp"
#include "LineLayout.hpp"
#include "TextBuffer.hpp"

#include <QString>

#include <memory>

namespace fw {

// What laying a text out for a view depends on: the advances of its font, whether it wraps, and
// the width it wraps at. TextView::layoutSettings() gives them on the event loop; they may then
// go to any thread.
struct TextLayoutSettings {
    std::shared_ptr<CharacterAdvances> advances;
    bool wrapping = true;
    double width = -1;
};

// A text with its shown lines, laid out on whatever thread makes it, for a view to take on the
// event loop at no cost in the length of the text (TextView::setLaidOutText). Making it costs
// what a view's setText would, spread over the machine's cores for a long text; a billion
// digits take a fraction of a second.
//
//     const fw::TextLayoutSettings settings = view->layoutSettings();  // on the event loop
//     ... on another thread:
//     fw::LaidOutText ready(std::move(characters), settings);
//     ... back on the event loop:
//     fw::LaidOutText old = view->setLaidOutText(std::move(ready));
//
// Where the view's font or width changed in between, it lays the text out again itself.
class LaidOutText {
public:
    // The empty text, with no lines laid out.
    LaidOutText();
    // Reads CR LF and CR as LF and lays the text out. Raises std::bad_alloc when memory cannot
    // hold the text or its lines.
    LaidOutText(QString text, const TextLayoutSettings& settings);

    const TextBuffer& buffer() const { return buffer_; }
    const LineLayout& layout() const { return layout_; }
    const TextLayoutSettings& settings() const { return settings_; }

private:
    friend class TextView;

    TextBuffer buffer_;
    LineLayout layout_;
    TextLayoutSettings settings_;
};

}  // namespace fw
