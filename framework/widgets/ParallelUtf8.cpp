#include "ParallelUtf8.hpp"

#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace fw::parallelutf8 {

namespace {

// Below this a piece is not worth a thread of its own: starting one costs about what decoding
// a few hundred kilobytes does.
constexpr std::size_t kBytesAPiece = std::size_t{4} << 20;
// Decoding is bound by memory's bandwidth, which a few cores use up.
constexpr unsigned kMostPieces = 8;

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Decodes one piece into out, which has room for one character a byte (UTF-8 never takes fewer
// bytes than UTF-16 takes units), and returns how many it wrote. Every piece but the first
// starts at a byte that begins a sequence, where a decoder of the whole text starts afresh too,
// so the pieces decode as the whole would. fromUtf8 drops a byte order mark at the start of the
// text only: one at the start of a later piece stays a character.
qsizetype decodePiece(std::string_view piece, QChar* out, bool first) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           first ? QStringConverter::Flag::Stateless
                                 : QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QChar* end = decoder.appendToBuffer(out, QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
    return end - out;
}

// Runs work(k) for every piece k at once: piece 0 on this thread, each other on a thread of its
// own, or on this one too when no thread is to be had.
template <class Work>
void inPieces(std::size_t pieces, const Work& work) {
    std::vector<std::thread> helpers;
    for (std::size_t k = 1; k < pieces; ++k) {
        try {
            helpers.emplace_back(work, k);
        } catch (const std::system_error&) {
            work(k);
        }
    }
    work(0);
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace

int PiecesFor(std::size_t bytes) {
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), kMostPieces));
    return static_cast<int>(std::clamp<std::size_t>(bytes / kBytesAPiece, 1, cores));
}

QString Decode(std::string_view bytes, int pieces) {
    if (pieces <= 1 || bytes.size() < static_cast<std::size_t>(pieces))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));

    std::vector<std::size_t> starts{0};
    for (int k = 1; k < pieces; ++k) {
        std::size_t at =
            std::max(starts.back(), bytes.size() * static_cast<std::size_t>(k) / static_cast<std::size_t>(pieces));
        while (at < bytes.size() && isContinuation(bytes[at])) ++at;
        starts.push_back(at);
    }
    starts.push_back(bytes.size());

    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    std::vector<qsizetype> written(static_cast<std::size_t>(pieces), 0);
    const auto decode = [&](std::size_t k) {
        written[k] = decodePiece(bytes.substr(starts[k], starts[k + 1] - starts[k]), out + starts[k], k == 0);
    };
    inPieces(written.size(), decode);

    // Pieces that held sequences of several bytes came out shorter than their room: the later
    // ones move down to close the gaps.
    qsizetype length = written[0];
    for (std::size_t k = 1; k < written.size(); ++k) {
        const auto from = static_cast<qsizetype>(starts[k]);
        if (from != length)
            std::memmove(out + length, out + from, static_cast<std::size_t>(written[k]) * sizeof(QChar));
        length += written[k];
    }
    text.truncate(length);
    // A text mostly of long sequences would keep room for up to three times its characters.
    if (length < text.capacity() / 2) text.squeeze();
    return text;
}

}  // namespace fw::parallelutf8
