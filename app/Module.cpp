#include "app/Module.hpp"

#include "app/App.hpp"
#include "menubar/MenuBar1.hpp"
#include "conversion/Window1.hpp"
#include "framework/Runtime.hpp"
#include "framework/Window.hpp"
#include "info/AboutWindow.hpp"
#include "info/HelpWindow.hpp"

namespace radixel {

namespace {

using ClassLookup = const fw::ClassTable& (*)();

constexpr ClassLookup kProgramClasses[] = {
    &App::Lookup, &Window1::Lookup, &MenuBar1::Lookup, &AboutWindow::Lookup, &HelpWindow::Lookup,
};

}  // namespace

void InitializeModule() {
    fw::RuntimeInitExternalClasses();
    for (ClassLookup lookup : kProgramClasses) lookup();
}

// The framework's window registry goes first; the shared menu bar, which the windows showed, is
// released last.
void FinalizeModule() {
    fw::CloseAllWindows();
    MenuBar1::ExitImplicitInstance();
}

}  // namespace radixel
