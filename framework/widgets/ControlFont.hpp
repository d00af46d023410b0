#pragma once
// The font items of a TextControl, and the Qt font they make (framework use only).

#include "String.hpp"
#include "TextControl.hpp"

#include <QFont>

namespace fw::qtbridge {

struct ControlFont {
    String family = "System";  // "System" and the empty name: the desktop's default font
    float size = 0;            // 0: the desktop's default size
    FontUnits unit = FontUnits::Default;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    QFont resolve() const;
};

}  // namespace fw::qtbridge
