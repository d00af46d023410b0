#pragma once
#include "RectControl.hpp"

#include <memory>

namespace fw {

// A button that runs its Action event when clicked. The default button also answers Return,
// the cancel button Escape, when the focused control leaves the key to the window.
class PushButton : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    PushButton();
    ~PushButton() override;

    String Caption() const;             // "&" marks the access key
    void SetCaption(const String& caption);
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);
    // Presses the button as a click would: runs its Action event, through the framework's
    // exception boundary. A disabled button does nothing.
    void Push();
    bool Default() const;
    void SetDefault(bool isDefault);
    bool Cancel() const;
    void SetCancel(bool isCancel);
    std::int32_t ButtonStyle() const;   // stored only: one frame style here
    void SetButtonStyle(std::int32_t style);
    String TextFont() const;            // "System": the desktop's default font
    void SetTextFont(const String& name);
    float TextSize() const;             // 0: the desktop's default size
    void SetTextSize(float size);
    bool Bold() const;
    void SetBold(bool bold);
    bool Italic() const;
    void SetItalic(bool italic);
    bool Underline() const;
    void SetUnderline(bool underline);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;

private:
    void applyFont();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
