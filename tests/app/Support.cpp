#include "Support.hpp"

#include "app/App.hpp"
#include "menubar/MenuBar1.hpp"
#include "conversion/binding/Globals4.hpp"
#include "framework/Application.hpp"

#include <QWidget>

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
