#include "TextArea.hpp"

#include "Events.hpp"
#include "Property.hpp"
#include "QtBridge.hpp"
#include "Runtime.hpp"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>

namespace fw {

namespace {

// The longest run of non-blank characters that is still wrapped between words. Qt's
// word-or-anywhere wrapping first measures a whole word for every line it breaks inside it,
// so a run of n characters costs time in n squared: 20,000 digits take 26 ms, 100,000 take
// 0.6 s. Wrapping anywhere is linear (a million digits in 0.17 s). Below this length the
// square is negligible; prose has no words near it.
constexpr qsizetype kLongestWrappedWord = 1000;

bool hasRunLongerThan(QStringView text, qsizetype limit) {
    qsizetype run = 0;
    for (QChar c : text) {
        if (c.isSpace()) run = 0;
        else if (++run > limit) return true;
    }
    return false;
}

// A block boundary is a line break, so runs end with their block.
bool blocksHaveLongRun(QTextBlock block, const QTextBlock& last) {
    for (; block.isValid(); block = block.next()) {
        if (hasRunLongerThan(block.text(), kLongestWrappedWord)) return true;
        if (block == last) break;
    }
    return false;
}

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

// Chooses the wrapping before Qt lays out a long run with word wrapping: a long number laid out
// once that way would take minutes. Qt's plain text layout lays a block out from two places, and
// both are watched. documentChanged hears every change of the text once its edit is finished:
// the program's text, the user's typing and pasting, undo and redo. blockBoundingRect lays out
// a block whose layout was cleared, and may be asked to in the middle of an edit, before
// documentChanged hears of it: setPlainText clears the old text (which clears the block's
// layout when there was any text), inserts the new one and then selects it all to set its
// format, and moving that cursor lays out the block it stands in.
class WrapChoosingLayout : public QPlainTextDocumentLayout {
public:
    WrapChoosingLayout(QTextDocument* document, QPlainTextEdit* edit) : QPlainTextDocumentLayout(document), edit_(edit) {}

    // The document outlives the edit's own destructor by a little (it is the edit's child).
    void detach() { edit_ = nullptr; }

    QRectF blockBoundingRect(const QTextBlock& block) const override {
        // Only the change to wrapping anywhere is urgent here; word wrapping comes back with
        // documentChanged, and wrapping a short text anywhere meanwhile costs nothing.
        if (!anywhere_ && !choosing_ && block.isValid() && block.layout()->lineCount() == 0 &&
            hasRunLongerThan(block.text(), kLongestWrappedWord))
            const_cast<WrapChoosingLayout*>(this)->wrap(true);
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }

protected:
    void documentChanged(int from, int removed, int added) override {
        // A change of mode has laid out the whole document already.
        if (!choosing_ && chooseWrapping(from, removed, added)) return;
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
    }

private:
    bool chooseWrapping(int from, int removed, int added) {
        if (!edit_) return false;
        QTextDocument* text = document();
        bool longRuns = anywhere_;
        if (anywhere_ && removed > 0) longRuns = blocksHaveLongRun(text->begin(), text->lastBlock());
        else if (!anywhere_ && added > 0) longRuns = blocksHaveLongRun(text->findBlock(from), text->findBlock(from + added));
        return longRuns != anywhere_ && wrap(longRuns);
    }

    // True when the document's mode changed, which lays the document out anew (Qt calls
    // documentChanged over the whole text, and that call passes straight through).
    bool wrap(bool anywhere) {
        if (!edit_) return false;
        anywhere_ = anywhere;
        choosing_ = true;
        QTextDocument* text = document();
        const QTextOption::WrapMode before = text->defaultTextOption().wrapMode();
        edit_->setWordWrapMode(anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
        choosing_ = false;
        return text->defaultTextOption().wrapMode() != before;
    }

    QPlainTextEdit* edit_;
    bool anywhere_ = false;
    bool choosing_ = false;
};

// The plain text edit, with the typing limit applied to pasted and dropped text too.
class AreaEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    ~AreaEdit() override {
        if (wrapLayout) wrapLayout->detach();
    }
    int limit = 0;
    WrapChoosingLayout* wrapLayout = nullptr;

