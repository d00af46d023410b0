#include "ConvertCase.hpp"
#include "ConvertWithin.hpp"

#include <limits>
#include <regex>

namespace radixel::testing {
namespace {

constexpr std::int32_t kMostPlaces = std::numeric_limits<std::int32_t>::max();
constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kGibibyte = 1024.0 * kMebibyte;

// What the engine may use is given here, so that what it refuses does not
// depend on the machine that runs the tests.
void expectConversionsWithin(double usableBytes, const std::vector<ConvertCase>& cases) {
    for (const ConvertCase& c : cases) {
        EXPECT_EQ(engine::convertWithin(c.input, c.to, c.from, c.places, c.upperCase, usableBytes), c.expected)
            << "input \"" << c.input.substr(0, 80) << "\" from base " << c.from << " to base " << c.to << " with "
            << c.places << " places, " << usableBytes << " bytes usable";
    }
}

// Each of these would need gigabytes; they must be refused before any of the work starts.
TEST(WorkLimit, OversizedWorkIsRefusedUpFront) {
    const std::regex refusal("Too large: needs [0-9.]+ [KMGTPE]iB of memory, 1\\.0 GiB available");
    const std::vector<ConvertCase> cases = {
        {10, 16, 1000000000, "1.3", ""},
        {10, 2, kMostPlaces, "1/3", ""},
        {10, 65536, kMostPlaces, "3.3333e-1", ""},
        {10, 16, 8, "1e3000000000", ""},
        {10, 16, 8, "1e-3000000000", ""},
        {10, 16, 8, "1e99999999999999", ""},
        {16, 10, 8, "1b^-" + std::string(14, 'F'), ""},
        {65536, 10, 8, "1b^<65535><65535><65535>", ""},
        {10, 20, 8, "1e-3000000000", ""},
    };
    for (const ConvertCase& c : cases) {
        const std::string result = engine::convertWithin(c.input, c.to, c.from, c.places, c.upperCase, kGibibyte);
        EXPECT_TRUE(std::regex_match(result, refusal))
            << result.substr(0, 200) << "\nfor \"" << c.input << "\" from base " << c.from << " to base " << c.to
            << " with " << c.places << " places";
    }
}

// The refusal says what the work would take and what there is, in binary units.
TEST(WorkLimit, RefusalNamesTheNeedAndWhatIsAvailable) {
    expectConversionsWithin(600 * kMebibyte,
                            {{10, 10, 100000000, "1/3", "Too large: needs 603 MiB of memory, 600 MiB available"}});
    expectConversionsWithin(1.5 * kGibibyte,
                            {{10, 10, 1000000000, "1/3", "Too large: needs 5.9 GiB of memory, 1.5 GiB available"}});
    expectConversionsWithin(0, {{10, 10, 8, "1/3", "Too large: needs 15 bytes of memory, 0 bytes available"}});
    expectConversionsWithin(
        kGibibyte, {
                       {10, 16, 8, "1e99999999999999999999", "Too large: needs 58 EiB of memory, 1.0 GiB available"},
                       {10, 16, 8, "1e" + std::string(30, '9'),
                        "Too large: needs over 1 million EiB of memory, 1.0 GiB available"},
                   });
}

// The same work is done as soon as the memory is there.
TEST(WorkLimit, WorkWithinWhatIsUsableIsDone) {
    const std::string third = engine::convertWithin("1/3", 10, 10, 10000000, true, 200 * kMebibyte);
    EXPECT_EQ(third.size(), 10000002u);
    EXPECT_EQ(third.substr(0, 6), "0.3333");
    EXPECT_EQ(third.find_first_not_of('3', 2), std::string::npos);
}

// A huge limit costs nothing where the exact result ends early: an integer,
// zero, or a quotient whose denominator has only prime factors of the target base.
TEST(WorkLimit, PlacesCostNothingPastTheEndOfAnExactResult) {
    const std::string threeMillionPlaces = "0." + std::string(2999999, '7') + "1";
    expectConversionsWithin(kGibibyte, {
                                           {10, 16, kMostPlaces, "255", "FF"},
                                           {10, 10, kMostPlaces, "0e99999999999999999999", "0"},
                                           {16, 10, kMostPlaces, "0.8", "0.5"},
                                           {10, 16, 1000000000, "1.5", "1.8"},
                                           {10, 2, kMostPlaces, "-1/8", "-0.001"},
                                           {10, 6, kMostPlaces, "5/12", "0.23"},
                                           {10, 65536, kMostPlaces, "1.5e3", "<1500>b^0"},
                                           {16, 10, kMostPlaces, "1b^-A", "9.094947017729282379150390625e-13"},
                                           {10, 10, kMostPlaces, threeMillionPlaces, threeMillionPlaces},
                                           {10, 10, kMostPlaces, "-0.50" + std::string(2999997, '0'), "-0.5"},
                                           {10, 100, kMostPlaces, "0.1" + std::string(2999999, '0') + "1",
                                            "0.A" + std::string(1499999, '0') + "A"},
                                       });
}

// Where both bases are powers of one root, an exponent carries over by
// integer arithmetic; no power of a base as large as the value is built.
TEST(WorkLimit, ExponentsBetweenPowersOfOneRootNeedNoLargePower) {
    expectConversionsWithin(
        kGibibyte, {
                       {10, 10, 8, "1e300000000", "1e300000000"},
                       {10, 1000, 8, "1e300000000", "1b^<100>00"},
                       {10, 1000, 8, "1e300000001", "Ab^<100>00"},
                       {1000, 10, 8, "<999>.5b^-<100>00", "9.99005e-299999998"},
                       {10, 10, 3, "-1.23456789e-300000000", "-1.235e-300000000"},
                       {10, 10, 2, "9.996e300000000", "1e300000001"},
                       {10, 10, 8, "1e99999999999999999999999999999999", "1e99999999999999999999999999999999"},
                       {10, 100, 8, "-7.5e-300000000", "-7.<50>b^-1<50>000"},
                       {16, 2, 8, "1b^-A", "1b^-101000"},
                       {2, 16, 8, "1b^101", "2b^1"},
                       {4, 8, 8, "3b^3", "3b^2"},
                       {65536, 2, 4, "<40000>b^<65535><65535><65535><65535><65535>", "1.01b^" + std::string(84, '1')},
                   });
}

}  // namespace
}  // namespace radixel::testing
