#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include <atomic>
#include <mutex>

#include <gmpxx.h>

#include "Radix.hpp"

namespace radixel::engine {

// The most digits of the base whose value always fits in one limb, and base^that: the
// unit that both codecs' base cases work in.
struct LimbGroup {
    std::size_t digits = 0;
    mp_limb_t power = 1;
};

inline LimbGroup limbGroupOf(std::uint32_t base) {
    LimbGroup group;
    while (group.power <= std::numeric_limits<mp_limb_t>::max() / base) {
        group.power *= base;
        ++group.digits;
    }
    return group;
}

inline constexpr double kLimbBits = std::numeric_limits<mp_limb_t>::digits;

// The powers base^(chunk * 2^j), j = 0, 1, ..., that the divide-and-conquer
// codecs split and join digit runs at. Each is kept as odd * 2^shift: a base
// with factors of two (10, 1000, ...) gives powers whose low bits are all zero,
// and working with the odd part alone takes that share off every product and
// division. A level is built, by squaring the one below it, when it is first
// asked for, so the threads of a conversion can start on their halves while the
// large powers are still being made; threads that ask for a level being built
// wait for it.
class PowerTable {
public:
    struct Power {
        mpz_class odd;
        std::size_t shift = 0;
        std::size_t digits = 0;
    };

    // Levels up to the largest whose digit count is below `maxDigits`.
    PowerTable(std::uint32_t base, std::size_t chunkDigits, std::size_t maxDigits);

    std::size_t chunkDigits() const { return chunk_; }

    // The largest power with fewer digits than `digits`; requires digits > chunkDigits().
    const Power& below(std::size_t digits);

    // The digit count of that power, known before the power is built.
    std::size_t digitsBelow(std::size_t digits) const { return levels_[indexBelow(digits)].digits; }

    // Builds every level now.
    void buildAll();

private:
    std::size_t indexBelow(std::size_t digits) const;
    const Power& level(std::size_t j);

    OddPart base_;
    std::size_t chunk_;
    std::size_t levelCount_ = 0;
    std::vector<Power> levels_;
    std::atomic<std::size_t> built_{0};
    std::mutex building_;
};

}  // namespace radixel::engine
