#include "info/EmblemCanvas.hpp"

#include "info/Kettlewing128.hpp"
#include "windowkit/ControlCreation.hpp"
#include "windowkit/ControlRecords.hpp"

#include "framework/Canvas.hpp"
#include "framework/PropertyRecord.hpp"

#include <memory>

namespace radixel {

namespace {
const char* const kName = "Canvas1";
}

fw::String EmblemCanvasRecord(std::int32_t left, std::int32_t top) {
    const fw::String rows = fw::Record({
        {"TabPanelIndex", 0},
        {"TabIndex", 3},
        {"TabStop", true},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"Enabled", true},
        {"UseFocusRing", true},
        {"AcceptFocus", false},
        {"AcceptTabs", false},
        {"DoubleBuffer", false},
        {"EraseBackground", true},
        {"InitialParent", ""},
    });
    return ControlRecordHead(kName, {left, top, 128, 128}, kLockedLeftTop) + rows;
}

void CreateEmblemCanvas(fw::Window& window, const fw::String& record) {
    RegisterControl<fw::Canvas>(window, kName);
    std::shared_ptr<fw::Canvas> canvas = FindControl<fw::Canvas>(window, kName);
    canvas->SetBackdrop(x_Kettlewing128::Kettlewing128());
    fw::SetProperties(FindControl<fw::Canvas>(window, kName), record);
}

}  // namespace radixel
