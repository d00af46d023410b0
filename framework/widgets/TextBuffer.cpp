#include "TextBuffer.hpp"

#include <QStringEncoder>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace fw {

namespace {

// The longest piece that an edit copies: what stands beside an edit is joined with what it puts
// in while the joined piece stays this short, so that typing costs a short copy and leaves few
// pieces behind.
constexpr qsizetype kShortPiece = 4096;

// Below this many characters a text is searched on one thread.
constexpr qsizetype kSearchedApart = qsizetype{1} << 22;
constexpr qsizetype kMostSearchers = 8;

bool holdsCarriageReturn(const QString& text) {
    const qsizetype cores =
        std::max<qsizetype>(1, std::min<qsizetype>(kMostSearchers, std::thread::hardware_concurrency()));
    const qsizetype pieces = std::clamp<qsizetype>(text.size() / kSearchedApart, 1, cores);
    if (pieces == 1) return text.contains(QLatin1Char('\r'));
    std::atomic<bool> found = false;
    const auto search = [&](qsizetype k) {
        const qsizetype from = text.size() / pieces * k;
        const qsizetype to = k + 1 == pieces ? text.size() : text.size() / pieces * (k + 1);
        if (QStringView(text).sliced(from, to - from).contains(QLatin1Char('\r'))) found = true;
    };
    std::vector<std::jthread> searchers;
    for (qsizetype k = 1; k < pieces; ++k) {
        try {
            searchers.emplace_back(search, k);
        } catch (const std::system_error&) {
            search(k);
        }
    }
    search(0);
    searchers.clear();
    return found;
}

// How many bytes UTF-8 takes at most for the code units: one for each, one more for each from
// U+0080 on and one more again from U+0800 on, counted eight at a time where the processor
// compares eight at once.
qsizetype utf8RoomOf(const char16_t* units, qsizetype count) {
    qsizetype room = count;
    qsizetype i = 0;
#ifdef __SSE2__
    // Compared as signed numbers, offset so that the order of the unsigned code units holds.
    const __m128i offset = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i from80 = _mm_set1_epi16(static_cast<short>(0x7F ^ 0x8000));
    const __m128i from800 = _mm_set1_epi16(static_cast<short>(0x7FF ^ 0x8000));
    constexpr qsizetype kBlock = 8 * 4096;  // few enough for the 16-bit counts not to overflow
    while (i + 8 <= count) {
        __m128i counted = _mm_setzero_si128();
        const qsizetype blockEnd = std::min(count - count % 8, i + kBlock);
        for (; i < blockEnd; i += 8) {
            const __m128i u = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i)), offset);
            counted = _mm_sub_epi16(counted, _mm_cmpgt_epi16(u, from80));
            counted = _mm_sub_epi16(counted, _mm_cmpgt_epi16(u, from800));
        }
        alignas(16) std::uint16_t lanes[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), counted);
        for (const std::uint16_t lane : lanes) room += lane;
    }
#endif
    for (; i < count; ++i) room += (units[i] >= 0x80) + (units[i] >= 0x800);
    return room;
}

}  // namespace

