#pragma once
#include "Color.hpp"
#include "RectControl.hpp"

#include <memory>

namespace fw {

// A filled rectangle with rounded corners and a border. OvalWidth and OvalHeight are the full
// width and height of the ovals that round the corners; a border of width 0 draws none.
class RoundRectangle : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    RoundRectangle();
    ~RoundRectangle() override;

    Color FillColor() const;
    void SetFillColor(Color colour);
    std::int32_t BorderWidth() const;
    void SetBorderWidth(std::int32_t width);
    Color BorderColor() const;
    void SetBorderColor(Color colour);
    std::int32_t OvalWidth() const;
    void SetOvalWidth(std::int32_t width);
    std::int32_t OvalHeight() const;
    void SetOvalHeight(std::int32_t height);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;
    bool takesFocus() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
