#pragma once
#include "RectControl.hpp"

#include <memory>

namespace fw {

class Picture;

// Draws its backdrop picture at its top-left corner, or nothing when it has none.
class Canvas : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    Canvas();
    ~Canvas() override;

    std::shared_ptr<Picture> Backdrop() const;
    void SetBackdrop(std::shared_ptr<Picture> picture);
    bool UseFocusRing() const;  // stored only
    void SetUseFocusRing(bool useFocusRing);
    bool AcceptFocus() const;  // whether the canvas can take the keyboard focus
    void SetAcceptFocus(bool acceptFocus);
    bool AcceptTabs() const;  // stored only
    void SetAcceptTabs(bool acceptTabs);
    bool DoubleBuffer() const;  // stored only: Qt always draws through a buffer
    void SetDoubleBuffer(bool doubleBuffer);
    bool EraseBackground() const;  // stored only: the window's background shows through
    void SetEraseBackground(bool erase);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;
    bool takesFocus() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
