#include "TextField.hpp"

#include "ControlFont.hpp"
#include "Property.hpp"
#include "QtBridge.hpp"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <limits>

namespace fw {

namespace {

// Refuses input that makes the text longer than the limit, but never shortens a text that is
// longer already (the program may set one): the user can still delete from it. While Qt
// validates, the field holds the new text already, so the length last accepted is kept here.
class LengthLimit : public QValidator {
public:
    LengthLimit(QLineEdit* field, int limit) : QValidator(field), accepted_(field->text().size()), limit_(limit) {
        connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text.size(); });
    }

    State validate(QString& input, int&) const override {
        if (input.size() > limit_ && input.size() > accepted_) return Invalid;
        return Acceptable;
    }

private:
    qsizetype accepted_;
    int limit_;
};

Qt::Alignment horizontalAlignment(std::int32_t code) {
    switch (code) {
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

}  // namespace

struct TextField::Impl {
    QPointer<QLineEdit> field;
    String pendingText;  // the text until the widget exists
    qtbridge::ControlFont font;
    bool border = true;
    bool password = false;
    bool useFocusRing = true;
    Color textColor = Color::FromRGB(0x000000);
    Color backColor = Color::FromRGB(0xFFFFFF);
    String format;
    String cueText;
    String mask;
    bool readOnly = false;
    std::int32_t limitText = 0;
    bool acceptTabs = false;
    std::int32_t alignment = 0;
    bool checkSpelling = false;
    String dataSource;
    String dataField;
};

const ClassTable& TextField::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<TextField>("TextField", &RectControl::Lookup());
        t.properties = {
            MakeProperty("TabStop", &RectControl::TabStop, &RectControl::SetTabStop),
            MakeProperty("Border", &TextField::Border, &TextField::SetBorder),
            MakeProperty("Password", &TextField::Password, &TextField::SetPassword),
            MakeProperty("UseFocusRing", &TextField::UseFocusRing, &TextField::SetUseFocusRing),
            MakeProperty("TextColor", &TextField::TextColor, &TextField::SetTextColor),
            MakeProperty("BackColor", &TextField::BackColor, &TextField::SetBackColor),
            MakeProperty("Format", &TextField::Format, &TextField::SetFormat),
            MakeProperty("TextFont", &TextField::TextFont, &TextField::SetTextFont),
            MakeProperty("Bold", &TextField::Bold, &TextField::SetBold),
            MakeProperty("Italic", &TextField::Italic, &TextField::SetItalic),
            MakeProperty("Underline", &TextField::Underline, &TextField::SetUnderline),
            MakeProperty("CueText", &TextField::CueText, &TextField::SetCueText),
            MakeProperty("Text", &TextField::Text, &TextField::SetText),
            MakeProperty("Mask", &TextField::Mask, &TextField::SetMask),
            MakeProperty("ReadOnly", &TextField::ReadOnly, &TextField::SetReadOnly),
            MakeProperty("LimitText", &TextField::LimitText, &TextField::SetLimitText),
            MakeProperty("AcceptTabs", &TextField::AcceptTabs, &TextField::SetAcceptTabs),
            MakeProperty("Alignment", &TextField::Alignment, &TextField::SetAlignment),
            MakeProperty("AutomaticallyCheckSpelling", &TextField::AutomaticallyCheckSpelling,
                         &TextField::SetAutomaticallyCheckSpelling),
            MakeProperty("DataSource", &TextField::DataSource, &TextField::SetDataSource),
            MakeProperty("DataField", &TextField::DataField, &TextField::SetDataField),
        };
        return t;
    }();
    return table;
}

TextField::TextField() : impl_(std::make_unique<Impl>()) {}
TextField::~TextField() = default;

QWidget* TextField::makeWidget(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    // Qt's default limit of 32767 characters would cut off long numbers.
    field->setMaxLength(std::numeric_limits<int>::max());
    impl_->field = field;
    return field;
}

void TextField::applyToWidget() {
    impl_->field->setText(qtbridge::toQString(impl_->pendingText));
    impl_->pendingText = String();
    applyFont();
    applyLook();
    applyLimit();
}

void TextField::applyFont() {
    if (impl_->field) impl_->field->setFont(impl_->font.resolve());
}

