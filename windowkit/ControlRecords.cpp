#include "windowkit/ControlRecords.hpp"

#include "framework/PropertyRecord.hpp"

namespace radixel {

fw::String WindowRecord(const WindowValues& window) {
    return fw::Record({
        {"Placement", window.placement},
        {"Width", window.width},
        {"Height", window.height},
        {"MinWidth", 64},
        {"MinHeight", 64},
        {"MaxWidth", 32000},
        {"MaxHeight", 32000},
        {"Frame", window.frame},
        {"Composite", false},
        {"HasBackColor", window.hasBackColor},
        {"BackColor", kWhite},
        {"Title", window.title},
        {"Visible", true},
        {"FullScreen", false},
        {"MenuBarVisible", true},
        {"CloseButton", true},
        {"Resizeable", window.resizeable},
        {"LiveResize", window.liveResize},
        {"MaximizeButton", window.maximizeButton},
        {"MinimizeButton", true},
        {"MacProcID", 0},
    });
}

fw::String ControlRecordHead(const char* name, Bounds at, Locks locks) {
    return fw::Record({
        {"Name", name},
        {"Index", fw::NoControlIndex},
        {"Left", at.left},
        {"Top", at.top},
        {"Width", at.width},
        {"Height", at.height},
        {"LockLeft", locks.left},
        {"LockTop", locks.top},
        {"LockRight", locks.right},
        {"LockBottom", locks.bottom},
    });
}

fw::String LabelRecord(const LabelValues& label) {
    const fw::String rows = fw::Record({
        {"TabPanelIndex", 0},
        {"TabIndex", label.tabIndex},
        {"Text", label.text},
        {"TextAlign", 0},
        {"TextColor", label.textColor},
        {"Multiline", label.multiline},
        {"Enabled", true},
        {"Visible", true},
        {"Selectable", false},
        {"Transparent", false},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"TextFont", "System"},
        {"Bold", label.bold},
        {"Italic", false},
        {"Underline", false},
        {"DataSource", ""},
        {"DataField", ""},
        {"InitialParent", label.initialParent},
    });
    return ControlRecordHead(label.name, label.at, label.locks) + rows;
}

fw::String TextAreaRecord(const TextAreaValues& area) {
    const fw::String rows = fw::Record({
        {"TabPanelIndex", 0},
        {"TabIndex", area.tabIndex},
        {"TabStop", true},
        {"Border", true},
        {"Multiline", true},
        {"ScrollbarHorizontal", false},
        {"ScrollbarVertical", true},
        {"Styled", true},
        {"UseFocusRing", true},
        {"TextColor", kBlack},
        {"BackColor", kWhite},
        {"Enabled", true},
        {"Format", ""},
        {"Visible", true},
        {"HelpTag", ""},
        {"AutoDeactivate", true},
        {"HideSelection", true},
        {"TextFont", "System"},
        {"Bold", false},
        {"Italic", false},
        {"Underline", false},
        {"Text", area.text},
        {"Mask", ""},
        {"ReadOnly", area.readOnly},
        {"LimitText", 0},
        {"AcceptTabs", false},
        {"Alignment", 0},
        {"AutomaticallyCheckSpelling", true},
        {"DataSource", ""},
        {"DataField", ""},
    });
    return ControlRecordHead(area.name, area.at, area.locks) + rows;
}

}  // namespace radixel
