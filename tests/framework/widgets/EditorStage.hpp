#pragma once
// One of the two editors a case is played on, Qt's QPlainTextEdit or our view, set up alike: the
// same font and size, the frame and scroll bars of the number panes, wrapping at the view's
// width after the last blank that fits or anywhere in a longer run. A field before it and one
// after it take the focus that Tab hands on.
//
// Everything a case reads or aims at goes through this one interface, in the terms of the
// laid-out text, so that neither editor's own way of measuring leaks into the comparison.

#include "EditorCase.hpp"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <vector>

namespace sidebyside {

class EditorStage : public QWidget {
public:
    enum class Kind { Qt, Ours };
    // A stage of the kind, its editor set up as the setup says but still empty: `start` gives
    // it its text once the stage is shown, so that the text is laid out at the editor's width.
    static std::unique_ptr<EditorStage> make(Kind kind, const Setup& setup, QWidget* parent = nullptr);

    const char* editorName() const;
    QAbstractScrollArea* editor() const { return editor_; }
    QLineEdit* previousField() const { return previous_; }
    QLineEdit* nextField() const { return next_; }

    // Sets the text, the caret and anchor, the scrolling and the clipboard as the setup gives
    // them, and the focus to the editor; forgets what was recorded.
    virtual void start(const Setup& setup);
    // A point in the editor's viewport, as the laid-out text places it now.
    QPoint pointAt(const Where& where) const;
    void scrollTo(int row);
    void record() { recorded_.push_back(currentText()); }
    Outcome outcome() const;

protected:
    explicit EditorStage(QWidget* parent);
    void place(QAbstractScrollArea* editor, const Setup& setup);

    virtual QString currentText() const = 0;
    virtual qsizetype cursor() const = 0;
    virtual qsizetype anchor() const = 0;
    virtual void select(qsizetype anchor, qsizetype cursor) = 0;
    virtual std::vector<qsizetype> rowStarts() const = 0;
    // The rectangle the position takes in the viewport: where a caret there would stand, as
    // high as its row.
    virtual QRect positionRect(qsizetype position) const = 0;
    virtual QRect caretRect() const = 0;

private:
    QAbstractScrollArea* editor_ = nullptr;
    QLineEdit* previous_ = nullptr;
    QLineEdit* next_ = nullptr;
    std::vector<QString> recorded_;
};

}  // namespace sidebyside
