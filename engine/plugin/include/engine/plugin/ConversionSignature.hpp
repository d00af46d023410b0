#pragma once
// The texts under which the conversion component publishes its functions and by which the
// program's binding looks them up. Both sides take them from here, so they cannot drift apart.

namespace radixel {

inline constexpr char kxConvBaseSignatureText[] =
    "kxConvBase(inStr As String, baseTo As Integer, baseFrom As Integer, numPlaces As Integer, "
    "toUpperCase As Boolean) As String";

// Called as void() from any thread: every conversion of the component that is running at the
// moment of the call ends soon after with a text that its caller drops; a conversion that starts
// after the call runs as usual. A component without this entry still converts; its caller then
// waits a stopped conversion out and drops what it returns.
inline constexpr char kxConvBaseStopSignatureText[] = "kxConvBaseStop()";

}  // namespace radixel
