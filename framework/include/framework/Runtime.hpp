#pragma once
// Start, event loop and end of the framework, and the one boundary through which every call
// from the event loop into the program passes.
//
// One run goes RuntimeInit, RunFrameworkInitialization, RuntimeRun, RuntimeExit. RuntimeExit
// leaves the framework as RuntimeInit found it, so a test may go through several runs.

#include "Object.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace fw {

using Ptr = void*;
using PlainFunction = void (*)(Ptr argument);
// The program's exception routine: runs function(argument) and returns the RuntimeException
// that it raised, or nil; an exception of another class goes on past it.
using ExceptionHelper = std::shared_ptr<Object> (*)(PlainFunction function, Ptr argument);

// Makes the Qt application object. A process without a display (QT_QPA_PLATFORM, DISPLAY and
// WAYLAND_DISPLAY all unset), or whose display cannot be opened, gets one line on stderr and
// exit status 1 instead of Qt's abort. When a Qt application object exists already (a test's),
// the runtime uses that one and leaves it in place at RuntimeExit. Either way every window
// then carries the bundle's icon: Resources/<executable's name>.png, when the bundle has one.
void RuntimeInit();
void RuntimeSetExceptionHelper(ExceptionHelper helper);
// Initialises the framework (RuntimeInit when it has not run) and runs the start-up routine,
// once per run, through CallGuarded.
void RunFrameworkInitialization(void (*startup)());
// Builds the class tables of all the framework's own classes, so that a program lists only its own.
void RuntimeInitExternalClasses();
// The class tables of all the framework's own classes, parents before children, built on
// first use (framework use).
const std::vector<const ClassTable*>& FrameworkClassTables();
// Runs the event loop until the application quits; delivers the application's Open event
// once, first. When start-up ended with an exception there is no window and nothing that
// could quit, so it returns at once and RuntimeExit gives 1.
void RuntimeRun();
// Shuts the runtime down: releases the application object, runs the shutdown routines and
// destroys the Qt application object it made. The result is the process exit status: the
// event loop's status, 1 when start-up failed, 0 when no loop ran.
int RuntimeExit();

// A routine that RuntimeExit runs while the Qt application object still exists, after the
// application object is released (framework use: registries that hold widgets). Routines run
// in the reverse order of registration, at every RuntimeExit.
void RuntimeAddShutdownRoutine(std::function<void()> routine);

// Runs work the way the framework runs every handler and event: through the installed
// exception helper when there is one. An exception that comes back, or goes on past the
// helper, is reported on stderr in one line and the program goes on. Returns false when the
// work ended with an exception.
bool CallGuarded(const std::function<void()>& work);

// The framework's quit action: ends the event loop with status 0 (asked for before the loop
// runs, the loop ends as soon as it starts). False when there is no runtime to quit.
bool QuitMenuAction();

}  // namespace fw
