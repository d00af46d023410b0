#pragma once
// A page to draw on: a printer page, or a page of a PDF file for tests and for printing to file.

#include "Object.hpp"

#include <cstdint>

class QPainter;

namespace fw {

class Graphics : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    virtual std::int32_t Copies() const = 0;
    // The range of pages to print, counted from 1.
    virtual std::int32_t FirstPage() const = 0;
    virtual std::int32_t LastPage() const = 0;
    // The drawable size of a page, in the page's own units.
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    // Ends the current page and starts a new one, on which drawing goes on.
    virtual void NextPage() = 0;
    // Erases that rectangle of the current page.
    virtual void ClearRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) = 0;
    // The painter for the current page (framework use); nullptr on a page that takes no drawing,
    // where text printers lay out and advance without painting.
    virtual QPainter* painter() = 0;
};

}  // namespace fw
