#include "PowerTable.hpp"

#include "ConversionStop.hpp"
#include "Radix.hpp"

namespace radixel::engine {

PowerTable::PowerTable(std::uint32_t base, std::size_t chunkDigits, std::size_t maxDigits) : chunk_(chunkDigits) {
    const OddPart parts = oddPartOf(base);
    Power first;
    mpz_ui_pow_ui(first.odd.get_mpz_t(), parts.odd, chunkDigits);
    first.shift = parts.twos * chunkDigits;
    first.digits = chunkDigits;
    if (first.digits >= maxDigits) {
        return;
    }
    levels_.push_back(std::move(first));
    while (levels_.back().digits * 2 < maxDigits) {
        checkStop();
        const Power& last = levels_.back();
        Power next;
        mpz_mul(next.odd.get_mpz_t(), last.odd.get_mpz_t(), last.odd.get_mpz_t());
        next.shift = last.shift * 2;
        next.digits = last.digits * 2;
        levels_.push_back(std::move(next));
    }
}

const PowerTable::Power& PowerTable::below(std::size_t digits) const {
    std::size_t j = levels_.size() - 1;
    while (j > 0 && levels_[j].digits >= digits) {
        --j;
    }
    return levels_[j];
}

}  // namespace radixel::engine
