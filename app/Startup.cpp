#include "app/Startup.hpp"

#include "app/App.hpp"
#include "app/ExceptionHelper.hpp"
#include "menubar/MenuBar1.hpp"
#include "conversion/Window1.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/Delegate.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Plugins.hpp"
#include "framework/Runtime.hpp"

namespace radixel {

namespace {

void BindConversionFunction() { fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints); }

// The framework takes a plain entry for each handler and calls it with the application object;
// a delegate over the virtual member function makes the object's own class decide which method
// runs. The entry holds no reference of its own, so the registration alone keeps the object.
void AddMenuHandler(const fw::String& itemName, bool (App::*action)()) {
    auto app = instance::App();
    if (!app) fw::RaiseNilObjectException();
    auto handler = fw::RuntimeCreateDelegate(action, app, "(  ) as Boolean", fw::DelegateKind::Strong);
    app->AddMenuHandler(itemName, handler->MethodEntry());
}

}  // namespace

const std::array<StartupStep, 6> kStartupSteps = {{
    {"RuntimeInitExternalClasses", &fw::RuntimeInitExternalClasses},
    {"InitPluginEntrypoints", &BindConversionFunction},
    {"InitFileTypes", &InitFileTypes},
    {"NewAppInstance", &NewAppInstance},
    {"ApplicationAddMenuHandlers", &ApplicationAddMenuHandlers},
    {"MakeDefaultView", &MakeDefaultView},
}};

void RunStartupSteps(std::span<const StartupStep> steps) {
    for (const StartupStep& step : steps) step.run();
}

void Main() {
    // Installed before the framework initialises itself, so that start-up already runs
    // through it.
    {
        auto helper = fw::RuntimeCreateDelegate(&CallFunctionWithExceptionHandling, "( Ptr, Ptr ) as Object");
        fw::RuntimeSetExceptionHelper(helper->Entry());
    }
    {
        auto startup = fw::RuntimeCreateDelegate(&Startup, "(  )");
        fw::RunFrameworkInitialization(startup->Entry());
    }
    fw::RuntimeRun();
}

void Startup() { RunStartupSteps(kStartupSteps); }

void InitFileTypes() {}

void NewAppInstance() {
    auto app = fw::RuntimeCheckCast<App>(fw::RuntimeNewObject(App::Lookup()), App::Lookup());
    // Tested before the constructor runs: running it on nil would crash rather than raise.
    if (!app) fw::RaiseNilObjectException();
    app->Constructor();
    app->SetMenuBar(instance::MenuBar1());
    fw::RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {
    AddMenuHandler("AppleAbout", &App::AppleAbout_Action);
    AddMenuHandler("HelpRadixelHelp", &App::HelpRadixelHelp_Action);
}

void MakeDefaultView() { instance::Window1(); }

}  // namespace radixel
