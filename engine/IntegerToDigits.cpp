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
#include <string>
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

// Digits that one thread slices off at a time: a multiple of 64, so that a piece of them always
// starts at a limb's edge, whatever the digit's width in bits.
constexpr std::size_t kSlicedDigitsAtOnce = std::size_t{1} << 20;

// Writes the digits [below, below + count) of x, counted from the least significant, as k-bit
// fields into out[len - below - count, len - below); below * k is a multiple of the limb's bits.
template <typename Out>
void sliceBits(const mpz_class& x, unsigned bitsPerDigit, Out* out, std::size_t len, std::size_t below,
               std::size_t count) {
    if (count > kSlicedDigitsAtOnce) {
        const std::size_t half = std::max<std::size_t>(1, count / 2 / kSlicedDigitsAtOnce) * kSlicedDigitsAtOnce;
        inParallel([&] { sliceBits(x, bitsPerDigit, out, len, below, half); },
                   [&] { sliceBits(x, bitsPerDigit, out, len, below + half, count - half); });
        return;
    }
    const mp_limb_t* limbs = mpz_limbs_read(x.get_mpz_t());
    const std::size_t limbCount = mpz_size(x.get_mpz_t());
    const mp_limb_t mask = (mp_limb_t{1} << bitsPerDigit) - 1;
    std::size_t nextLimb = below * bitsPerDigit / GMP_NUMB_BITS;
    mp_limb_t current = 0;
    unsigned available = 0;
    StopCountdown countdown;
    for (std::size_t i = len - below; i-- > len - below - count;) {
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
        out[i] = static_cast<Out>(value);
    }
}

// Writes the k-bit fields of x into out[0, len), most significant first, long runs in pieces
// on threads of their own.
template <typename Out>
void toPowerOfTwo(const mpz_class& x, unsigned bitsPerDigit, Out* out, std::size_t len) {
    sliceBits(x, bitsPerDigit, out, len, 0, len);
}

// The characters that mpn_get_str may write for a number of `limbs` limbs: room for the
// largest such number and one more.
std::size_t rawDigitRoom(std::size_t limbs, std::uint32_t base) {
    return static_cast<std::size_t>(static_cast<double>(limbs) * kLimbBits / log2Of(base)) + 2;
}

// Writes the digits of x into out[0, len) via mpn_get_str, which takes x's limbs as its scratch
// space, so x is gone afterwards; x < base^len.
template <typename Out>
void toSmallBase(mpz_class& x, std::uint32_t base, Out* out, std::size_t len) {
    const std::size_t limbCount = mpz_size(x.get_mpz_t());
    if (limbCount == 0) {
        std::fill(out, out + len, Out{0});
        return;
    }
    std::vector<unsigned char> raw(rawDigitRoom(limbCount, base));
    const std::size_t produced = mpn_get_str(raw.data(), static_cast<int>(base),
                                             mpz_limbs_modify(x.get_mpz_t(), static_cast<mp_size_t>(limbCount)),
                                             static_cast<mp_size_t>(limbCount));
    mpz_limbs_finish(x.get_mpz_t(), 0);
    mpz_class().swap(x);
    std::size_t skip = 0;
    while (produced - skip > len) {
        ++skip;
    }
    const std::size_t pad = len - (produced - skip);
    std::fill(out, out + pad, Out{0});
    forEachSpan(produced - skip, [&](std::size_t begin, std::size_t end) {
        std::copy(raw.data() + skip + begin, raw.data() + skip + end, out + pad + begin);
    });
}

std::size_t pieceDigits(std::size_t len, unsigned threads) {
    return std::max(kParallelMinDigits / 2, len / (static_cast<std::size_t>(threads) * kPiecesPerThread));
}

template <typename Out>
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
    void write(mpz_class& x, std::size_t len, Out* out) {
        checkStop();
        if (len <= table_.chunkDigits()) {
            if constexpr (sizeof(Out) > 1) {
                if (base_ > kGmpMaxBase) {
                    baseCase(x, len, out);
                    return;
                }
            }
            toSmallBase(x, base_, out, len);
            return;
        }
        const PowerTable::Power& power = table_.below(len);
        mpz_class quotient;
        mpz_class remainder;
        {
            // x = (high * odd + rest) * 2^shift + low bits, and x shrinks in place to its high part.
            mpz_class lowBits;
            mpz_tdiv_r_2exp(lowBits.get_mpz_t(), x.get_mpz_t(), power.shift);
            mpz_tdiv_q_2exp(x.get_mpz_t(), x.get_mpz_t(), power.shift);
            mpz_tdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), x.get_mpz_t(), power.odd.get_mpz_t());
            mpz_class().swap(x);
            mpz_mul_2exp(remainder.get_mpz_t(), remainder.get_mpz_t(), power.shift);
            remainder += lowBits;
        }
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
    void baseCase(const mpz_class& x, std::size_t len, Out* out) const {
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
                out[--end] = static_cast<Out>(group % base_);
                group /= base_;
            }
        }
    }

    std::uint32_t base_;
    LimbGroup group_;
    std::size_t pieceDigits_;
    PowerTable table_;
};

