#pragma once
// UTF-8 into UTF-16 and back for texts of up to billions of characters, cut into pieces that
// the machine's cores work on at once (framework use; tests reach it to try the joins of the
// pieces).

#include "framework/String.hpp"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <string_view>

namespace fw::parallelutf8 {

// How many pieces a text of that many bytes is best cut into: one for all but long texts.
int PiecesFor(std::size_t bytes);

// The characters that QString::fromUtf8 makes of the bytes, invalid sequences included, decoded
// in the given number of pieces at once. Raises std::bad_alloc when memory cannot hold them.
QString Decode(std::string_view bytes, int pieces);

// The text in UTF-8 with every LF written as CR, as a text area hands its text to the program. A
// long text of ASCII alone, as numbers are, is narrowed in pieces at once into bytes of its own,
// which the string adopts, so that they are not copied again on their way.
String EncodeWithCarriageReturns(QStringView text);

}  // namespace fw::parallelutf8
