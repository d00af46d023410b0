#pragma once
#include "TextControl.hpp"

#include <memory>

namespace fw {

// A button that runs its Action event when clicked. The default button also answers Return,
// the cancel button Escape, when the focused control leaves the key to the window.
class PushButton : public TextControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    // The handler of the Action event (events::PushButtonAction), given the button pressed.
    using ActionHandler = void(std::shared_ptr<PushButton>);

    PushButton();
    ~PushButton() override;

    String Caption() const;  // "&" marks the access key
    void SetCaption(const String& caption);
    // Presses the button as a click would: runs its Action event, through the framework's
    // exception boundary. A disabled button does nothing.
    void Push();
    bool Default() const;
    void SetDefault(bool isDefault);
    bool Cancel() const;
    void SetCancel(bool isCancel);
    std::int32_t ButtonStyle() const;  // stored only: one frame style here
    void SetButtonStyle(std::int32_t style);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
