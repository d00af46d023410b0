#pragma once
// Conversions between text and numbers as the program's fields need them.

#include "String.hpp"

#include <cstdint>

namespace fw {

// The leading decimal number of the text (blanks before it allowed, a sign, a fraction part
// and an exponent read as well); 0 when the text begins with no number.
double CDbl(const String& text);

// Toward zero; NaN gives 0, and values outside the 32-bit range clamp to its ends.
std::int32_t RuntimeCvtReal64ToSInt32(double value);

// Decimal text of the value; an empty format gives the shortest plain form ("8", "-2.5").
String Str(double value, const String& format = String());

// 0 when the two are equal, negative when a sorts before b, positive otherwise (bytewise).
int RuntimeStringCompare(const String& a, const String& b);

}  // namespace fw
