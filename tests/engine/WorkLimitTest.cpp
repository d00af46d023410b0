#include "ConvertCase.hpp"

#include <limits>

namespace radixel::testing {
namespace {

constexpr const char* kTooLarge = "Too large: needs more than 1 GiB of memory";
constexpr std::int32_t kMostPlaces = std::numeric_limits<std::int32_t>::max();

// Each of these would need gigabytes; they must be refused before any of the work starts.
TEST(WorkLimit, OversizedWorkIsRefusedUpFront)
{
    expectConversions({
        {10, 16, 1000000000, "1.3", kTooLarge},
        {10, 2, kMostPlaces, "1/3", kTooLarge},
        {10, 65536, kMostPlaces, "3.3333e-1", kTooLarge},
        {10, 16, 8, "1e3000000000", kTooLarge},
        {10, 16, 8, "1e-3000000000", kTooLarge},
        {10, 16, 8, "1e99999999999999999999999999999999", kTooLarge},
        {16, 10, 8, "1b^-" + std::string(40, 'F'), kTooLarge},
        {65536, 10, 8, "1b^<65535><65535><65535>", kTooLarge},
    });
}

// A huge limit costs nothing where the exact result ends early: an integer,
// zero, or a quotient whose denominator has only prime factors of the target base.
TEST(WorkLimit, PlacesCostNothingPastTheEndOfAnExactResult)
{
    expectConversions({
        {10, 16, kMostPlaces, "255", "FF"},
        {10, 10, kMostPlaces, "0e99999999999999999999", "0"},
        {16, 10, kMostPlaces, "0.8", "0.5"},
        {10, 16, 1000000000, "1.5", "1.8"},
        {10, 2, kMostPlaces, "-1/8", "-0.001"},
        {10, 6, kMostPlaces, "5/12", "0.23"},
        {10, 65536, kMostPlaces, "1.5e3", "<1500>b^0"},
        {16, 10, kMostPlaces, "1b^-A", "9.094947017729282379150390625e-13"},
    });
}

}  // namespace
}  // namespace radixel::testing
