#pragma once
// Where characters and words begin and end in a text view's text (framework use).

#include "TextBuffer.hpp"

#include <utility>

namespace fw {

// The places that the caret moves by and the mouse selects by, as Qt's own editors find them:
//
// - A character is a grapheme cluster as QTextBoundaryFinder finds it (an "e" and its combining
//   accent, the two halves of a flag, an emoji and its skin tone), read in a short stretch of
//   text around the place, since a cluster is never long.
// - A word is a run of characters that are neither white space nor one of the punctuation marks
//   Qt's editors stop at (every ASCII one but the underscore), or a run of those marks; white
//   space after a word goes with it. A line break ends a word and is a stop of its own. These
//   are not the words of QTextBoundaryFinder, which keeps "3.14" and "one.two" whole where Qt's
//   editors stop at the point.
//
// Each costs a few characters' reading, but for a word as long as the text, such as a number of
// a hundred million digits, which is read through.
class TextBoundaries {
public:
    static qsizetype nextCharacter(const TextBuffer& text, qsizetype position);
    static qsizetype previousCharacter(const TextBuffer& text, qsizetype position);
    // Ctrl+Right and Ctrl+Left: the start of the next word, the start of this or the last one.
    static qsizetype nextWord(const TextBuffer& text, qsizetype position);
    static qsizetype previousWord(const TextBuffer& text, qsizetype position);
    // What a double click at `position` selects, as [first, second); empty where it selects
    // nothing, as at the end of a line after a blank.
    static std::pair<qsizetype, qsizetype> wordAt(const TextBuffer& text, qsizetype position);
    // The start of the word at or after `position`, and the end of the word from `position` on:
    // the ends a selection made by words snaps to.
    static qsizetype startOfWord(const TextBuffer& text, qsizetype position);
    static qsizetype endOfWord(const TextBuffer& text, qsizetype position);
    // The line from line break to line break that holds `position`: its first character and the
    // place of its line break (or the text's end).
    static std::pair<qsizetype, qsizetype> paragraphAt(const TextBuffer& text, qsizetype position);
    static bool isSeparator(char16_t c);
};

}  // namespace fw
