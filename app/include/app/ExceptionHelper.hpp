#pragma once
// The routine through which the framework runs start-up and every handler.

#include "framework/Object.hpp"
#include "framework/Runtime.hpp"

#include <memory>

namespace radixel {

// Runs function(argument). Returns the RuntimeException that it raised, as a copy that
// outlives the throw, or nil when it returned normally; any other exception goes on past it.
std::shared_ptr<fw::Object> CallFunctionWithExceptionHandling(fw::PlainFunction function, fw::Ptr argument);

}  // namespace radixel
