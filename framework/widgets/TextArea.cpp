#include "TextArea.hpp"

#include "Events.hpp"
#include "NoteOverlay.hpp"
#include "ParallelUtf8.hpp"
#include "PreparedTextImpl.hpp"
#include "Property.hpp"
#include "QtBridge.hpp"
#include "Runtime.hpp"
#include "TextView.hpp"

#include <QKeyEvent>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>
#include <utility>

namespace fw {

namespace {

// Shown in place of a text that memory could not hold, so that a lost result never looks like
// an empty one.
constexpr const char* kCouldNotHold = "This text could not be shown: there is not enough memory to hold it.";

// Giving back the memory of a text of a billion characters takes the system a tenth of a
// second; from this length on, an old text is let go on a thread of its own.
constexpr qsizetype kLetGoApart = qsizetype{16} << 20;

template <class Text>
void letGo(Text text, qsizetype length) {
    if (length < kLetGoApart) return;
    try {
        // The thread's copy of the lambda, and the text with it, goes when the thread ends.
        std::thread([old = std::move(text)] {}).detach();
    } catch (const std::system_error&) {}
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
    bool busy = false;
    QPointer<NoteOverlay> busyNote;
    String busyNoteText;  // the note until the widget exists
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
        const String text = qtbridge::keyText(key);
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
    if (!impl_->busyNoteText.empty()) SetBusyNote(std::exchange(impl_->busyNoteText, String()));
}

void TextArea::applyLook() {
    TextView* view = impl_->view;
    if (!view) return;
    view->setFrameShape(Border() ? QFrame::StyledPanel : QFrame::NoFrame);
    view->setReadOnly(ReadOnly() || impl_->busy);
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

TextPreparer::TextPreparer(const TextArea& area) : impl_(std::make_shared<Impl>()) {
    if (TextView* view = area.impl_->view) std::const_pointer_cast<Impl>(impl_)->settings = view->layoutSettings();
}

void TextArea::SetPreparedText(PreparedText text) {
    TextView* view = impl_->view;
    const bool held = text.Held();
    if (view && held && text.impl_ && text.impl_->laidOut) {
        try {
            LaidOutText old = view->setLaidOutText(std::move(*text.impl_->laidOut));
            const qsizetype oldLength = old.buffer().size();
            letGo(std::move(old), oldLength);
            return;
        } catch (const std::bad_alloc&) {
            view->setText(QString());
            view->setText(QString::fromLatin1(kCouldNotHold));
            return;
        }
    }
    QString characters = text.impl_ ? std::move(text.impl_->text) : QString();
    if (!view) {
        impl_->pendingText = held ? qtbridge::toString(characters) : String(kCouldNotHold);
        return;
    }
    // The old text goes first, so that the new one and its lines have its memory.
    QString old = view->text();
    view->setText(QString());
    const qsizetype oldLength = old.size();
    letGo(std::move(old), oldLength);
    try {
        if (!held) throw std::bad_alloc();
        view->setText(std::move(characters));
    } catch (const std::bad_alloc&) {
        view->setText(QString());
        view->setText(QString::fromLatin1(kCouldNotHold));
    }
}

bool TextArea::Busy() const { return impl_->busy; }

void TextArea::SetBusy(bool busy) {
    impl_->busy = busy;
    if (!busy) {
        impl_->busyNoteText = String();
        delete impl_->busyNote;
    }
    applyLook();
}

void TextArea::SetBusyNote(const String& note) {
    if (!impl_->busy) return;
    TextView* view = impl_->view;
    if (!view) {
        impl_->busyNoteText = note;
        return;
    }
    if (note.empty()) {
        delete impl_->busyNote;
        return;
    }
    if (!impl_->busyNote) impl_->busyNote = new NoteOverlay(view);
    impl_->busyNote->setNote(qtbridge::toQString(note));
}

String TextArea::BusyNote() const {
    if (impl_->busyNote) return qtbridge::toString(impl_->busyNote->text());
    return impl_->busyNoteText;
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
