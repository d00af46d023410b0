#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace radixel {

// Converts the number written in `inStr` in base `baseFrom` into base `baseTo`
// (each 2..65536, or 1 for a binary-reflected Gray code of a non-negative
// integer). The result keeps the input's form: an integer stays an exact
// integer; a number with a base point or a fraction "n/d" gets at most
// `numPlaces` places, rounded to nearest with halves away from zero, without
// trailing zeros or a bare point; a number with an exponent ("e" in base 10,
// "b^" otherwise) comes back with one non-zero digit before the point and
// the exponent in the target base. Digits from 36 up are written "<v>"; letter
// digits are upper case when `toUpperCase` is true, lower case otherwise, and
// markers always lower case. Zero is "0", never "-0". Input is read
// tolerantly (blanks and line breaks anywhere, "+", letters in either case).
// Nothing throws: bad input, work beyond the memory that the machine and the
// process's limits leave (refused before it starts), and an allocation that
// fails all the same give a short message naming the problem and where it is,
// e.g. "Not a digit in base 10: 'G' at character 5". Work on long numbers runs
// on several threads, each of which has ended when the call returns.
std::string convert(std::string_view inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                    bool toUpperCase);

// Ends every conversion running at the moment of the call, on whatever thread it runs and on
// every thread that works for it: each returns kStopped soon after, having freed what it held.
// A conversion that starts after the call runs as usual. Safe from any thread at any time.
void stopConversions() noexcept;

// The answers that depend on no input, given by the engine and by the component around it
// alike. The component gives the first and the last without allocating, so they stand as
// constants. A stopped conversion's answer is for its caller to drop, never to show.
inline constexpr std::string_view kOutOfMemory = "Out of memory";
inline constexpr std::string_view kInternalFault = "Cannot convert: internal fault";
inline constexpr std::string_view kStopped = "Stopped";

}  // namespace radixel
