#pragma once
#include "RectControl.hpp"

#include <memory>

class QTextDocument;

namespace fw {

class Graphics;
class StyledTextPrinter;

// A multi-line scrolling text area; fast on numbers of millions of digits in one line.
class TextArea : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    String Text() const;                // line breaks read back as CR
    void SetText(const String& text);   // replaces the whole text; CR breaks lines
    double LineSpacing() const;
    void SetLineSpacing(double spacing);
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);

    // The area's document, laid out as shown (framework use: printing lays it out anew).
    QTextDocument* document() const;

    // A printer for the area's styled text, laid out at the width, drawing on the page.
    std::shared_ptr<StyledTextPrinter> styledTextPrinter(Graphics& page, std::int32_t width);
    // Record properties: TabStop, Border, MultiLine, ScrollBarHorizontal, ScrollBarVertical,
    // Styled, UseFocusRing, TextColor, BackColor, Format, HideSelection, TextFont, Bold, Italic,
    // Underline, Mask, ReadOnly, LimitText, AcceptTabs, Alignment, AutomaticallyCheckSpelling,
    // DataSource, DataField.
};

}  // namespace fw
