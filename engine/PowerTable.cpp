#include "PowerTable.hpp"

#include "ConversionStop.hpp"

namespace radixel::engine {

PowerTable::PowerTable(std::uint32_t base, std::size_t chunkDigits, std::size_t maxDigits)
    : base_(oddPartOf(base)), chunk_(chunkDigits) {
    for (std::size_t digits = chunkDigits; digits < maxDigits; digits *= 2) {
        ++levelCount_;
    }
    levels_.resize(levelCount_);
    for (std::size_t j = 0; j < levelCount_; ++j) {
        levels_[j].digits = chunkDigits << j;
        levels_[j].shift = base_.twos * levels_[j].digits;
    }
}

std::size_t PowerTable::indexBelow(std::size_t digits) const {
    std::size_t j = levelCount_ - 1;
    while (j > 0 && levels_[j].digits >= digits) {
        --j;
    }
    return j;
}

const PowerTable::Power& PowerTable::below(std::size_t digits) { return level(indexBelow(digits)); }

void PowerTable::buildAll() {
    if (levelCount_ > 0) {
        level(levelCount_ - 1);
    }
}

// A level once built is never written again, so a reader that sees the count past it reads it
// without the lock.
const PowerTable::Power& PowerTable::level(std::size_t j) {
    if (j < built_.load(std::memory_order_acquire)) {
        return levels_[j];
    }
    const std::lock_guard lock(building_);
    for (std::size_t next = built_.load(std::memory_order_relaxed); next <= j; ++next) {
        checkStop();
        if (next == 0) {
            mpz_ui_pow_ui(levels_[0].odd.get_mpz_t(), base_.odd, chunk_);
        } else {
            mpz_mul(levels_[next].odd.get_mpz_t(), levels_[next - 1].odd.get_mpz_t(),
                    levels_[next - 1].odd.get_mpz_t());
        }
        built_.store(next + 1, std::memory_order_release);
    }
    return levels_[j];
}

}  // namespace radixel::engine