void TextBuffer::readLineBreaks(QString& text) {
    if (!holdsCarriageReturn(text)) return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

TextBuffer::TextBuffer(QString text) {
    if (text.isEmpty()) return;
    const qsizetype length = text.size();
    pieces_.push_back({std::move(text), 0, length});
    starts_.push_back(0);
    size_ = length;
}

void TextBuffer::setPieces(std::vector<Piece> pieces) {
    std::vector<qsizetype> starts;
    starts.reserve(pieces.size());
    qsizetype size = 0;
    for (const Piece& piece : pieces) {
        starts.push_back(size);
        size += piece.length;
    }
    pieces_ = std::move(pieces);
    starts_ = std::move(starts);
    size_ = size;
}

std::size_t TextBuffer::pieceAt(qsizetype position) const {
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

QChar TextBuffer::at(qsizetype position) const {
    const std::size_t i = pieceAt(position);
    const Piece& piece = pieces_[i];
    return piece.text.at(piece.from + position - starts_[i]);
}

QStringView TextBuffer::stretch(qsizetype position) const {
    if (position >= size_) return {};
    const std::size_t i = pieceAt(position);
    return pieces_[i].view().sliced(position - starts_[i]);
}

QStringView TextBuffer::stretchBefore(qsizetype position) const {
    if (position <= 0) return {};
    const std::size_t i = pieceAt(position - 1);
    return pieces_[i].view().first(position - starts_[i]);
}

QString TextBuffer::mid(qsizetype position, qsizetype length) const {
    position = std::clamp<qsizetype>(position, 0, size_);
    const qsizetype end = length < 0 ? size_ : position + std::min(length, size_ - position);
    QString out;
    out.reserve(end - position);
    for (qsizetype at = position; at < end;) {
        const QStringView part = stretch(at).first(std::min(stretch(at).size(), end - at));
        out.append(part);
        at += part.size();
    }
    return out;
}

QString TextBuffer::toString() const {
    if (pieces_.empty()) return QString();
    const Piece& first = pieces_.front();
    if (pieces_.size() == 1 && first.from == 0 && first.length == first.text.size()) return first.text;
    QString joined(size_, Qt::Uninitialized);
    QChar* out = joined.data();
    for (const Piece& piece : pieces_) {
        std::memcpy(static_cast<void*>(out), piece.view().data(),
                    static_cast<std::size_t>(piece.length) * sizeof(QChar));
        out += piece.length;
    }
    // Kept joined, so that the next call costs nothing; the old strings go unless shared.
    std::vector<Piece> single{{joined, 0, size_}};
    std::vector<qsizetype> start{0};
    pieces_ = std::move(single);
    starts_ = std::move(start);
    return joined;
}

// The bytes are allocated once, for as many as the characters can take: a byte for each
// character below U+0080, two below U+0800, three for the rest, which is two more than a
// surrogate pair takes, and the UTF-8 is written straight into them by Qt's encoder.
QByteArray TextBuffer::toUtf8() const {
    QByteArray out(utf8Room(), Qt::Uninitialized);
    out.truncate(writeUtf8(out.data()) - out.constData());
    return out;
}

qsizetype TextBuffer::utf8Room() const {
    qsizetype room = 0;
    for (const Piece& piece : pieces_) room += utf8RoomOf(piece.view().utf16(), piece.length);
    return room;
}

char* TextBuffer::writeUtf8(char* out) const {
    QStringEncoder encoder(QStringEncoder::Utf8);
    for (const Piece& piece : pieces_) out = encoder.appendToBuffer(out, piece.view());
    return out;
}

void TextBuffer::copyPieces(std::vector<Piece>& out, qsizetype from, qsizetype to) const {
    if (from >= to) return;
    for (std::size_t i = pieceAt(from); i < pieces_.size() && starts_[i] < to; ++i) {
        const Piece& piece = pieces_[i];
        const qsizetype begin = std::max(from, starts_[i]);
        const qsizetype end = std::min(to, starts_[i] + piece.length);
        out.push_back({piece.text, piece.from + begin - starts_[i], end - begin});
    }
}

TextBuffer TextBuffer::slice(qsizetype position, qsizetype length) const {
    std::vector<Piece> pieces;
    copyPieces(pieces, position, position + length);
    TextBuffer sliced;
    sliced.setPieces(std::move(pieces));
    return sliced;
}

void TextBuffer::append(QString more) {
    if (more.isEmpty()) return;
    const qsizetype length = more.size();
    pieces_.reserve(pieces_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    pieces_.push_back({std::move(more), 0, length});
    starts_.push_back(size_);
    size_ += length;
}

// The new list of pieces is made in fresh memory, and takes the old one's place only once it
// stands; the short pieces at the edit are joined into one.
TextBuffer::Replaced TextBuffer::replace(qsizetype position, qsizetype length, TextBuffer with) {
    Replaced replaced;
    replaced.position = position;
    replaced.added = with.size();
    replaced.before = *this;
    replaced.removed = slice(position, length);

    std::vector<Piece> pieces;
    pieces.reserve(pieces_.size() + with.pieces_.size() + 2);
    copyPieces(pieces, 0, position);
    std::size_t first = pieces.size();
    for (Piece& piece : with.pieces_) pieces.push_back(std::move(piece));
    std::size_t end = pieces.size();
    copyPieces(pieces, position + length, size_);

    qsizetype joined = 0;
    for (std::size_t i = first; i < end; ++i) joined += pieces[i].length;
    if (first > 0 && pieces[first - 1].length + joined <= kShortPiece) joined += pieces[--first].length;
    if (end < pieces.size() && pieces[end].length + joined <= kShortPiece) joined += pieces[end++].length;
    if (end - first > 1 && joined <= kShortPiece) {
        QString one;
        one.reserve(joined);
        for (std::size_t i = first; i < end; ++i) one.append(pieces[i].view());
        pieces[first] = {std::move(one), 0, joined};
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(first + 1),
                     pieces.begin() + static_cast<std::ptrdiff_t>(end));
    }
    TextBuffer result;
    result.setPieces(std::move(pieces));
    *this = std::move(result);
    return replaced;
}

void TextBuffer::restore(Replaced&& replaced) noexcept { *this = std::move(replaced.before); }

}  // namespace fw
