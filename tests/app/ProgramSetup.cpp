// The program's own main, up to Main: the runtime, the class tables, and the bundle's
// conversion component and emblem, which a test executable outside the bundle is pointed at.

#include "QtTestProgram.hpp"

#include "app/Module.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Plugins.hpp"
#include "framework/Runtime.hpp"

namespace {

const qttest::ProgramSetup setup{[] {
    fw::RuntimeInit();
    fw::SetPluginFolder(RADIXEL_BUNDLE_PLUGINS);
    fw::OverrideAppFolderItem(RADIXEL_BUNDLE_BIN "/radixel");
    radixel::InitializeModule();
}};

}  // namespace
