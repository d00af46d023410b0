#pragma once
#include "PreparedText.hpp"
#include "TextEdit.hpp"

#include <memory>

namespace fw {

class Graphics;
class StyledTextPrinter;

// A multi-line scrolling text area that holds a text of any length memory allows, a number of a
// hundred million digits in one line included, at a cost that follows what is shown.
//
// Lines wrap at the width of the area: between words, and anywhere inside a run wider than the
// area. With ScrollBarHorizontal lines do not wrap. LimitText holds typing and pasting alike: a
// paste is cut to the room left. A text that memory cannot hold is replaced by a sentence that
// says so.
class TextArea : public TextEdit {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    // The handler of the KeyDown event (events::TextAreaKeyDown), given the area and the key;
    // true when it consumed the key.
    using KeyDownHandler = bool(std::shared_ptr<TextArea>, String);

    TextArea();
    ~TextArea() override;

    String Text() const;               // line breaks read back as CR
    void SetText(const String& text);  // replaces the whole text; CR, LF and CR LF break lines
    // The same for a text made ready off the event loop, which then costs the loop less.
    void SetPreparedText(PreparedText text);

    // While busy, the area takes no edits from the user, whatever ReadOnly says: work under way
    // will replace its text. It can still be scrolled, selected and copied, and SetText still
    // replaces the text. Ending busy takes the busy note away.
    bool Busy() const;
    void SetBusy(bool busy);
    // Words over the text while the area is busy (empty: none): the note stands apart from the
    // text, so that Text(), Select All and Copy never take it for part of it.
    String BusyNote() const;
    void SetBusyNote(const String& note);
    double LineSpacing() const;  // stored only: lines keep the font's spacing
    void SetLineSpacing(double spacing);

    // Runs the KeyDown handler (event 13) with the key's text; true when it consumed the key,
    // false when it let it through or there is no handler. Keys without text come as the
    // control codes 1 Home, 3 Enter, 4 End, 8 Backspace, 9 Tab, 11 Page Up, 12 Page Down,
    // 13 Return, 27 Escape, 28 to 31 the arrows left, right, up, down, 127 Delete.
    bool KeyDown(const String& key);

    // A printer for the area's styled text, laid out at the width, drawing on the page.
    std::shared_ptr<StyledTextPrinter> styledTextPrinter(Graphics& page, std::int32_t width);

    bool MultiLine() const;  // stored only
    void SetMultiLine(bool multiLine);
    bool ScrollBarHorizontal() const;
    void SetScrollBarHorizontal(bool shown);
    bool ScrollBarVertical() const;
    void SetScrollBarVertical(bool shown);
    bool Styled() const;  // stored only: the text is plain
    void SetStyled(bool styled);
    bool HideSelection() const;  // the selection shows only while the area has the focus
    void SetHideSelection(bool hide);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;
    void applyLook() override;
    void applyLimit() override;
    void applyAcceptTabs() override;

private:
    friend class TextPreparer;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
