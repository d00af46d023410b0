#include "GrayCode.hpp"

#include <algorithm>

#include "ConversionStop.hpp"

namespace radixel::engine {

// From the least significant end, so that each bit is taken with its neighbour's old value.
void grayEncode(Digits& bits) {
    const std::size_t count = bits.size();
    forEachSpan(count, [&bits, count](std::size_t begin, std::size_t end) {
        for (std::size_t i = count - begin; i-- > count - end;) {
            if (i > 0) {
                bits[i] = static_cast<std::uint16_t>(bits[i] ^ bits[i - 1]);
            }
        }
    });
}

void grayDecode(Digits& bits) {
    forEachSpan(bits.size(), [&bits](std::size_t begin, std::size_t end) {
        for (std::size_t i = std::max<std::size_t>(begin, 1); i < end; ++i) {
            bits[i] = static_cast<std::uint16_t>(bits[i] ^ bits[i - 1]);
        }
    });
}

}  // namespace radixel::engine