void TextField::applyLook() {
    QLineEdit* field = impl_->field;
    if (!field) return;
    field->setFrame(impl_->border);
    field->setEchoMode(impl_->password ? QLineEdit::Password : QLineEdit::Normal);
    field->setReadOnly(impl_->readOnly);
    field->setPlaceholderText(qtbridge::toQString(impl_->cueText));
    field->setAlignment(horizontalAlignment(impl_->alignment) | Qt::AlignVCenter);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, qtbridge::toQColor(impl_->textColor));
    palette.setColor(QPalette::Base, qtbridge::toQColor(impl_->backColor));
    field->setPalette(palette);
}

void TextField::applyLimit() {
    QLineEdit* field = impl_->field;
    if (!field) return;
    const QValidator* old = field->validator();
    field->setValidator(impl_->limitText > 0 ? new LengthLimit(field, impl_->limitText) : nullptr);
    delete old;
}

String TextField::Text() const {
    return impl_->field ? qtbridge::toString(impl_->field->text()) : impl_->pendingText;
}
void TextField::SetText(const String& text) {
    if (impl_->field) impl_->field->setText(qtbridge::toQString(text));
    else impl_->pendingText = text;
}

FontUnits TextField::TextUnit() const { return impl_->font.unit; }
void TextField::SetTextUnit(FontUnits unit) {
    impl_->font.unit = unit;
    applyFont();
}

bool TextField::Border() const { return impl_->border; }
void TextField::SetBorder(bool border) {
    impl_->border = border;
    applyLook();
}

bool TextField::Password() const { return impl_->password; }
void TextField::SetPassword(bool password) {
    impl_->password = password;
    applyLook();
}

bool TextField::UseFocusRing() const { return impl_->useFocusRing; }
void TextField::SetUseFocusRing(bool useFocusRing) { impl_->useFocusRing = useFocusRing; }

Color TextField::TextColor() const { return impl_->textColor; }
void TextField::SetTextColor(Color colour) {
    impl_->textColor = colour;
    applyLook();
}

Color TextField::BackColor() const { return impl_->backColor; }
void TextField::SetBackColor(Color colour) {
    impl_->backColor = colour;
    applyLook();
}

String TextField::Format() const { return impl_->format; }
void TextField::SetFormat(const String& format) { impl_->format = format; }

String TextField::TextFont() const { return impl_->font.family; }
void TextField::SetTextFont(const String& name) {
    impl_->font.family = name;
    applyFont();
}

float TextField::TextSize() const { return impl_->font.size; }
void TextField::SetTextSize(float size) {
    impl_->font.size = size;
    applyFont();
}

bool TextField::Bold() const { return impl_->font.bold; }
void TextField::SetBold(bool bold) {
    impl_->font.bold = bold;
    applyFont();
}

bool TextField::Italic() const { return impl_->font.italic; }
void TextField::SetItalic(bool italic) {
    impl_->font.italic = italic;
    applyFont();
}

bool TextField::Underline() const { return impl_->font.underline; }
void TextField::SetUnderline(bool underline) {
    impl_->font.underline = underline;
    applyFont();
}

String TextField::CueText() const { return impl_->cueText; }
void TextField::SetCueText(const String& text) {
    impl_->cueText = text;
    applyLook();
}

String TextField::Mask() const { return impl_->mask; }
void TextField::SetMask(const String& mask) { impl_->mask = mask; }

bool TextField::ReadOnly() const { return impl_->readOnly; }
void TextField::SetReadOnly(bool readOnly) {
    impl_->readOnly = readOnly;
    applyLook();
}

std::int32_t TextField::LimitText() const { return impl_->limitText; }
void TextField::SetLimitText(std::int32_t limit) {
    impl_->limitText = limit;
    applyLimit();
}

bool TextField::AcceptTabs() const { return impl_->acceptTabs; }
void TextField::SetAcceptTabs(bool acceptTabs) { impl_->acceptTabs = acceptTabs; }

std::int32_t TextField::Alignment() const { return impl_->alignment; }
void TextField::SetAlignment(std::int32_t code) {
    impl_->alignment = code;
    applyLook();
}

bool TextField::AutomaticallyCheckSpelling() const { return impl_->checkSpelling; }
void TextField::SetAutomaticallyCheckSpelling(bool check) { impl_->checkSpelling = check; }

String TextField::DataSource() const { return impl_->dataSource; }
void TextField::SetDataSource(const String& name) { impl_->dataSource = name; }

String TextField::DataField() const { return impl_->dataField; }
void TextField::SetDataField(const String& name) { impl_->dataField = name; }

}  // namespace fw
