#pragma once
// The text under which the conversion component publishes its one function and by which the
// program's binding looks it up. Both sides take it from here, so they cannot drift apart.

namespace radixel {

inline constexpr char kxConvBaseSignatureText[] =
    "kxConvBase(inStr As String, baseTo As Integer, baseFrom As Integer, numPlaces As Integer, "
    "toUpperCase As Boolean) As String";

}  // namespace radixel
