#pragma once
#include "RectControl.hpp"

#include <cstdint>
#include <memory>

namespace fw {

// The unit of a control's text size. 0, the default, is the window's unit, the pixel, as for
// every other size of a design.
enum class FontUnits : std::uint8_t { Default = 0, Pixel = 1, Point = 2, Inch = 3, Millimeter = 4 };

// A control that shows its text in a font of its own: label, field, area and button. The font
// goes to the control's widget as soon as the widget exists and with every change after.
class TextControl : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    ~TextControl() override;

    String TextFont() const;  // "System": the desktop's default font
    void SetTextFont(const String& name);
    float TextSize() const;  // in TextUnit; 0: the desktop's default size
    void SetTextSize(float size);
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);
    bool Bold() const;
    void SetBold(bool bold);
    bool Italic() const;
    void SetItalic(bool italic);
    bool Underline() const;
    void SetUnderline(bool underline);

protected:
    TextControl();
    // Each control brings its new widget up to the font at its own step of applyToWidget.
    void applyFont();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
