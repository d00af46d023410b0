#include "GrayCode.hpp"

namespace radixel::engine {

void grayEncode(Digits& bits) {
    for (std::size_t i = bits.size(); i-- > 1;) {
        bits[i] = static_cast<std::uint16_t>(bits[i] ^ bits[i - 1]);
    }
}

void grayDecode(Digits& bits) {
    for (std::size_t i = 1; i < bits.size(); ++i) {
        bits[i] = static_cast<std::uint16_t>(bits[i] ^ bits[i - 1]);
    }
}

}  // namespace radixel::engine
