#pragma once
// The way from process start to the event loop: Main installs the exception routine, has the
// framework run Startup once, and runs the event loop; Startup makes the program ready in six
// steps, each a function of its own.

#include <array>
#include <span>

namespace radixel {

void Main();

// The start-up routine the framework runs once, before it delivers any event.
void Startup();

// The program declares no document file types.
void InitFileTypes();
// Creates the application object, runs its constructor, gives it the shared menu bar and
// registers it; the registration alone keeps it alive from then on.
void NewAppInstance();
// Registers the application object's About and help handlers under their item names.
void ApplicationAddMenuHandlers();
// Builds the conversion window; the framework's list of open windows holds it.
void MakeDefaultView();

struct StartupStep {
    const char* name;
    void (*run)();
};

// Startup's steps in the order they must run: the conversion function is bound before the
// application object exists, and the conversion window is built last, with the menu bar that
// the application object already holds.
extern const std::array<StartupStep, 6> kStartupSteps;

// Runs the steps in order; an exception in one skips the rest and goes on to the caller.
void RunStartupSteps(std::span<const StartupStep> steps);

}  // namespace radixel
