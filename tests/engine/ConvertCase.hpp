#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/convert.hpp"

namespace radixel::testing {

struct ConvertCase {
    std::int32_t from;
    std::int32_t to;
    std::int32_t places;
    std::string input;
    std::string expected;
    bool upperCase = true;
};

inline void expectConversions(const std::vector<ConvertCase>& cases) {
    for (const ConvertCase& c : cases) {
        EXPECT_EQ(radixel::convert(c.input, c.to, c.from, c.places, c.upperCase), c.expected)
            << "input \"" << c.input << "\" from base " << c.from << " to base " << c.to << " with " << c.places
            << " places" << (c.upperCase ? "" : ", lower case");
    }
}

}  // namespace radixel::testing
