#pragma once

#include <cstddef>

// The sizes at which the digit codecs change their method, timed on this project's machine
// (8 cores; GMP 6.2). Tests straddle each of them.
namespace radixel::engine {

// Above base 256, runs of at most this many limbs' worth of digits are read by Horner's rule
// over groups of digits that fit in one limb: below it the products of a split are too small
// for GMP's Karatsuba and Toom multiplication to pay. Timed on runs of 10^6 digits, 8 to 16
// limbs were best and 24 or more measurably slower.
inline constexpr std::size_t kSetBaseCaseLimbs = 16;

// Above base 256, numbers of at most this many limbs are written by repeated division by the
// largest power of the base that fits in a limb, for the same reason: GMP's fast division needs
// size. Timed on 10^6-digit numbers, 16 limbs was best, 8 and 32 a few percent slower.
inline constexpr std::size_t kGetBaseCaseLimbs = 16;

// Runs and numbers of at most this many digits stay on one thread. Their halves take about a
// millisecond, against some tens of microseconds to start a thread, and GMP's codecs do such a
// run in one call faster than in two and a join: timed from decimal to base 7, two threads
// were 6% faster at 10^5 digits and 12% slower at 5 * 10^4, with the power-of-two cuts of the
// table leaving one piece much shorter than the other.
inline constexpr std::size_t kParallelMinDigits = 100000;

// Above that, work is split into pieces of at least half as many digits, and about this many
// pieces a thread, so that a thread that ends early takes up another piece while the slower ones
// finish. Timed at 10^8 decimal digits to hex, 2 pieces a thread were best, 1 and 4 some 15 to
// 25% slower, 8 two thirds slower.
inline constexpr std::size_t kPiecesPerThread = 2;

}  // namespace radixel::engine
