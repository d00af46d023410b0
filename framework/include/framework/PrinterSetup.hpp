#pragma once
#include "Object.hpp"

#include <cstdint>

namespace fw {

// The printable area of a page, in the units of the page's Graphics (Width, Height).
class PrinterSetup : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    PrinterSetup() = default;
    PrinterSetup(std::int32_t width, std::int32_t height) : width_(width), height_(height) {}
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }

private:
    std::int32_t width_ = 0, height_ = 0;
};

}  // namespace fw
