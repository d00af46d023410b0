#pragma once
#include "Object.hpp"

#include <cstdint>

namespace fw {

// Draws a text area's styled text block by block onto a page.
class StyledTextPrinter : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    // Draws, at x, y, the next run of whole lines that fits in the height, and moves past it.
    virtual void DrawBlock(std::int32_t x, std::int32_t y, std::int32_t height) = 0;
    // True once all the text has been drawn. (EOF is a macro of the C library.)
    virtual bool Eof() const = 0;
};

}  // namespace fw
