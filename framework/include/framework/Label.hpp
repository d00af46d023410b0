#pragma once
#include "Color.hpp"
#include "TextControl.hpp"

#include <memory>

namespace fw {

// A text that the user reads. TextAlign: 0 and 1 left, 2 centred, 3 right.
class Label : public TextControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    Label();
    ~Label() override;

    String Text() const;
    void SetText(const String& text);  // CR breaks lines
    std::int32_t TextAlign() const;
    void SetTextAlign(std::int32_t code);
    Color TextColor() const;
    void SetTextColor(Color colour);
    bool MultiLine() const;  // long lines wrap between words
    void SetMultiLine(bool multiLine);
    bool Selectable() const;
    void SetSelectable(bool selectable);
    bool Transparent() const;  // false: the label fills its background
    void SetTransparent(bool transparent);
    String DataSource() const;  // stored only
    void SetDataSource(const String& name);
    String DataField() const;  // stored only
    void SetDataField(const String& name);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;
    bool takesFocus() const override;

private:
    void applyText();
    void applyLook();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
