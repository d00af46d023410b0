#pragma once

#include "Radix.hpp"

// The binary-reflected Gray code of n is n XOR (n >> 1). Both directions work
// on the bits as digits, most significant first, in one linear pass; going
// through shifts of a big integer instead would cost a pass per bit position.
namespace radixel::engine {

// Binary digits of n -> the bits of its Gray code.
void grayEncode(Digits& bits);

// The bits of a Gray code -> binary digits of the integer it stands for:
// each bit is the XOR of the code's bits from the most significant down to it.
void grayDecode(Digits& bits);

}  // namespace radixel::engine
