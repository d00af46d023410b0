// A big integer to digits, by the shape of the base:
//  - a power of two 2^k: the digits are k-bit fields of the limbs, taken in
//    one pass from the least significant end;
//  - other bases up to 256: GMP's mpn_get_str, which gives raw digit values;
//  - other bases above 256: divide and conquer. A number of n digits is split
//    by a power base^(chunk * 2^j) from a table into quotient and remainder,
//    each written the same way into its own stretch of the output; numbers of
//    at most one chunk take digits off the bottom by repeated division by the
//    largest power of the base that fits in a limb.
// A long number in a base up to 256 is split the same way into pieces for GMP,
// and the halves of every split above kParallelMinDigits are written on threads
// of their own while the conversion has threads to spare; each writes its own
// stretch of the output, so the digits are the same whichever thread writes them.
#include "IntegerToDigits.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "CodecThresholds.hpp"
#include "ConversionStop.hpp"
#include "ParallelWork.hpp"
#include "PowerTable.hpp"

namespace radixel::engine {

namespace {

// Enough digits for any value below 2^bits; one spare covers rounding in the logarithm.
std::size_t digitBound(std::size_t bits, std::uint32_t base) {
    return static_cast<std::size_t>(static_cast<double>(bits) / log2Of(base)) + 2;
}

// Writes the k-bit fields of x into out[0, len), most significant first.
void toPowerOfTwo(const mpz_class& x, unsigned bitsPerDigit, std::uint16_t* out, std::size_t len) {
    const mp_limb_t* limbs = mpz_limbs_read(x.get_mpz_t());
    const std::size_t limbCount = mpz_size(x.get_mpz_t());
    const mp_limb_t mask = (mp_limb_t{1} << bitsPerDigit) - 1;
    std::size_t nextLimb = 0;
    mp_limb_t current = 0;
    unsigned available = 0;
    StopCountdown countdown;
    for (std::size_t i = len; i-- > 0;) {
        countdown.tick();
        mp_limb_t value = 0;
        if (available >= bitsPerDigit) {
            value = current & mask;
            current >>= bitsPerDigit;
            available -= bitsPerDigit;
        } else {
            const mp_limb_t next = nextLimb < limbCount ? limbs[nextLimb++] : 0;
            value = (current | (next << available)) & mask;
            const unsigned fromNext = bitsPerDigit - available;
            current = next >> fromNext;
            available = GMP_NUMB_BITS - fromNext;
        }
        out[i] = static_cast<std::uint16_t>(value);
    }
}

// Writes the digits of x into out[0, len) via mpn_get_str; x < base^len.
void toSmallBase(const mpz_class& x, std::uint32_t base, std::uint16_t* out, std::size_t len) {
    const std::size_t limbCount = mpz_size(x.get_mpz_t());
    if (limbCount == 0) {
        std::fill(out, out + len, std::uint16_t{0});
        return;
    }
    // mpn_get_str overwrites its operand.
    std::vector<mp_limb_t> scratch(mpz_limbs_read(x.get_mpz_t()), mpz_limbs_read(x.get_mpz_t()) + limbCount);
    std::vector<unsigned char> raw(static_cast<std::size_t>(static_cast<double>(limbCount) * kLimbBits / log2Of(base)) +
                                   2);
    const std::size_t produced =
        mpn_get_str(raw.data(), static_cast<int>(base), scratch.data(), static_cast<mp_size_t>(limbCount));
    std::size_t skip = 0;
    while (produced - skip > len) {
        ++skip;
    }
    const std::size_t pad = len - (produced - skip);
    std::fill(out, out + pad, std::uint16_t{0});
    forEachSpan(produced - skip, [&](std::size_t begin, std::size_t end) {
        std::copy(raw.data() + skip + begin, raw.data() + skip + end, out + pad + begin);
    });
}

std::size_t pieceDigits(std::size_t len, unsigned threads) {
    return std::max(kParallelMinDigits, len / (static_cast<std::size_t>(threads) * kPiecesPerThread));
}

class DivideAndConquerWriter {
public:
    DivideAndConquerWriter(std::uint32_t base, std::size_t len, unsigned threads)
        : base_(base),
          group_(limbGroupOf(base)),
          pieceDigits_(pieceDigits(len, threads)),
          table_(base, base <= kGmpMaxBase ? pieceDigits_ : std::max(group_.digits, kGetBaseCaseLimbs * group_.digits),
                 len) {}

