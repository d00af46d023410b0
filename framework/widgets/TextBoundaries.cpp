#include "TextBoundaries.hpp"

#include <QChar>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace fw {

namespace {

// A cluster is read in a stretch around its place this long on either side, or longer where
// one is longer.
constexpr qsizetype kClusterReach = 32;

bool isSpace(char16_t c) { return c != u'\n' && QChar::isSpace(c); }

template <class Keep>
qsizetype forwardWhile(const TextBuffer& text, qsizetype from, Keep keep) {
    for (qsizetype at = from; at < text.size();) {
        const QStringView stretch = text.stretch(at);
        for (const QChar c : stretch) {
            if (!keep(c.unicode())) return at;
            ++at;
        }
    }
    return text.size();
}

template <class Keep>
qsizetype backwardWhile(const TextBuffer& text, qsizetype from, Keep keep) {
    for (qsizetype at = from; at > 0;) {
        const QStringView stretch = text.stretchBefore(at);
        for (qsizetype i = stretch.size(); i > 0; --i) {
            if (!keep(stretch[i - 1].unicode())) return at;
            --at;
        }
    }
    return 0;
}

bool inWord(char16_t c) { return !QChar::isSpace(c) && !TextBoundaries::isSeparator(c); }
bool atParagraphStart(const TextBuffer& text, qsizetype at) { return at == 0 || text.at(at - 1) == u'\n'; }
bool atParagraphEnd(const TextBuffer& text, qsizetype at) { return at >= text.size() || text.at(at) == u'\n'; }

// Where a stretch read for clusters may start: where no cluster can have begun before, at a line
// break or after a character that no following one joins.
qsizetype clusterSafeBefore(const TextBuffer& text, qsizetype position) {
    qsizetype from = std::max<qsizetype>(0, position - kClusterReach);
    while (from > 0 && position - from < 8 * kClusterReach) {
        const char16_t c = text.at(from - 1).unicode();
        if (c < 0x300 && c != u'\r') break;
        --from;
    }
    return from;
}

qsizetype clusterBoundary(const TextBuffer& text, qsizetype position, bool next) {
    const qsizetype size = text.size();
    const qsizetype from = clusterSafeBefore(text, position);
    for (qsizetype reach = kClusterReach;; reach *= 2) {
        const qsizetype to = std::min(size, position + reach);
        const QString stretch = text.mid(from, to - from);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, stretch);
        finder.setPosition(position - from);
        const qsizetype found = next ? finder.toNextBoundary() : finder.toPreviousBoundary();
        if (found < 0) return next ? size : 0;
        // The end of the stretch is a boundary only where it is the end of the text.
        if (!next || from + found < to || to == size) return from + found;
    }
}

}  // namespace

// Every ASCII mark but the underscore, which Qt's editors take for part of a word.
bool TextBoundaries::isSeparator(char16_t c) {
    return (c >= u'!' && c <= u'/') || (c >= u':' && c <= u'@') || (c >= u'[' && c <= u'`' && c != u'_') ||
           (c >= u'{' && c <= u'~');
}

qsizetype TextBoundaries::nextCharacter(const TextBuffer& text, qsizetype position) {
    if (position >= text.size()) return text.size();
    return clusterBoundary(text, position, true);
}

qsizetype TextBoundaries::previousCharacter(const TextBuffer& text, qsizetype position) {
    if (position <= 0) return 0;
    return clusterBoundary(text, position, false);
}

// A line break is a stop of its own: from a line's end the next word starts the next line.
qsizetype TextBoundaries::nextWord(const TextBuffer& text, qsizetype position) {
    if (position >= text.size()) return text.size();
    if (text.at(position) == u'\n') return position + 1;
    if (isSeparator(text.at(position).unicode())) position = forwardWhile(text, position + 1, isSeparator);
    else position = forwardWhile(text, position, inWord);
    return forwardWhile(text, position, isSpace);
}

qsizetype TextBoundaries::previousWord(const TextBuffer& text, qsizetype position) {
    if (position <= 0) return 0;
    if (text.at(position - 1) == u'\n') return position - 1;
    position = backwardWhile(text, position, isSpace);
    if (position > 0 && isSeparator(text.at(position - 1).unicode())) return backwardWhile(text, position, isSeparator);
    return backwardWhile(text, position, inWord);
}

qsizetype TextBoundaries::startOfWord(const TextBuffer& text, qsizetype position) {
    if (atParagraphStart(text, position)) return position;
    if (atParagraphEnd(text, position)) {
        const char16_t before = text.at(position - 1).unicode();
        if (QChar::isSpace(before) || isSeparator(before)) return position;
        return previousWord(text, position);
    }
    return previousWord(text, position + 1);
}

qsizetype TextBoundaries::endOfWord(const TextBuffer& text, qsizetype position) {
    if (atParagraphEnd(text, position)) return position;
    if (isSeparator(text.at(position).unicode())) return forwardWhile(text, position + 1, isSeparator);
    return forwardWhile(text, position, inWord);
}

std::pair<qsizetype, qsizetype> TextBoundaries::wordAt(const TextBuffer& text, qsizetype position) {
    const qsizetype start = startOfWord(text, position);
    return {start, endOfWord(text, start)};
}

std::pair<qsizetype, qsizetype> TextBoundaries::paragraphAt(const TextBuffer& text, qsizetype position) {
    const auto notBreak = [](char16_t c) { return c != u'\n'; };
    return {backwardWhile(text, position, notBreak), forwardWhile(text, position, notBreak)};
}

}  // namespace fw
