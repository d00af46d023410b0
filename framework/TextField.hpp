#pragma once
#include "Color.hpp"
#include "RectControl.hpp"

#include <memory>

namespace fw {

// A single-line text field. Alignment: 0 and 1 left, 2 centred, 3 right.
class TextField : public RectControl {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    TextField();
    ~TextField() override;

    String Text() const;
    void SetText(const String& text);   // replaces what the field held
    FontUnits TextUnit() const;
    void SetTextUnit(FontUnits unit);
    bool Border() const;
    void SetBorder(bool border);
    bool Password() const;
    void SetPassword(bool password);
    bool UseFocusRing() const;          // stored only: the desktop draws the focus
    void SetUseFocusRing(bool useFocusRing);
    Color TextColor() const;
    void SetTextColor(Color colour);
    Color BackColor() const;
    void SetBackColor(Color colour);
    String Format() const;              // stored only
    void SetFormat(const String& format);
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
    String CueText() const;             // shown while the field is empty
    void SetCueText(const String& text);
    String Mask() const;                // stored only
    void SetMask(const String& mask);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // The most characters the user may type (0: no limit); text set by the program is kept whole.
    std::int32_t LimitText() const;
    void SetLimitText(std::int32_t limit);
    bool AcceptTabs() const;            // stored only: a field passes Tab on
    void SetAcceptTabs(bool acceptTabs);
    std::int32_t Alignment() const;
    void SetAlignment(std::int32_t code);
    bool AutomaticallyCheckSpelling() const;  // stored only
    void SetAutomaticallyCheckSpelling(bool check);
    String DataSource() const;          // stored only
    void SetDataSource(const String& name);
    String DataField() const;           // stored only
    void SetDataField(const String& name);

protected:
    QWidget* makeWidget(QWidget* parent) override;
    void applyToWidget() override;

private:
    void applyFont();
    void applyLook();
    void applyLimit();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
