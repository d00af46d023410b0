#pragma once
#include "RectControl.hpp"

#include <memory>

namespace fw {

class Picture;

// Draws its backdrop picture, or nothing when it has none.
class Canvas : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    std::shared_ptr<Picture> Backdrop() const;
    void SetBackdrop(std::shared_ptr<Picture> picture);
    // Record properties: TabStop, UseFocusRing, AcceptFocus, AcceptTabs, DoubleBuffer,
    // EraseBackground.
};

}  // namespace fw
