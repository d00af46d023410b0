#pragma once
#include "Object.hpp"

#include <cstdint>
#include <memory>

class QTextDocument;

namespace fw {

class Graphics;

// Draws a text area's styled text block by block onto a page.
class StyledTextPrinter : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    // Draws, at x, y, the next run of whole lines that fits in the height, and moves past it.
    // A line taller than the height is drawn on its own, so that every call moves on.
    virtual void DrawBlock(std::int32_t x, std::int32_t y, std::int32_t height) = 0;
    // True once all the text has been drawn. (EOF is a macro of the C library.)
    virtual bool Eof() const = 0;

    // A printer for a copy of the text, laid out at the width in the page's units with the
    // page's font metrics; later changes to the text do not reach it. When the page is held by
    // a shared reference, drawing after the page is gone raises NilObjectException; otherwise
    // the page must outlive the printer.
    static std::shared_ptr<StyledTextPrinter> Create(const QTextDocument& text, Graphics& page, std::int32_t width);
};

}  // namespace fw
