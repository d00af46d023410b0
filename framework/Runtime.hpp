#pragma once
// Start, event loop and end of the framework, and the one boundary through which every call
// from the event loop into the program passes.

#include "Object.hpp"

#include <functional>
#include <memory>

namespace fw {

using Ptr = void*;
using PlainFunction = void (*)(Ptr argument);
// The program's exception routine: runs function(argument) and returns the RuntimeException
// that it raised, or nil; an exception of another class goes on past it.
using ExceptionHelper = std::shared_ptr<Object> (*)(PlainFunction function, Ptr argument);

// Makes the Qt application object; a process without a display gets one line on stderr and
// exit status 1 instead of an abort.
void RuntimeInit();
void RuntimeSetExceptionHelper(ExceptionHelper helper);
// Initialises the framework and runs the start-up routine once, through the exception boundary.
void RunFrameworkInitialization(void (*startup)());
void RuntimeInitExternalClasses();
// Runs the event loop until the application quits; delivers the application's Open event
// once, first.
void RuntimeRun();
// Shuts the runtime down; the result is the process exit status.
int RuntimeExit();

// Runs work the way the framework runs every handler and event: through the installed
// exception helper when there is one. An exception that comes back, or goes on past the
// helper, is reported on stderr in one line and the program goes on. Returns false when the
// work ended with an exception.
bool CallGuarded(const std::function<void()>& work);

// The framework's quit action: ends the event loop with status 0.
bool QuitMenuAction();

}  // namespace fw
