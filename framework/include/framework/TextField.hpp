#pragma once
#include "TextEdit.hpp"

#include <memory>

namespace fw {

// A single-line text field. An edit that would take the text past LimitText is refused whole.
class TextField : public TextEdit {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    TextField();
    ~TextField() override;

    String Text() const;
    void SetText(const String& text);  // replaces what the field held
    bool Password() const;
    void SetPassword(bool password);
    String CueText() const;  // shown while the field is empty
    void SetCueText(const String& text);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;
    void applyLook() override;
    void applyLimit() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
