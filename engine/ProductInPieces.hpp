#pragma once

#include <gmpxx.h>

namespace radixel::engine {

// out = a * b for a, b >= 0, out distinct from both. GMP does a product in one call that a stop
// cannot reach into: its largest FFT products run a second and more without an allocation. So
// products whose operands both have more than kProductPieceLimbs limbs are split by Karatsuba's
// method into three of half the size, again and again, with a check for a stop before each and
// the three on threads of their own while the conversion has some to spare: no single GMP call
// then runs longer than a tenth of a second, and the pieces together take about half the time
// of the one product, for half as much work again and the partial products held at once.
void productInPieces(mpz_class& out, mpz_srcptr a, mpz_srcptr b);

}  // namespace radixel::engine
