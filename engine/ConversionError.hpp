#pragma once

#include <stdexcept>
#include <string>

namespace radixel::engine {

// Carries the message for input that cannot be converted from deep inside the
// reader or the size checks up to convert(), which turns it into its result.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace radixel::engine