    // Characters the user may still add, counting a selection as replaced.
    int room() const {
        const int held = document()->characterCount() - 1;
        return limit - (held - static_cast<int>(textCursor().selectedText().size()));
    }

protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (limit <= 0 || !source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        QString text = source->text();
        const int free = room();
        if (free <= 0) return;
        if (text.size() > free) text.truncate(free);
        insertPlainText(text);
    }
};

// Key presses reach the program's KeyDown handler before the edit sees them. Command keys
// (with Control or Meta) are left to the menus and the edit.
class KeyWatcher : public QObject {
public:
    KeyWatcher(AreaEdit* edit, std::weak_ptr<Object> area) : QObject(edit), edit_(edit), area_(std::move(area)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != edit_ || event->type() != QEvent::KeyPress) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        const String text = keyText(key);
        if (text.empty()) return false;
        if (auto area = std::dynamic_pointer_cast<TextArea>(area_.lock())) {
            bool consumed = false;
            CallGuarded([&] { consumed = area->KeyDown(text); });
            if (consumed) return true;
        }
        const bool adds = !key.text().isEmpty() && (key.text().at(0).isPrint() || key.key() == Qt::Key_Return ||
                                                    key.key() == Qt::Key_Enter);
        return adds && !edit_->isReadOnly() && edit_->limit > 0 && edit_->room() <= 0;
    }

private:
    AreaEdit* edit_;
    std::weak_ptr<Object> area_;
};

}  // namespace

struct TextArea::Impl {
    QPointer<AreaEdit> edit;
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
        return t;
    }();
    return table;
}

TextArea::TextArea() : impl_(std::make_unique<Impl>()) {}
TextArea::~TextArea() = default;

QWidget* TextArea::makeWidget(QWidget* parent) {
    auto* edit = new AreaEdit(parent);
    impl_->edit = edit;
    auto* text = new QTextDocument(edit);
    edit->wrapLayout = new WrapChoosingLayout(text, edit);
    text->setDocumentLayout(edit->wrapLayout);
    edit->setDocument(text);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->installEventFilter(new KeyWatcher(edit, weak_from_this()));
    return edit;
}

void TextArea::applyToWidget() {
    applyFont();
    applyLook();
    const String text = std::move(impl_->pendingText);
    impl_->pendingText = String();
    SetText(text);
}

void TextArea::applyLook() {
    AreaEdit* edit = impl_->edit;
    if (!edit) return;
    edit->setFrameShape(Border() ? QFrame::StyledPanel : QFrame::NoFrame);
    edit->setReadOnly(ReadOnly());
    if (ReadOnly()) edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setTabChangesFocus(!AcceptTabs());
    edit->limit = LimitText() > 0 ? LimitText() : 0;
    // An always-shown vertical bar keeps the width fixed: a bar that came and went would lay
    // out a long text twice.
    edit->setVerticalScrollBarPolicy(impl_->scrollBarVertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(impl_->scrollBarHorizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(impl_->scrollBarHorizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    QTextOption option = edit->document()->defaultTextOption();
    const Qt::Alignment alignment = qtbridge::horizontalAlignment(Alignment());
    if (option.alignment() != alignment) {
        option.setAlignment(alignment);
        edit->document()->setDefaultTextOption(option);
    }
    QPalette palette = edit->palette();
    const QColor text = qtbridge::toQColor(TextColor());
    const QColor back = qtbridge::toQColor(BackColor());
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, back);
    if (impl_->hideSelection) {
        palette.setColor(QPalette::Inactive, QPalette::Highlight, back);
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    } else {
        palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
    }
    edit->setPalette(palette);
}

// The limit and the Tab key are edit settings that applyLook sets together with the rest.
void TextArea::applyLimit() { applyLook(); }
void TextArea::applyAcceptTabs() { applyLook(); }

String TextArea::Text() const {
    if (!impl_->edit) return impl_->pendingText;
    // The raw text keeps every character as typed (the plain text turns no-break spaces into
    // blanks); blocks are separated by paragraph separators.
    QString raw = impl_->edit->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\r'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\r'));
    return qtbridge::toString(raw);
}

void TextArea::SetText(const String& text) {
    if (!impl_->edit) {
        impl_->pendingText = text;
        return;
    }
    // Emptying the area first saves two of three layouts of a long text (the layout keeps them
    // linear either way). Over a text, setPlainText clears the block's layout, so the new text
    // is laid out as setPlainText selects it, and twice as its change arrives; over an empty
    // area the block keeps its empty one-line layout until then, and is laid out once.
    QPlainTextEdit* edit = impl_->edit;
    if (!edit->document()->isEmpty()) edit->setPlainText(QString());
    edit->setPlainText(QString::fromStdString(qtbridge::crToLineFeeds(text.view())));
}

bool TextArea::KeyDown(const String& key) {
    auto keyDown = std::dynamic_pointer_cast<Delegate<bool(std::shared_ptr<TextArea>, String)>>(
        handler(events::TextAreaKeyDown));
    if (!keyDown) return false;
    return keyDown->Invoke(std::dynamic_pointer_cast<TextArea>(weak_from_this().lock()), key);
}

QTextDocument* TextArea::document() const { return impl_->edit ? impl_->edit->document() : nullptr; }

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
