#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace radixel::engine {

// convert() with the bytes it may use given instead of read from the machine, so that the
// refusals and the allocation guard can be tried at any size on any machine, and with the
// threads it may use given too (0: as many as the machine has), so that the results on one
// thread and on many can be compared.
std::string convertWithin(std::string_view inStr, std::int32_t baseTo, std::int32_t baseFrom, std::int32_t numPlaces,
                          bool toUpperCase, double usableBytes, unsigned threads = 0);

}  // namespace radixel::engine
