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

// Runs and numbers of fewer digits than this stay on one thread: their halves take under a
// millisecond, against some tens of microseconds to start a thread.
inline constexpr std::size_t kParallelMinDigits = 50000;

// Above that, work is split into about this many pieces a thread, so that a thread that ends
// early takes up another piece while the slower ones finish.
inline constexpr std::size_t kPiecesPerThread = 2;

}  // namespace radixel::engine
