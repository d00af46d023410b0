#pragma once
#include "Color.hpp"
#include "RectControl.hpp"

namespace fw {

// A filled rectangle with rounded corners and a border.
class RoundRectangle : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }
    // Record properties: FillColor, BorderWidth, BorderColor, OvalWidth, OvalHeight.
};

}  // namespace fw
