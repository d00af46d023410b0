#include "TextControl.hpp"

#include "ControlFont.hpp"
#include "Property.hpp"

#include <QWidget>

namespace fw {

struct TextControl::Impl {
    qtbridge::ControlFont font;
};

// TextSize and TextUnit have no rows: a record has no type for their values, and the
// building code sets them.
const ClassTable& TextControl::Lookup() {
    static const ClassTable table = [] {
        ClassTable t;
        t.fullName = "TextControl";
        t.parent = &RectControl::Lookup();
        t.properties = {
            MakeProperty("TextFont", &TextControl::TextFont, &TextControl::SetTextFont),
            MakeProperty("Bold", &TextControl::Bold, &TextControl::SetBold),
            MakeProperty("Italic", &TextControl::Italic, &TextControl::SetItalic),
            MakeProperty("Underline", &TextControl::Underline, &TextControl::SetUnderline),
        };
        return t;
    }();
    return table;
}

TextControl::TextControl() : impl_(std::make_unique<Impl>()) {}
TextControl::~TextControl() = default;

void TextControl::applyFont() {
    if (QWidget* own = widget()) own->setFont(impl_->font.resolve());
}

String TextControl::TextFont() const { return impl_->font.family; }
void TextControl::SetTextFont(const String& name) {
    impl_->font.family = name;
    applyFont();
}

float TextControl::TextSize() const { return impl_->font.size; }
void TextControl::SetTextSize(float size) {
    impl_->font.size = size;
    applyFont();
}

FontUnits TextControl::TextUnit() const { return impl_->font.unit; }
void TextControl::SetTextUnit(FontUnits unit) {
    impl_->font.unit = unit;
    applyFont();
}

bool TextControl::Bold() const { return impl_->font.bold; }
void TextControl::SetBold(bool bold) {
    impl_->font.bold = bold;
    applyFont();
}

bool TextControl::Italic() const { return impl_->font.italic; }
void TextControl::SetItalic(bool italic) {
    impl_->font.italic = italic;
    applyFont();
}

bool TextControl::Underline() const { return impl_->font.underline; }
void TextControl::SetUnderline(bool underline) {
    impl_->font.underline = underline;
    applyFont();
}

}  // namespace fw
