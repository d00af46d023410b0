#pragma once
#include "RectControl.hpp"

namespace fw {

class Label : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    String Text() const;
    void SetText(const String& text);   // CR breaks lines
    float TextSize() const;             // 0: the desktop's default size
    void SetTextSize(float size);
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);
    // Record properties: TextAlign, TextColor, MultiLine, Selectable, Transparent, TextFont,
    // Bold, Italic, Underline, DataSource, DataField.
};

}  // namespace fw
