#include "TextEdit.hpp"

#include "Property.hpp"

namespace fw {

struct TextEdit::Impl {
    bool border = true;
    bool useFocusRing = true;
    Color textColor = Color::FromRGB(0x000000);
    Color backColor = Color::FromRGB(0xFFFFFF);
    String format;
    String mask;
    bool readOnly = false;
    std::int32_t limitText = 0;
    bool acceptTabs = false;
    std::int32_t alignment = 0;
    bool checkSpelling = false;
    String dataSource;
    String dataField;
};

const ClassTable& TextEdit::Lookup() {
    static const ClassTable table = [] {
        ClassTable t;
        t.fullName = "TextEdit";
        t.parent = &TextControl::Lookup();
        t.properties = {
            MakeProperty("TabStop", &RectControl::TabStop, &RectControl::SetTabStop),
            MakeProperty("Border", &TextEdit::Border, &TextEdit::SetBorder),
            MakeProperty("UseFocusRing", &TextEdit::UseFocusRing, &TextEdit::SetUseFocusRing),
            MakeProperty("TextColor", &TextEdit::TextColor, &TextEdit::SetTextColor),
            MakeProperty("BackColor", &TextEdit::BackColor, &TextEdit::SetBackColor),
            MakeProperty("Format", &TextEdit::Format, &TextEdit::SetFormat),
            MakeProperty("Mask", &TextEdit::Mask, &TextEdit::SetMask),
            MakeProperty("ReadOnly", &TextEdit::ReadOnly, &TextEdit::SetReadOnly),
            MakeProperty("LimitText", &TextEdit::LimitText, &TextEdit::SetLimitText),
            MakeProperty("AcceptTabs", &TextEdit::AcceptTabs, &TextEdit::SetAcceptTabs),
            MakeProperty("Alignment", &TextEdit::Alignment, &TextEdit::SetAlignment),
            MakeProperty("AutomaticallyCheckSpelling", &TextEdit::AutomaticallyCheckSpelling,
                         &TextEdit::SetAutomaticallyCheckSpelling),
            MakeProperty("DataSource", &TextEdit::DataSource, &TextEdit::SetDataSource),
            MakeProperty("DataField", &TextEdit::DataField, &TextEdit::SetDataField),
        };
        return t;
    }();
    return table;
}

TextEdit::TextEdit() : impl_(std::make_unique<Impl>()) {}
TextEdit::~TextEdit() = default;

void TextEdit::applyAcceptTabs() {}

bool TextEdit::Border() const { return impl_->border; }
void TextEdit::SetBorder(bool border) {
    impl_->border = border;
    applyLook();
}

bool TextEdit::UseFocusRing() const { return impl_->useFocusRing; }
void TextEdit::SetUseFocusRing(bool useFocusRing) { impl_->useFocusRing = useFocusRing; }

Color TextEdit::TextColor() const { return impl_->textColor; }
void TextEdit::SetTextColor(Color colour) {
    impl_->textColor = colour;
    applyLook();
}

Color TextEdit::BackColor() const { return impl_->backColor; }
void TextEdit::SetBackColor(Color colour) {
    impl_->backColor = colour;
    applyLook();
}

String TextEdit::Format() const { return impl_->format; }
void TextEdit::SetFormat(const String& format) { impl_->format = format; }

String TextEdit::Mask() const { return impl_->mask; }
void TextEdit::SetMask(const String& mask) { impl_->mask = mask; }

bool TextEdit::ReadOnly() const { return impl_->readOnly; }
void TextEdit::SetReadOnly(bool readOnly) {
    impl_->readOnly = readOnly;
    applyLook();
}

std::int32_t TextEdit::LimitText() const { return impl_->limitText; }
void TextEdit::SetLimitText(std::int32_t limit) {
    impl_->limitText = limit;
    applyLimit();
}

bool TextEdit::AcceptTabs() const { return impl_->acceptTabs; }
void TextEdit::SetAcceptTabs(bool acceptTabs) {
    impl_->acceptTabs = acceptTabs;
    applyAcceptTabs();
}

std::int32_t TextEdit::Alignment() const { return impl_->alignment; }
void TextEdit::SetAlignment(std::int32_t code) {
    impl_->alignment = code;
    applyLook();
}

bool TextEdit::AutomaticallyCheckSpelling() const { return impl_->checkSpelling; }
void TextEdit::SetAutomaticallyCheckSpelling(bool check) { impl_->checkSpelling = check; }

String TextEdit::DataSource() const { return impl_->dataSource; }
void TextEdit::SetDataSource(const String& name) { impl_->dataSource = name; }

String TextEdit::DataField() const { return impl_->dataField; }
void TextEdit::SetDataField(const String& name) { impl_->dataField = name; }

}  // namespace fw
