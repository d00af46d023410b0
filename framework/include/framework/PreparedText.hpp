#pragma once
// A text made ready for a text area on any thread, so that handing a long text to the area
// costs the event loop as little as it can: its characters are decoded from UTF-8 where it is
// made, in pieces at once when it is long (TextArea::SetPreparedText takes it).

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
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
