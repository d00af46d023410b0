#pragma once
// UTF-8 into UTF-16 for texts of up to billions of characters, cut into pieces that the
// machine's cores work on at once (framework use; tests reach it to try the joins of the
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

}  // namespace fw::parallelutf8
