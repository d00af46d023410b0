#include "app/ExceptionHelper.hpp"

#include "framework/Delegate.hpp"
#include "framework/Exceptions.hpp"

namespace radixel {

std::shared_ptr<fw::Object> CallFunctionWithExceptionHandling(fw::PlainFunction function, fw::Ptr argument) {
    // The delegate is a local, so every way out of this function releases it.
    auto call = fw::RuntimeCreateDelegate(function, "( Ptr )");
    try {
        // Jumping through an empty entry would crash the process; a nil object is what it is.
        if (!function) fw::RaiseNilObjectException();
        call->Invoke(argument);
    } catch (const fw::RuntimeException& raised) {
        if (!fw::RuntimeObjectIsa(&raised, fw::RuntimeException::Lookup())) throw;
        return raised.clone();
    }
    return nullptr;
}

}  // namespace radixel
