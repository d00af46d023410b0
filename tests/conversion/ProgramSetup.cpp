// The conversion window's tests run against the real conversion component, loaded from the
// build's plug-in folder as the program loads it.

#include "QtTestProgram.hpp"

#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/Plugins.hpp"
#include "framework/Window.hpp"
#include "menubar/MenuBar1.hpp"

#include <QApplication>

namespace {

const qttest::ProgramSetup setup{[] {
                                     fw::SetPluginFolder(RADIXEL_BUNDLE_PLUGINS);
                                     fw::SetPluginTrialHelper(RADIXEL_PLUGIN_TRIAL_HELPER);
                                     fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints);
                                 },
                                 // The bar's Qt objects must go while the application object still stands.
                                 [] {
                                     if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
                                     QApplication::processEvents();
                                     radixel::MenuBar1::ExitImplicitInstance();
                                 }};

}  // namespace
