#include "ProductInPieces.hpp"

#include <algorithm>
#include <cstddef>

#include "ConversionStop.hpp"
#include "ParallelWork.hpp"

namespace radixel::engine {

namespace {

// A product of two operands of this many limbs takes GMP some tens of milliseconds.
constexpr std::size_t kProductPieceLimbs = std::size_t{1} << 20;

// The two halves of a number, cut at a limb: views of its limbs, which cost no allocation and
// stay valid while the number is left unchanged.
struct Halves {
    mpz_t low;
    mpz_t high;
};

Halves cut(mpz_srcptr x, std::size_t limbs) {
    const mp_limb_t* const all = mpz_limbs_read(x);
    const auto size = static_cast<mp_size_t>(mpz_size(x));
    auto lowSize = static_cast<mp_size_t>(limbs);
    while (lowSize > 0 && all[lowSize - 1] == 0) {
        --lowSize;
    }
    Halves halves;
    mpz_roinit_n(halves.low, all, lowSize);
    mpz_roinit_n(halves.high, all + limbs, size - static_cast<mp_size_t>(limbs));
    return halves;
}

// out = (high << bits) + low, freeing both.
void join(mpz_class& out, mpz_class& high, mpz_class& low, mp_bitcnt_t bits) {
    mpz_mul_2exp(out.get_mpz_t(), high.get_mpz_t(), bits);
    mpz_class().swap(high);
    out += low;
    mpz_class().swap(low);
}

}  // namespace

void productInPieces(mpz_class& out, mpz_srcptr a, mpz_srcptr b) {
    const std::size_t aLimbs = mpz_size(a);
    const std::size_t bLimbs = mpz_size(b);
    if (std::min(aLimbs, bLimbs) <= kProductPieceLimbs) {
        mpz_mul(out.get_mpz_t(), a, b);
        return;
    }
    checkStop();
    mpz_srcptr longer = aLimbs >= bLimbs ? a : b;
    mpz_srcptr shorter = aLimbs >= bLimbs ? b : a;
    const std::size_t half = std::max(aLimbs, bLimbs) / 2;
    const mp_bitcnt_t bits = half * GMP_NUMB_BITS;
    const Halves x = cut(longer, half);
    if (mpz_size(shorter) <= half) {
        // longer * shorter = (x.high * shorter << bits) + x.low * shorter
        mpz_class high;
        mpz_class low;
        inParallel([&] { productInPieces(low, x.low, shorter); }, [&] { productInPieces(high, x.high, shorter); });
        join(out, high, low, bits);
        return;
    }
    const Halves y = cut(shorter, half);
    // (x.high X + x.low)(y.high X + y.low) = z2 X^2 + (z1 - z2 - z0) X + z0, X = 2^bits
    mpz_class z0;
    mpz_class z1;
    mpz_class z2;
    {
        mpz_class xSum;
        mpz_class ySum;
        mpz_add(xSum.get_mpz_t(), x.high, x.low);
        mpz_add(ySum.get_mpz_t(), y.high, y.low);
        inParallel([&] { productInPieces(z1, xSum.get_mpz_t(), ySum.get_mpz_t()); },
                   [&] {
                       inParallel([&] { productInPieces(z0, x.low, y.low); },
                                  [&] { productInPieces(z2, x.high, y.high); });
                   });
    }
    z1 -= z0;
    z1 -= z2;
    mpz_class upper;
    join(upper, z2, z1, bits);
    join(out, upper, z0, bits);
}

}  // namespace radixel::engine
