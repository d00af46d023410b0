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

// The engine's digit array.
class DigitArray {
public:
    explicit DigitArray(const std::uint16_t* digits) : digits_(digits) {}
    std::uint16_t operator[](std::size_t i) const { return digits_[i]; }

private:
    const std::uint16_t* digits_;
};

// Digit values read straight off text that holds only plain digits, each character through the
// table of plain digits.
class PlainText {
public:
    PlainText(std::string_view text, const PlainDigitTable& values) : text_(text), values_(values) {}
    std::uint16_t operator[](std::size_t i) const { return values_[static_cast<unsigned char>(text_[i])]; }

private:
    std::string_view text_;
    const PlainDigitTable& values_;
};

// Characters checked by one thread at a time; a few hundred microseconds of work.
constexpr std::size_t kCheckedCharactersAtOnce = std::size_t{1} << 20;

// Whether every character of `text` is a plain digit, its halves checked on threads of their own.
bool allPlainDigits(std::string_view text, const PlainDigitTable& values) {
    if (text.size() > kCheckedCharactersAtOnce) {
        const std::size_t half = text.size() / 2;
        bool low = false;
        bool high = false;
        inParallel([&] { low = allPlainDigits(text.substr(half), values); },
                   [&] { high = allPlainDigits(text.substr(0, half), values); });
        return low && high;
    }
    bool plain = true;
    forEachSpan(text.size(), [&](std::size_t begin, std::size_t end) {
        std::uint16_t seen = 0;
        for (std::size_t i = begin; i < end; ++i) {
            seen |= values[static_cast<unsigned char>(text[i])];
        }
        plain = plain && seen != kNotPlainDigit;
    });
    return plain;
}

// Digits that one thread packs at a time: a multiple of 64, so that a piece of them always
// fills whole limbs, whatever the digit's width in bits.
constexpr std::size_t kPackedDigitsAtOnce = std::size_t{1} << 20;

// Packs the digits [below, below + count) of the run [first, first + total), counted from its
// least significant end, as k-bit fields into the limbs from out + below * k / 64 on; below * k
// is a multiple of the limb's bits, and so is count * k unless the piece is the run's top one.
template <typename Source>
void packBits(const Source& digits, std::size_t first, std::size_t total, unsigned bitsPerDigit, mp_limb_t* out,
              std::size_t below, std::size_t count) {
    if (count > kPackedDigitsAtOnce) {
        const std::size_t half = std::max<std::size_t>(1, count / 2 / kPackedDigitsAtOnce) * kPackedDigitsAtOnce;
        inParallel([&] { packBits(digits, first, total, bitsPerDigit, out, below, half); },
                   [&] { packBits(digits, first, total, bitsPerDigit, out, below + half, count - half); });
        return;
    }
    out += below * bitsPerDigit / GMP_NUMB_BITS;
    mp_limb_t accumulated = 0;
    unsigned filled = 0;
    StopCountdown countdown;
    const std::size_t end = first + total - below;
    for (std::size_t i = end; i-- > end - count;) {
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
        *out = accumulated;
    }
}

template <typename Source>
mpz_class fromPowerOfTwo(const Source& digits, std::size_t first, std::size_t count, unsigned bitsPerDigit) {
    const std::size_t limbs = (count * bitsPerDigit + GMP_NUMB_BITS - 1) / GMP_NUMB_BITS;
    mpz_class result;
    mp_limb_t* const out = mpz_limbs_write(result.get_mpz_t(), static_cast<mp_size_t>(limbs));
    packBits(digits, first, count, bitsPerDigit, out, 0, count);
    mpz_limbs_finish(result.get_mpz_t(), static_cast<mp_size_t>(limbs));
    return result;
}

