// Digits of one base straight to digits of a power of it, or of a root of it,
// without a big integer in between. When to = from^k the target digits are
// the source digits taken k at a time from the least significant end, each
// group read by Horner's rule; when from = to^k each source digit is written
// as k target digits by repeated division. A target digit is below 65536 and
// so is every partial value, so machine integers hold all of it.
#include "DigitRegrouping.hpp"

#include <algorithm>

#include "ConversionStop.hpp"
#include "DigitGroups.hpp"

namespace radixel::engine {

namespace {

Digits joinGroups(const std::uint16_t* digits, std::size_t count, std::uint32_t from, unsigned perGroup) {
    Digits out;
    out.reserve((count + perGroup - 1) / perGroup);
    StopCountdown countdown;
    forEachDigitGroup(0, count, perGroup, from, digits, [&](std::uint64_t group, std::uint64_t) {
        countdown.tick();
        out.push_back(static_cast<std::uint16_t>(group));
    });
    return out;
}

Digits splitDigits(const std::uint16_t* digits, std::size_t count, std::uint32_t to, unsigned perDigit) {
    Digits out(count * perDigit);
    forEachSpan(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            std::uint32_t value = digits[i];
            for (std::size_t j = (i + 1) * perDigit; j-- > i * perDigit;) {
                out[j] = static_cast<std::uint16_t>(value % to);
                value /= to;
            }
        }
    });
    // Only the leading source digit's share can start with zeros.
    out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(leadingZeros(out)));
    return out;
}

}  // namespace

std::optional<Digits> regroupDigits(const Digits& digits, std::uint32_t from, std::uint32_t to) {
    const unsigned joined = exponentOfPower(from, to);
    const unsigned split = joined > 0 ? 0 : exponentOfPower(to, from);
    if (joined == 0 && split == 0) {
        return std::nullopt;
    }
    const std::size_t zeros = leadingZeros(digits);
    const std::size_t count = digits.size() - zeros;
    if (count == 0) {
        return Digits(1, 0);
    }
    const std::uint16_t* const significant = digits.data() + zeros;
    return joined > 0 ? joinGroups(significant, count, from, joined) : splitDigits(significant, count, to, split);
}

}  // namespace radixel::engine
