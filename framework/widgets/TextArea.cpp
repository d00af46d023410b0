#include "TextArea.hpp"

#include "Events.hpp"
#include "Property.hpp"
#include "QtBridge.hpp"
#include "Runtime.hpp"
#include "TextView.hpp"

#include <QKeyEvent>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <new>

namespace fw {

namespace {

// Shown in place of a text that memory could not hold, so that a lost result never looks like
// an empty one.
constexpr const char* kCouldNotHold = "This text could not be shown: there is not enough memory to hold it.";

String keyText(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Home: return String("\x01");
    case Qt::Key_Enter: return String("\x03");
    case Qt::Key_End: return String("\x04");
    case Qt::Key_Backspace: return String("\x08");
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return String("\x09");
    case Qt::Key_PageUp: return String("\x0B");
    case Qt::Key_PageDown: return String("\x0C");
    case Qt::Key_Return: return String("\x0D");
    case Qt::Key_Escape: return String("\x1B");
    case Qt::Key_Left: return String("\x1C");
    case Qt::Key_Right: return String("\x1D");
    case Qt::Key_Up: return String("\x1E");
    case Qt::Key_Down: return String("\x1F");
    case Qt::Key_Delete: return String("\x7F");
    default: return qtbridge::toString(key.text());
    }
}

}  // namespace

struct TextArea::Impl {
    QPointer<TextView> view;
    String pendingText;  // the text until the widget exists
    double lineSpacing = 1.0;
    bool multiLine = true;
    bool scrollBarHorizontal = false;
    bool scrollBarVertical = true;
    bool styled = true;
    bool hideSelection = true;
};

const ClassTable& TextArea::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<TextArea>("TextArea", &TextEdit::Lookup());
        t.properties = {
            MakeProperty("MultiLine", &TextArea::MultiLine, &TextArea::SetMultiLine),
            MakeProperty("ScrollBarHorizontal", &TextArea::ScrollBarHorizontal, &TextArea::SetScrollBarHorizontal),
            MakeProperty("ScrollBarVertical", &TextArea::ScrollBarVertical, &TextArea::SetScrollBarVertical),
            MakeProperty("Styled", &TextArea::Styled, &TextArea::SetStyled),
            MakeProperty("HideSelection", &TextArea::HideSelection, &TextArea::SetHideSelection),
            MakeProperty("Text", &TextArea::Text, &TextArea::SetText),
        };
        t.handlerEvents[events::TextAreaKeyDown] =
            MakeHandlerEvent<KeyDownHandler>("KeyDown", "( TextArea, String ) as Boolean");
        return t;
    }();
    return table;
}

TextArea::TextArea() : impl_(std::make_unique<Impl>()) {}
TextArea::~TextArea() = default;

QWidget* TextArea::makeWidget(QWidget* parent) {
    auto* view = new TextView(parent);
    impl_->view = view;
    // Key presses reach the program's KeyDown handler before the view sees them. Command keys
    // (with Control or Meta) are left to the menus and the view.
    std::weak_ptr<Object> self = weak_from_this();
    view->setKeyFilter([self](const QKeyEvent& key) {
        if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        const String text = keyText(key);
        if (text.empty()) return false;
        auto area = std::dynamic_pointer_cast<TextArea>(self.lock());
        bool consumed = false;
        if (area) CallGuarded([&] { consumed = area->KeyDown(text); });
        return consumed;
    });
    return view;
}

void TextArea::applyToWidget() {
    applyFont();
    applyLook();
    const String text = std::move(impl_->pendingText);
    impl_->pendingText = String();
    SetText(text);
}

void TextArea::applyLook() {
    TextView* view = impl_->view;
    if (!view) return;
    view->setFrameShape(Border() ? QFrame::StyledPanel : QFrame::NoFrame);
    view->setReadOnly(ReadOnly());
    view->setTabChangesFocus(!AcceptTabs());
    view->setLimit(std::max<std::int32_t>(LimitText(), 0));
    view->setVerticalScrollBarPolicy(impl_->scrollBarVertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollBarPolicy(impl_->scrollBarHorizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    view->setWrapping(!impl_->scrollBarHorizontal);
    view->setAlignment(qtbridge::horizontalAlignment(Alignment()));
    view->setHideSelection(impl_->hideSelection);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, qtbridge::toQColor(TextColor()));
    palette.setColor(QPalette::Base, qtbridge::toQColor(BackColor()));
    view->setPalette(palette);
}

// The limit and the Tab key are view settings that applyLook sets together with the rest.
void TextArea::applyLimit() { applyLook(); }
void TextArea::applyAcceptTabs() { applyLook(); }

// The UTF-8 is written straight into the string handed back, and line breaks are found by
// memchr, so that reading back a long number costs one pass over it and no copy.
String TextArea::Text() const {
    if (!impl_->view) return impl_->pendingText;
    const TextBuffer& text = impl_->view->buffer();
    std::string bytes(static_cast<std::size_t>(text.utf8Room()), '\0');
    bytes.resize(static_cast<std::size_t>(text.writeUtf8(bytes.data()) - bytes.data()));
    char* const end = bytes.data() + bytes.size();
    for (char* at = bytes.data(); (at = static_cast<char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at))));)
        *at++ = '\r';
    return String(std::move(bytes));
}

void TextArea::SetText(const String& text) {
    TextView* view = impl_->view;
    if (!view) {
        impl_->pendingText = text;
        return;
    }
    try {
        view->setText(QString());
        view->setText(qtbridge::toQString(text));
    } catch (const std::bad_alloc&) {
        view->setText(QString());
        view->setText(QString::fromLatin1(kCouldNotHold));
    }
}

bool TextArea::KeyDown(const String& key) {
    auto keyDown = std::dynamic_pointer_cast<Delegate<KeyDownHandler>>(handler(events::TextAreaKeyDown));
    if (!keyDown) return false;
    return keyDown->Invoke(std::dynamic_pointer_cast<TextArea>(weak_from_this().lock()), key);
}

double TextArea::LineSpacing() const { return impl_->lineSpacing; }
void TextArea::SetLineSpacing(double spacing) { impl_->lineSpacing = spacing; }

bool TextArea::MultiLine() const { return impl_->multiLine; }
void TextArea::SetMultiLine(bool multiLine) { impl_->multiLine = multiLine; }

bool TextArea::ScrollBarHorizontal() const { return impl_->scrollBarHorizontal; }
void TextArea::SetScrollBarHorizontal(bool shown) {
    impl_->scrollBarHorizontal = shown;
    applyLook();
}

bool TextArea::ScrollBarVertical() const { return impl_->scrollBarVertical; }
void TextArea::SetScrollBarVertical(bool shown) {
    impl_->scrollBarVertical = shown;
    applyLook();
}

bool TextArea::Styled() const { return impl_->styled; }
void TextArea::SetStyled(bool styled) { impl_->styled = styled; }

bool TextArea::HideSelection() const { return impl_->hideSelection; }
void TextArea::SetHideSelection(bool hide) {
    impl_->hideSelection = hide;
    applyLook();
}

}  // namespace fw
