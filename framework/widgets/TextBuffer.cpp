#include "TextBuffer.hpp"

#include <utility>

namespace fw {

// Replacing the whole text keeps the old one rather than copying it out, so that clearing a text
// memory can barely hold needs no more.
TextBuffer::Replaced TextBuffer::replace(qsizetype position, qsizetype length, TextBuffer with) {
    Replaced replaced;
    replaced.position = position;
    replaced.added = with.size();
    if (position == 0 && length == text_.size()) {
        replaced.removed.text_ = std::exchange(text_, std::move(with.text_));
    } else {
        replaced.removed.text_ = text_.mid(position, length);
        text_.replace(position, length, with.text_);
    }
    return replaced;
}

// Putting the old characters back shrinks or grows the text within the room the replacement
// left, so needs no memory.
void TextBuffer::restore(Replaced&& replaced) noexcept {
    if (replaced.position == 0 && replaced.added == text_.size()) text_ = std::move(replaced.removed.text_);
    else text_.replace(replaced.position, replaced.added, replaced.removed.text_);
}

}  // namespace fw
