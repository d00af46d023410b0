// The boundary between the event loop and the program: nothing the program raises may
// unwind through Qt, so every handler and event runs here.

#include "Exceptions.hpp"
#include "Runtime.hpp"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>

namespace fw {

namespace {

ExceptionHelper installedHelper = nullptr;

// A message may carry user text of any length and any bytes; the report stays one line of
// readable size.
constexpr std::size_t kReportedMessageBytes = 400;

void runWork(Ptr argument) { (*static_cast<const std::function<void()>*>(argument))(); }

void report(std::string_view className, std::string_view message) {
    std::string line = "radixel: ";
    if (message.substr(0, className.size()) != className) {
        line += className;
        if (!message.empty()) line += ": ";
    }
    const std::size_t kept = std::min(message.size(), kReportedMessageBytes);
    for (char c : message.substr(0, kept)) line += (c == '\n' || c == '\r' || c == '\0') ? ' ' : c;
    if (kept < message.size()) line += "...";
    line += " (the program goes on)\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void report(const Object& raised) {
    const auto* exception = dynamic_cast<const RuntimeException*>(&raised);
    report(raised.classTable().fullName, exception ? exception->Message().view() : std::string_view());
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
        report(*raised);
    } catch (const RuntimeException& e) {
        report(e);
    } catch (const std::bad_alloc&) {
        report("std::bad_alloc", "out of memory");
    } catch (const std::exception& e) {
        report("std::exception", e.what());
    } catch (...) {
        report("an exception", "of unknown type");
    }
    return false;
}

}  // namespace fw
