#pragma once
#include "RectControl.hpp"

namespace fw {

// A single-line text field.
class TextField : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    String Text() const;
    void SetText(const String& text);   // replaces what the field held
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);
    // Record properties: TabStop, Border, Password, UseFocusRing, TextColor, BackColor, Format,
    // TextFont, Bold, Italic, Underline, CueText, Mask, ReadOnly, LimitText, AcceptTabs,
    // Alignment, AutomaticallyCheckSpelling, DataSource, DataField.
};

}  // namespace fw
