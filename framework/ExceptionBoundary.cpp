// The boundary between the event loop and the program: nothing the program raises may
// unwind through Qt, so every handler and event runs here.

#include "Exceptions.hpp"
#include "Runtime.hpp"

#include <cstdio>
#include <exception>
#include <new>

namespace fw {

namespace {

ExceptionHelper installedHelper = nullptr;

void runWork(Ptr argument) { (*static_cast<const std::function<void()>*>(argument))(); }

void report(const char* kind, const char* message) {
    std::fprintf(stderr, "radixel: %s left a handler: %s\n", kind, message);
    std::fflush(stderr);
}

}  // namespace

void RuntimeSetExceptionHelper(ExceptionHelper helper) { installedHelper = helper; }

bool CallGuarded(const std::function<void()>& work) {
    try {
        if (!installedHelper) {
            work();
            return true;
        }
        auto raised = installedHelper(&runWork, const_cast<std::function<void()>*>(&work));
        if (!raised) return true;
        auto* exception = dynamic_cast<RuntimeException*>(raised.get());
        report(raised->classTable().fullName.c_str(), exception ? exception->what() : "");
        return false;
    } catch (const RuntimeException& e) {
        report(e.classTable().fullName.c_str(), e.what());
    } catch (const std::bad_alloc&) {
        report("an allocation failure", "out of memory");
    } catch (const std::exception& e) {
        report("an exception", e.what());
    } catch (...) {
        report("an exception", "of unknown type");
    }
    return false;
}

}  // namespace fw
