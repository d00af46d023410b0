#pragma once
#include "Color.hpp"
#include "TextControl.hpp"

#include <cstdint>
#include <memory>

namespace fw {

// Text that the user edits: the common part of TextField and TextArea. Each of them shows these
// properties on its own widget, through the hooks below. Alignment: 0 and 1 left, 2 centred,
// 3 right.
class TextEdit : public TextControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    ~TextEdit() override;

    bool Border() const;
    void SetBorder(bool border);
    bool UseFocusRing() const;  // stored only: the desktop draws the focus
    void SetUseFocusRing(bool useFocusRing);
    Color TextColor() const;
    void SetTextColor(Color colour);
    Color BackColor() const;
    void SetBackColor(Color colour);
    String Format() const;  // stored only
    void SetFormat(const String& format);
    String Mask() const;  // stored only
    void SetMask(const String& mask);
    bool ReadOnly() const;  // the text can still be selected and copied
    void SetReadOnly(bool readOnly);
    // The most characters the user may add (0: no limit); text set by the program is kept whole.
    std::int32_t LimitText() const;
    void SetLimitText(std::int32_t limit);
    bool AcceptTabs() const;  // false: Tab moves the focus on; a field always passes it on
    void SetAcceptTabs(bool acceptTabs);
    std::int32_t Alignment() const;
    void SetAlignment(std::int32_t code);
    bool AutomaticallyCheckSpelling() const;  // stored only
    void SetAutomaticallyCheckSpelling(bool check);
    String DataSource() const;  // stored only
    void SetDataSource(const String& name);
    String DataField() const;  // stored only
    void SetDataField(const String& name);

protected:
    TextEdit();
    // Shows Border, TextColor, BackColor, ReadOnly and Alignment, with the control's own
    // properties, on the widget once it exists.
    virtual void applyLook() = 0;
    // A single line and a scrolling area hold the user to LimitText in different ways.
    virtual void applyLimit() = 0;
    // Only a control whose widget can take a Tab as text shows AcceptTabs.
    virtual void applyAcceptTabs();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