    // Writes out[0, len) with the digits of x < base^len, and frees x's limbs as soon as its
    // halves stand apart.
    void write(mpz_class& x, std::size_t len, std::uint16_t* out) {
        checkStop();
        if (len <= table_.chunkDigits()) {
            if (base_ <= kGmpMaxBase) {
                toSmallBase(x, base_, out, len);
            } else {
                baseCase(x, len, out);
            }
            return;
        }
        const PowerTable::Power& power = table_.below(len);
        mpz_class quotient;
        mpz_class remainder;
        {
            mpz_class shifted;
            mpz_tdiv_q_2exp(shifted.get_mpz_t(), x.get_mpz_t(), power.shift);
            mpz_tdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), shifted.get_mpz_t(), power.odd.get_mpz_t());
        }
        mpz_mul_2exp(remainder.get_mpz_t(), remainder.get_mpz_t(), power.shift);
        {
            mpz_class lowBits;
            mpz_tdiv_r_2exp(lowBits.get_mpz_t(), x.get_mpz_t(), power.shift);
            remainder += lowBits;
        }
        mpz_class().swap(x);
        const auto writeHigh = [&] { write(quotient, len - power.digits, out); };
        const auto writeLow = [&] { write(remainder, power.digits, out + (len - power.digits)); };
        if (len > pieceDigits_) {
            inParallel(writeLow, writeHigh);
        } else {
            writeHigh();
            writeLow();
        }
    }

private:
    // x < base^len has at most kGetBaseCaseLimbs limbs here.
    void baseCase(const mpz_class& x, std::size_t len, std::uint16_t* out) const {
        std::array<mp_limb_t, kGetBaseCaseLimbs + 1> scratch{};
        std::size_t size = mpz_size(x.get_mpz_t());
        std::copy(mpz_limbs_read(x.get_mpz_t()), mpz_limbs_read(x.get_mpz_t()) + size, scratch.data());
        std::size_t end = len;
        while (end > 0) {
            mp_limb_t group = 0;
            if (size > 0) {
                group = mpn_divrem_1(scratch.data(), 0, scratch.data(), static_cast<mp_size_t>(size), group_.power);
                while (size > 0 && scratch[size - 1] == 0) {
                    --size;
                }
            }
            for (std::size_t k = 0; k < group_.digits && end > 0; ++k) {
                out[--end] = static_cast<std::uint16_t>(group % base_);
                group /= base_;
            }
        }
    }

    std::uint32_t base_;
    LimbGroup group_;
    std::size_t pieceDigits_;
    PowerTable table_;
};

}  // namespace

Digits integerToDigits(const mpz_class& x, std::uint32_t base, std::size_t minDigits) {
    minDigits = std::max<std::size_t>(minDigits, 1);
    if (x == 0) {
        return Digits(minDigits, 0);
    }
    const std::size_t bits = mpz_sizeinbase(x.get_mpz_t(), 2);
    const unsigned bitsPerDigit = powerOfTwoExponent(base);
    const std::size_t natural = bitsPerDigit > 0 ? (bits + bitsPerDigit - 1) / bitsPerDigit : digitBound(bits, base);
    Digits digits(std::max(natural, minDigits), 0);
    std::uint16_t* const tail = digits.data() + (digits.size() - natural);
    if (bitsPerDigit > 0) {
        toPowerOfTwo(x, bitsPerDigit, tail, natural);
    } else {
        const ConversionThreads* threads = ConversionThreads::current();
        const unsigned threadCount = threads != nullptr ? threads->threads() : 1;
        if (base <= kGmpMaxBase && (threadCount == 1 || natural <= kParallelMinDigits)) {
            toSmallBase(x, base, tail, natural);
        } else {
            mpz_class value = x;
            DivideAndConquerWriter(base, natural, threadCount).write(value, natural, tail);
        }
    }
    const std::size_t excess = std::min(leadingZeros(digits), digits.size() - minDigits);
    digits.erase(digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(excess));
    return digits;
}

}  // namespace radixel::engine
