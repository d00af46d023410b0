#include "TextField.hpp"

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

}  // namespace

struct TextField::Impl {
    QPointer<QLineEdit> field;
    String pendingText;  // the text until the widget exists
    bool password = false;
    String cueText;
};

const ClassTable& TextField::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<TextField>("TextField", &TextEdit::Lookup());
        t.properties = {
            MakeProperty("Password", &TextField::Password, &TextField::SetPassword),
            MakeProperty("CueText", &TextField::CueText, &TextField::SetCueText),
            MakeProperty("Text", &TextField::Text, &TextField::SetText),
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

void TextField::applyLook() {
    QLineEdit* field = impl_->field;
    if (!field) return;
    field->setFrame(Border());
    field->setEchoMode(impl_->password ? QLineEdit::Password : QLineEdit::Normal);
    field->setReadOnly(ReadOnly());
    field->setPlaceholderText(qtbridge::toQString(impl_->cueText));
    field->setAlignment(qtbridge::horizontalAlignment(Alignment()) | Qt::AlignVCenter);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, qtbridge::toQColor(TextColor()));
    palette.setColor(QPalette::Base, qtbridge::toQColor(BackColor()));
    field->setPalette(palette);
}

void TextField::applyLimit() {
    QLineEdit* field = impl_->field;
    if (!field) return;
    const QValidator* old = field->validator();
    field->setValidator(LimitText() > 0 ? new LengthLimit(field, LimitText()) : nullptr);
    delete old;
}

String TextField::Text() const { return impl_->field ? qtbridge::toString(impl_->field->text()) : impl_->pendingText; }
void TextField::SetText(const String& text) {
    if (impl_->field) impl_->field->setText(qtbridge::toQString(text));
    else impl_->pendingText = text;
}

bool TextField::Password() const { return impl_->password; }
void TextField::SetPassword(bool password) {
    impl_->password = password;
    applyLook();
}

String TextField::CueText() const { return impl_->cueText; }
void TextField::SetCueText(const String& text) {
    impl_->cueText = text;
    applyLook();
}

}  // namespace fw
