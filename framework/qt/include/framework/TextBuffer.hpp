#pragma once
// The characters of a text view (framework use).

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace fw {

// A view's text, line breaks as LF: a list of pieces, each a stretch of a string that may be
// shared with other texts, the clipboard or the undo history. What it offers is what a view
// needs of a text that may be a billion characters long: its length, a character or a short
// piece by position, the characters a stretch at a time for the loops that lay it out, and a
// replacement whose cost does not grow with the text: the characters around an edit are copied
// into a short piece of their own, the long pieces beside it are cut, not copied, and the
// characters taken out are kept as the pieces they were.
//
// Copies share the strings, and reading from several threads at once is safe; toString(), which
// joins the pieces and keeps them joined, is not to run beside another use of the same buffer.
class TextBuffer {
public:
    TextBuffer() = default;
    explicit TextBuffer(QString text);
    // Reads CR LF and CR in a text as LF, as a buffer holds line breaks. A long text is searched
    // for CR in pieces at once, since a result of a billion characters holds none and must not
    // take a tenth of a second to say so.
    static void readLineBreaks(QString& text);

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    QChar at(qsizetype position) const;
    // The characters of [position, position + length), clamped to the text.
    QString mid(qsizetype position, qsizetype length) const;
    // The whole text: free when it is one whole string, else joined once and kept so.
    QString toString() const;
    // The whole text in UTF-8, made without a copy of it in UTF-16.
    QByteArray toUtf8() const;
    // The most bytes the text takes in UTF-8, and its UTF-8 written at `out`, which has room for
    // as many; returns where the bytes written end.
    qsizetype utf8Room() const;
    char* writeUtf8(char* out) const;
    // The characters from `position` on that are stored together; empty at the end.
    QStringView stretch(qsizetype position) const;
    // The characters before `position` that are stored together; empty at the start.
    QStringView stretchBefore(qsizetype position) const;
    // The characters of [position, position + length), sharing their strings.
    TextBuffer slice(qsizetype position, qsizetype length) const;
    // Puts a string after the text, as a piece of its own.
    void append(QString more);

    struct Replaced;
    // Replaces [position, position + length) with `with`. A failure for want of memory leaves the
    // text as it was.
    Replaced replace(qsizetype position, qsizetype length, TextBuffer with);
    // Takes the replacement back; the text is then as it was before it. Needs no memory.
    void restore(Replaced&& replaced) noexcept;

    // How many pieces the text is held in.
    qsizetype pieceCount() const { return static_cast<qsizetype>(pieces_.size()); }

private:
    struct Piece {
        QString text;
        qsizetype from = 0;
        qsizetype length = 0;
        QStringView view() const { return QStringView(text).sliced(from, length); }
    };

    std::size_t pieceAt(qsizetype position) const;
    // The pieces, or parts of pieces, of [from, to), after those of `out`.
    void copyPieces(std::vector<Piece>& out, qsizetype from, qsizetype to) const;
    void setPieces(std::vector<Piece> pieces);

    mutable std::vector<Piece> pieces_;
    mutable std::vector<qsizetype> starts_;  // where each piece starts in the text
    qsizetype size_ = 0;
};

// What TextBuffer::replace() took out, and what restore() needs to put it back.
struct TextBuffer::Replaced {
    TextBuffer removed;
    qsizetype position = 0;
    qsizetype added = 0;
    TextBuffer before;
};

}  // namespace fw
