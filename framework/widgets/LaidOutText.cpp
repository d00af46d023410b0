#include "LaidOutText.hpp"

namespace fw {

LaidOutText::LaidOutText() : layout_(nullptr) {}

LaidOutText::LaidOutText(QString text, const TextLayoutSettings& settings)
    : layout_(settings.advances), settings_(settings) {
    TextBuffer::readLineBreaks(text);
    buffer_ = TextBuffer(std::move(text));
    layout_.layOut(buffer_, settings.wrapping, settings.width);
}

}  // namespace fw
