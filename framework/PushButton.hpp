#pragma once
#include "RectControl.hpp"

namespace fw {

class PushButton : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    String Caption() const;
    void SetCaption(const String& caption);
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);
    // Presses the button as a click would: runs its Action event.
    void Push();
    // Record properties: TabStop, Default, Cancel, ButtonStyle, TextFont, Bold, Italic, Underline.
};

}  // namespace fw
