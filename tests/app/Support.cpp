#include "Support.hpp"

#include "app/App.hpp"
#include "menubar/MenuBar1.hpp"
#include "app/Module.hpp"
#include "conversion/binding/Globals4.hpp"
#include "framework/Application.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Plugins.hpp"
#include "framework/Runtime.hpp"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdlib>

namespace radixel::testing {

void ResetProgramState() {
    for (const char* name : {kConversionWindow, kAboutWindow, kHelpWindow})
        if (auto window = fw::GetImplicitWindow(name)) window->Close();
    fw::RuntimeRegisterAppObject(nullptr);
    MenuBar1::ExitImplicitInstance();
}

std::shared_ptr<fw::Window> OpenWindow(const char* fullClassName) { return fw::GetImplicitWindow(fullClassName); }

bool IsShown(const std::shared_ptr<fw::Window>& window) { return window && window->widget()->isVisible(); }

bool ConversionIsBound() { return Globals4::kxConvBase("255", 16, 10, 8, true) == fw::String("FF"); }

std::vector<std::string> HandlerNames() {
    std::vector<std::string> names;
    if (auto app = fw::GetAppObject())
        for (const auto& [name, handler] : app->MenuHandlers()) names.push_back(name.bytes());
    return names;
}

}  // namespace radixel::testing

// The program's own main, up to Main: the runtime, the class tables, and the bundle's
// conversion component and emblem, which a test executable outside the bundle is pointed at.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    fw::RuntimeInit();
    fw::SetPluginFolder(RADIXEL_BUNDLE_PLUGINS);
    fw::OverrideAppFolderItem(RADIXEL_BUNDLE_BIN "/radixel");
    radixel::InitializeModule();
    return RUN_ALL_TESTS();
}
