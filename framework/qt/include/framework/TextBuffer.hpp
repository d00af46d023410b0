#pragma once
// The characters of a text view (framework use).

#include <QString>
#include <QStringView>

namespace fw {

// A view's text, line breaks as LF. What it offers is what the view needs of a text that may be
// a billion characters long: its length, a character or a short piece by position, the
// characters a stretch at a time for the loops that lay it out, and a replacement that can be
// taken back without needing memory.
class TextBuffer {
public:
    TextBuffer() = default;
    explicit TextBuffer(QString text) : text_(std::move(text)) {}

    qsizetype size() const { return text_.size(); }
    bool isEmpty() const { return text_.isEmpty(); }
    QChar at(qsizetype position) const { return text_.at(position); }
    // The characters of [position, position + length), clamped to the text.
    QString mid(qsizetype position, qsizetype length) const { return text_.mid(position, length); }
    QString toString() const { return text_; }
    // The characters from `position` on that are stored together; empty at the end.
    QStringView stretch(qsizetype position) const { return QStringView(text_).sliced(position); }

    struct Replaced;
    // Replaces [position, position + length) with `with`. A failure for want of memory leaves the
    // text as it was.
    Replaced replace(qsizetype position, qsizetype length, TextBuffer with);
    // Takes the replacement back; the text is then as it was before it.
    void restore(Replaced&& replaced) noexcept;

private:
    QString text_;
};

// What TextBuffer::replace() took out, and what restore() needs to put it back.
struct TextBuffer::Replaced {
    TextBuffer removed;
    qsizetype position = 0;
    qsizetype added = 0;
};

}  // namespace fw
