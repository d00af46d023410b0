#pragma once
// A text made ready for a text area on any thread, so that handing a long text to the area
// costs the event loop as little as it can: its characters are decoded from UTF-8 where it is
// made, in pieces at once when it is long, and laid out in the area's lines when a TextPreparer
// made it (TextArea::SetPreparedText takes it).

#include "String.hpp"

#include <memory>

namespace fw {

class PreparedText {
public:
    PreparedText();  // the empty text
    // Decodes the text and lets its bytes go. A text that memory cannot hold is not held, and
    // a text area shows that in its place, as SetText does.
    explicit PreparedText(String text);
    PreparedText(PreparedText&& other) noexcept;
    PreparedText& operator=(PreparedText&& other) noexcept;
    ~PreparedText();

    bool Held() const;

private:
    friend class TextArea;
    friend class TextPreparer;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class TextArea;

// What laying a text out for one text area takes, read from the area on the event loop, so that
// Prepare can lay the text out on any thread, before the area takes it. An area whose font or
// width changes in between lays the text out again itself when it takes it.
class TextPreparer {
public:
    explicit TextPreparer(const TextArea& area);
    TextPreparer(const TextPreparer& other);
    TextPreparer& operator=(const TextPreparer& other);
    ~TextPreparer();

    // Decodes the text and lays it out; safe on any thread. A text that memory cannot hold is
    // not held, as with the PreparedText constructor.
    PreparedText Prepare(String text) const;

private:
    struct Impl;
    std::shared_ptr<const Impl> impl_;
};

}  // namespace fw
