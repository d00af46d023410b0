// Digits to a big integer, by the shape of the base:
//  - a power of two 2^k: the digits are k-bit fields, packed into limbs in one
//    pass from the least significant end;
//  - other bases up to 256: GMP's mpn_set_str, which takes raw digit values;
//  - other bases above 256: divide and conquer. The run is cut at a power
//    base^(chunk * 2^j) taken from a table, so value = high * power + low,
//    each half converted the same way; runs of at most one chunk use Horner's
//    rule over groups of digits that fit in one limb.
// A long run of a base up to 256 is cut the same way into pieces for GMP, and
// the halves of every cut above kParallelMinDigits are read on threads of their
// own while the conversion has threads to spare; the table's large powers are
// built on one more thread meanwhile. The value is the same whichever thread
// reads which half.
#include "DigitsToInteger.hpp"

#include <algorithm>
#include <vector>

#include "CodecThresholds.hpp"
#include "ConversionStop.hpp"
#include "DigitGroups.hpp"
#include "ParallelWork.hpp"
#include "PowerTable.hpp"
#include "Radix.hpp"

namespace radixel::engine {

namespace {

mpz_class fromPowerOfTwo(const std::uint16_t* digits, std::size_t count, unsigned bitsPerDigit) {
    const std::size_t limbs = (count * bitsPerDigit + GMP_NUMB_BITS - 1) / GMP_NUMB_BITS;
    mpz_class result;
    mp_limb_t* out = mpz_limbs_write(result.get_mpz_t(), static_cast<mp_size_t>(limbs));
    mp_limb_t* const first = out;
    mp_limb_t accumulated = 0;
    unsigned filled = 0;
    StopCountdown countdown;
    for (std::size_t i = count; i-- > 0;) {
        countdown.tick();
        const auto value = static_cast<mp_limb_t>(digits[i]);
        accumulated |= value << filled;
        if (filled + bitsPerDigit >= GMP_NUMB_BITS) {
            *out++ = accumulated;
            // filled > 0 here, since a digit has at most 16 bits.
            accumulated = value >> (GMP_NUMB_BITS - filled);
            filled = filled + bitsPerDigit - GMP_NUMB_BITS;
        } else {
            filled += bitsPerDigit;
        }
    }
    if (filled > 0) {
        *out++ = accumulated;
    }
    mpz_limbs_finish(result.get_mpz_t(), out - first);
    return result;
}

void fromSmallBase(const std::uint16_t* digits, std::size_t count, std::uint32_t base, mpz_class& result) {
    std::vector<unsigned char> raw(count);
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        std::copy(digits + begin, digits + end, raw.data() + begin);
    });
    const double bits = static_cast<double>(count) * log2Of(base);
    // mpn_set_str wants room for the largest value of that many digits plus one limb.
    const auto limbs = static_cast<mp_size_t>(bits / kLimbBits) + 2;
    mp_limb_t* out = mpz_limbs_write(result.get_mpz_t(), limbs);
    const mp_size_t used = mpn_set_str(out, raw.data(), count, static_cast<int>(base));
    mpz_limbs_finish(result.get_mpz_t(), used);
}

// The pieces that a run of `count` digits is cut into for `threads` threads: at least
// kParallelMinDigits, and about kPiecesPerThread a thread.
std::size_t pieceDigits(std::size_t count, unsigned threads) {
    return std::max(kParallelMinDigits, count / (static_cast<std::size_t>(threads) * kPiecesPerThread));
}

class DivideAndConquerReader {
public:
    DivideAndConquerReader(std::uint32_t base, std::size_t count, unsigned threads)
        : base_(base),
          group_(limbGroupOf(base)),
          pieceDigits_(pieceDigits(count, threads)),
          table_(base, base <= kGmpMaxBase ? pieceDigits_ : std::max(group_.digits, kSetBaseCaseLimbs * group_.digits),
                 count) {}

    void readAll(const std::uint16_t* digits, std::size_t count, mpz_class& out) {
        inParallel([&] { read(digits, count, out); }, [&] { table_.buildAll(); });
    }

private:
    void read(const std::uint16_t* digits, std::size_t count, mpz_class& out) {
        checkStop();
        if (count <= table_.chunkDigits()) {
            if (base_ <= kGmpMaxBase) {
                fromSmallBase(digits, count, base_, out);
            } else {
                horner(digits, count, out);
            }
            return;
        }
        const std::size_t lowDigits = table_.digitsBelow(count);
        mpz_class high;
        const auto readHigh = [&] { read(digits, count - lowDigits, high); };
        const auto readLow = [&] { read(digits + (count - lowDigits), lowDigits, out); };
        if (count > pieceDigits_) {
            inParallel(readLow, readHigh);
        } else {
            readHigh();
            readLow();
        }
        const PowerTable::Power& power = table_.below(count);
        high *= power.odd;
        mpz_mul_2exp(high.get_mpz_t(), high.get_mpz_t(), power.shift);
        out += high;
    }

    void horner(const std::uint16_t* digits, std::size_t count, mpz_class& out) const {
        out = 0;
        forEachDigitGroup(digits, count, group_.digits, base_, [&out](std::uint64_t group, std::uint64_t scale) {
            mpz_mul_ui(out.get_mpz_t(), out.get_mpz_t(), scale);
            mpz_add_ui(out.get_mpz_t(), out.get_mpz_t(), group);
        });
    }

    std::uint32_t base_;
    LimbGroup group_;
    std::size_t pieceDigits_;
    PowerTable table_;
};

}  // namespace

mpz_class digitsToInteger(const std::uint16_t* digits, std::size_t count, std::uint32_t base) {
    const std::size_t zeros = leadingZeros(digits, count);
    digits += zeros;
    count -= zeros;
    if (count == 0) {
        return 0;
    }
    if (const unsigned bits = powerOfTwoExponent(base); bits > 0) {
        return fromPowerOfTwo(digits, count, bits);
    }
    mpz_class result;
    const ConversionThreads* threads = ConversionThreads::current();
    const unsigned threadCount = threads != nullptr ? threads->threads() : 1;
    if (base <= kGmpMaxBase && (threadCount == 1 || count <= kParallelMinDigits)) {
        fromSmallBase(digits, count, base, result);
        return result;
    }
    DivideAndConquerReader(base, count, threadCount).readAll(digits, count, result);
    return result;
}

}  // namespace radixel::engine