template <typename Source>
void fromSmallBase(const Source& digits, std::size_t first, std::size_t count, std::uint32_t base, mpz_class& result) {
    std::vector<unsigned char> raw(count);
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            raw[i] = static_cast<unsigned char>(digits[first + i]);
        }
    });
    const double bits = static_cast<double>(count) * log2Of(base);
    // mpn_set_str wants room for the largest value of that many digits plus one limb.
    const auto limbs = static_cast<mp_size_t>(bits / kLimbBits) + 2;
    mp_limb_t* out = mpz_limbs_write(result.get_mpz_t(), limbs);
    const mp_size_t used = mpn_set_str(out, raw.data(), count, static_cast<int>(base));
    mpz_limbs_finish(result.get_mpz_t(), used);
}

// The pieces that a run of `count` digits is cut into for `threads` threads: at least half of
// kParallelMinDigits, and about kPiecesPerThread a thread.
std::size_t pieceDigits(std::size_t count, unsigned threads) {
    return std::max(kParallelMinDigits / 2, count / (static_cast<std::size_t>(threads) * kPiecesPerThread));
}

template <typename Source>
class DivideAndConquerReader {
public:
    DivideAndConquerReader(const Source& digits, std::uint32_t base, std::size_t count, unsigned threads)
        : digits_(digits),
          base_(base),
          group_(limbGroupOf(base)),
          pieceDigits_(pieceDigits(count, threads)),
          table_(base, base <= kGmpMaxBase ? pieceDigits_ : std::max(group_.digits, kSetBaseCaseLimbs * group_.digits),
                 count) {}

    void readAll(std::size_t first, std::size_t count, mpz_class& out) {
        inParallel([&] { read(first, count, out); }, [&] { table_.buildAll(); });
    }

private:
    void read(std::size_t first, std::size_t count, mpz_class& out) {
        checkStop();
        if (count <= table_.chunkDigits()) {
            if (base_ <= kGmpMaxBase) {
                fromSmallBase(digits_, first, count, base_, out);
            } else {
                horner(first, count, out);
            }
            return;
        }
        const std::size_t lowDigits = table_.digitsBelow(count);
        mpz_class high;
        const auto readHigh = [&] { read(first, count - lowDigits, high); };
        const auto readLow = [&] { read(first + (count - lowDigits), lowDigits, out); };
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

    void horner(std::size_t first, std::size_t count, mpz_class& out) const {
        out = 0;
        forEachDigitGroup(first, count, group_.digits, base_, digits_,
                          [&out](std::uint64_t group, std::uint64_t scale) {
                              mpz_mul_ui(out.get_mpz_t(), out.get_mpz_t(), scale);
                              mpz_add_ui(out.get_mpz_t(), out.get_mpz_t(), group);
                          });
    }

    const Source& digits_;
    std::uint32_t base_;
    LimbGroup group_;
    std::size_t pieceDigits_;
    PowerTable table_;
};

template <typename Source>
mpz_class valueOf(const Source& digits, std::size_t first, std::size_t count, std::uint32_t base) {
    if (const unsigned bits = powerOfTwoExponent(base); bits > 0) {
        return fromPowerOfTwo(digits, first, count, bits);
    }
    mpz_class result;
    const ConversionThreads* threads = ConversionThreads::current();
    const unsigned threadCount = threads != nullptr ? threads->threads() : 1;
    if (base <= kGmpMaxBase && (threadCount == 1 || count <= kParallelMinDigits)) {
        fromSmallBase(digits, first, count, base, result);
        return result;
    }
    DivideAndConquerReader<Source>(digits, base, count, threadCount).readAll(first, count, result);
    return result;
}

}  // namespace

mpz_class digitsToInteger(const std::uint16_t* digits, std::size_t count, std::uint32_t base) {
    const std::size_t zeros = leadingZeros(digits, count);
    if (zeros == count) {
        return 0;
    }
    return valueOf(DigitArray(digits), zeros, count - zeros, base);
}

std::optional<mpz_class> plainDigitsToInteger(std::string_view text, std::uint32_t base,
                                              const PlainDigitTable& values) {
    const std::size_t zeros = std::min(text.size(), text.find_first_not_of('0'));
    if (zeros == text.size()) {
        return mpz_class(0);
    }
    if (!allPlainDigits(text, values)) {
        return std::nullopt;
    }
    return valueOf(PlainText(text, values), zeros, text.size() - zeros, base);
}

}  // namespace radixel::engine
