// Digits of one base straight to digits of a power of it, or of a root of it,
// without a big integer in between. When to = from^k the target digits are
// the source digits taken k at a time from the least significant end, each
// group read by Horner's rule; when from = to^k each source digit is written
// as k target digits by repeated division. A target digit is below 65536 and
// so is every partial value, so machine integers hold all of it.
#include "DigitRegrouping.hpp"

#include <algorithm>

namespace radixel::engine {

namespace {

// k >= 1 when power = base^k, 0 otherwise.
unsigned exponentOfPower(std::uint32_t base, std::uint32_t power) {
    if (base < kMinPositionalBase || power < base) {
        return 0;
    }
    // value < power <= 65536 before each product, so no product reaches 2^33.
    std::uint64_t value = base;
    unsigned k = 1;
    while (value < power) {
        value *= base;
        ++k;
    }
    return value == power ? k : 0;
}

Digits joinGroups(const std::uint16_t* digits, std::size_t count, std::uint32_t from, unsigned perGroup) {
    // The most significant group takes the odd digits over, so that every later one is full.
    std::size_t take = count % perGroup;
    if (take == 0) {
        take = perGroup;
    }
    Digits out;
    out.reserve((count + perGroup - 1) / perGroup);
    std::size_t i = 0;
    while (i < count) {
        std::uint32_t group = 0;
        for (const std::size_t end = i + take; i < end; ++i) {
            group = group * from + digits[i];
        }
        out.push_back(static_cast<std::uint16_t>(group));
        take = perGroup;
    }
    return out;
}

Digits splitDigits(const std::uint16_t* digits, std::size_t count, std::uint32_t to, unsigned perDigit) {
    Digits out(count * perDigit);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t value = digits[i];
        for (std::size_t j = (i + 1) * perDigit; j-- > i * perDigit;) {
            out[j] = static_cast<std::uint16_t>(value % to);
            value /= to;
        }
    }
    // Only the leading source digit's share can start with zeros.
    const auto leadingZeros = std::find_if(out.begin(), out.end(), [](std::uint16_t d) { return d != 0; });
    out.erase(out.begin(), leadingZeros);
    return out;
}

}  // namespace

std::optional<Digits> regroupDigits(const Digits& digits, std::uint32_t from, std::uint32_t to) {
    const unsigned joined = exponentOfPower(from, to);
    const unsigned split = joined > 0 ? 0 : exponentOfPower(to, from);
    if (joined == 0 && split == 0) {
        return std::nullopt;
    }
    const auto first = std::find_if(digits.begin(), digits.end(), [](std::uint16_t d) { return d != 0; });
    const auto count = static_cast<std::size_t>(digits.end() - first);
    if (count == 0) {
        return Digits(1, 0);
    }
    const std::uint16_t* const significant = digits.data() + (first - digits.begin());
    return joined > 0 ? joinGroups(significant, count, from, joined) : splitDigits(significant, count, to, split);
}

}  // namespace radixel::engine
