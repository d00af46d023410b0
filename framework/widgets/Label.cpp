#include "Label.hpp"

#include "Property.hpp"
#include "QtBridge.hpp"

#include <QLabel>
#include <QPointer>

namespace fw {

struct Label::Impl {
    QPointer<QLabel> label;
    String text;
    std::int32_t textAlign = 0;
    Color textColor = Color::FromRGB(0x000000);
    bool multiLine = false;
    bool selectable = false;
    bool transparent = false;
    String dataSource;
    String dataField;
};

const ClassTable& Label::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<Label>("Label", &TextControl::Lookup());
        t.properties = {
            MakeProperty("Text", &Label::Text, &Label::SetText),
            MakeProperty("TextAlign", &Label::TextAlign, &Label::SetTextAlign),
            MakeProperty("TextColor", &Label::TextColor, &Label::SetTextColor),
            MakeProperty("MultiLine", &Label::MultiLine, &Label::SetMultiLine),
            MakeProperty("Selectable", &Label::Selectable, &Label::SetSelectable),
            MakeProperty("Transparent", &Label::Transparent, &Label::SetTransparent),
            MakeProperty("DataSource", &Label::DataSource, &Label::SetDataSource),
            MakeProperty("DataField", &Label::DataField, &Label::SetDataField),
        };
        return t;
    }();
    return table;
}

Label::Label() : impl_(std::make_unique<Impl>()) {}
Label::~Label() = default;

QWidget* Label::makeWidget(QWidget* parent) {
    auto* label = new QLabel(parent);
    // The text is shown as written: no markup is interpreted.
    label->setTextFormat(Qt::PlainText);
    impl_->label = label;
    return label;
}

void Label::applyToWidget() {
    applyText();
    applyFont();
    applyLook();
}

bool Label::takesFocus() const { return false; }

void Label::applyText() {
    if (impl_->label) impl_->label->setText(QString::fromStdString(qtbridge::crToLineFeeds(impl_->text.view())));
}

void Label::applyLook() {
    QLabel* label = impl_->label;
    if (!label) return;
    label->setAlignment(qtbridge::horizontalAlignment(impl_->textAlign) | Qt::AlignTop);
    label->setWordWrap(impl_->multiLine);
    label->setTextInteractionFlags(impl_->selectable ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                                     : Qt::NoTextInteraction);
    label->setAutoFillBackground(!impl_->transparent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, qtbridge::toQColor(impl_->textColor));
    label->setPalette(palette);
}

String Label::Text() const { return impl_->text; }
void Label::SetText(const String& text) {
    impl_->text = text;
    applyText();
}

std::int32_t Label::TextAlign() const { return impl_->textAlign; }
void Label::SetTextAlign(std::int32_t code) {
    impl_->textAlign = code;
    applyLook();
}

Color Label::TextColor() const { return impl_->textColor; }
void Label::SetTextColor(Color colour) {
    impl_->textColor = colour;
    applyLook();
}

bool Label::MultiLine() const { return impl_->multiLine; }
void Label::SetMultiLine(bool multiLine) {
    impl_->multiLine = multiLine;
    applyLook();
}

bool Label::Selectable() const { return impl_->selectable; }
void Label::SetSelectable(bool selectable) {
    impl_->selectable = selectable;
    applyLook();
}

bool Label::Transparent() const { return impl_->transparent; }
void Label::SetTransparent(bool transparent) {
    impl_->transparent = transparent;
    applyLook();
}

String Label::DataSource() const { return impl_->dataSource; }
void Label::SetDataSource(const String& name) { impl_->dataSource = name; }

String Label::DataField() const { return impl_->dataField; }
void Label::SetDataField(const String& name) { impl_->dataField = name; }

}  // namespace fw
