#include "ControlFont.hpp"

#include "QtBridge.hpp"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace fw::qtbridge {

namespace {

// Beyond this a single glyph would be larger than any screen; Qt warns on sizes it cannot use.
constexpr double kLargestPoints = 1000.0;
constexpr int kLargestPixels = 1000;
constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

bool isSystemName(const String& name) { return name.empty() || name == String("System"); }

}  // namespace

// The default unit is the window's own: sizes and positions of a design are pixels, and a
// text size in points would outgrow the controls the design made for it (14 points is 19
// pixels at 96 dots per inch).
QFont ControlFont::resolve() const {
    QFont font = QApplication::font();
    if (!isSystemName(family)) font.setFamilies({toQString(family)});
    if (std::isfinite(size) && size > 0) {
        switch (unit) {
        case FontUnits::Point: font.setPointSizeF(std::clamp<double>(size, 1.0, kLargestPoints)); break;
        case FontUnits::Inch: font.setPointSizeF(std::clamp<double>(size * kPointsPerInch, 1.0, kLargestPoints)); break;
        case FontUnits::Millimeter:
            font.setPointSizeF(std::clamp<double>(size * kPointsPerInch / kMillimetresPerInch, 1.0, kLargestPoints));
            break;
        case FontUnits::Default:
        case FontUnits::Pixel:
        default: font.setPixelSize(std::clamp(static_cast<int>(std::lround(size)), 1, kLargestPixels)); break;
        }
    }
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

}  // namespace fw::qtbridge