unsigned threadsOfConversion() {
    const ConversionThreads* threads = ConversionThreads::current();
    return threads != nullptr ? threads->threads() : 1;
}

// The digits of x, not zero, into out[0, natural), where natural is enough for them; x is gone
// afterwards unless the base is a power of two.
template <typename Out>
void writeDigits(mpz_class& x, std::uint32_t base, Out* out, std::size_t natural) {
    if (const unsigned bitsPerDigit = powerOfTwoExponent(base); bitsPerDigit > 0) {
        toPowerOfTwo(x, bitsPerDigit, out, natural);
        return;
    }
    const unsigned threads = threadsOfConversion();
    if (base <= kGmpMaxBase && (threads == 1 || natural <= kParallelMinDigits)) {
        toSmallBase(x, base, out, natural);
    } else {
        DivideAndConquerWriter<Out>(base, natural, threads).write(x, natural, out);
    }
}

std::size_t naturalDigits(const mpz_class& x, std::uint32_t base) {
    const std::size_t bits = mpz_sizeinbase(x.get_mpz_t(), 2);
    const unsigned bitsPerDigit = powerOfTwoExponent(base);
    return bitsPerDigit > 0 ? (bits + bitsPerDigit - 1) / bitsPerDigit : digitBound(bits, base);
}

// Characters mapped by one thread at a time; a few hundred microseconds of work.
constexpr std::size_t kMappedCharactersAtOnce = std::size_t{1} << 20;

// Digit values to the characters of the alphabet, in place, its halves on threads of their own.
void spell(char* text, std::size_t count, const char* alphabet) {
    if (count > kMappedCharactersAtOnce) {
        const std::size_t half = count / 2;
        inParallel([&] { spell(text + half, count - half, alphabet); }, [&] { spell(text, half, alphabet); });
        return;
    }
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            text[i] = alphabet[static_cast<unsigned char>(text[i])];
        }
    });
}

}  // namespace

Digits integerToDigits(const mpz_class& x, std::uint32_t base, std::size_t minDigits) {
    minDigits = std::max<std::size_t>(minDigits, 1);
    if (x == 0) {
        return Digits(minDigits, 0);
    }
    const std::size_t natural = naturalDigits(x, base);
    Digits digits(std::max(natural, minDigits), 0);
    std::uint16_t* const tail = digits.data() + (digits.size() - natural);
    if (const unsigned bitsPerDigit = powerOfTwoExponent(base); bitsPerDigit > 0) {
        toPowerOfTwo(x, bitsPerDigit, tail, natural);
    } else {
        mpz_class copy = x;
        writeDigits(copy, base, tail, natural);
    }
    const std::size_t excess = std::min(leadingZeros(digits), digits.size() - minDigits);
    digits.erase(digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(excess));
    return digits;
}

std::string integerText(mpz_class&& x, std::uint32_t base, const char* alphabet, bool negative) {
    if (x == 0) {
        return "0";
    }
    const std::size_t sign = negative ? 1 : 0;
    const std::size_t natural = naturalDigits(x, base);
    // One thread's mpn_get_str writes its characters here at once, in the room it asks for.
    const bool straight =
        powerOfTwoExponent(base) == 0 && (threadsOfConversion() == 1 || natural <= kParallelMinDigits);
    std::string text;
    std::size_t produced = natural;
    if (straight) {
        const std::size_t limbs = mpz_size(x.get_mpz_t());
        text.resize(sign + std::max(natural, rawDigitRoom(limbs, base)));
        auto* const raw = reinterpret_cast<unsigned char*>(text.data() + sign);
        produced =
            mpn_get_str(raw, static_cast<int>(base), mpz_limbs_modify(x.get_mpz_t(), static_cast<mp_size_t>(limbs)),
                        static_cast<mp_size_t>(limbs));
        mpz_limbs_finish(x.get_mpz_t(), 0);
    } else {
        text.resize(sign + natural);
        writeDigits(x, base, reinterpret_cast<unsigned char*>(text.data() + sign), natural);
    }
    mpz_class().swap(x);
    const std::size_t zeros = std::min(produced - 1, text.find_first_not_of('\0', sign) - sign);
    if (negative) {
        text[zeros] = '-';
    }
    text.erase(0, zeros);
    text.resize(sign + produced - zeros);
    spell(text.data() + sign, produced - zeros, alphabet);
    return text;
}

}  // namespace radixel::engine
