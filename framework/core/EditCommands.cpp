#include "EditCommands.hpp"

#include "ApplicationWatch.hpp"
#include "TextView.hpp"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <iterator>
#include <type_traits>
#include <utility>

namespace fw {

namespace {

enum class EditCommand { Undo, Cut, Copy, Paste, Clear, SelectAll };

constexpr std::pair<std::string_view, EditCommand> kEditCommands[] = {
    {"EditUndo", EditCommand::Undo},   {"EditCut", EditCommand::Cut},     {"EditCopy", EditCommand::Copy},
    {"EditPaste", EditCommand::Paste}, {"EditClear", EditCommand::Clear}, {"EditSelectAll", EditCommand::SelectAll},
};

// Both kinds of text control answer to the same calls; only Delete differs, as a one-line
// field deletes the character after the cursor when nothing is selected.
template <class Control>
void run(EditCommand command, Control& control) {
    const bool editable = !control.isReadOnly();
    switch (command) {
    case EditCommand::Undo:
        if (editable) control.undo();
        break;
    case EditCommand::Cut:
        if (editable) control.cut();
        else control.copy();
        break;
    case EditCommand::Copy: control.copy(); break;
    case EditCommand::Paste:
        if (editable) control.paste();
        break;
    case EditCommand::Clear:
        if constexpr (std::is_same_v<Control, QLineEdit>) {
            if (editable && control.hasSelectedText()) control.del();
        } else {
            control.removeSelectedText();
        }
        break;
    case EditCommand::SelectAll: control.selectAll(); break;
    }
}

bool isMenu(const QObject* object) {
    return qobject_cast<const QMenuBar*>(object) || qobject_cast<const QMenu*>(object);
}

bool isTextControl(const QObject* object) {
    return qobject_cast<const QLineEdit*>(object) || qobject_cast<const TextView*>(object);
}

// The text control that the menu bar took the keyboard focus from. Multi-line controls keep
// their selection themselves; a one-line field's is kept here, with the text it belongs to.
struct HeldControl {
    QPointer<QWidget> control;
    QString text;
    int cursor = 0;
    int selectionStart = -1;
    int selectionLength = 0;

    void hold(QWidget* widget) {
        *this = HeldControl{};
        control = widget;
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            text = line->text();
            cursor = line->cursorPosition();
            selectionStart = line->selectionStart();
            selectionLength = line->selectionLength();
        }
    }

    void restoreSelection() const {
        auto* line = qobject_cast<QLineEdit*>(control.data());
        if (!line || selectionStart < 0 || line->hasSelectedText() || line->text() != text) return;
        // A negative length leaves the cursor at the selection's start, where it stood.
        if (cursor == selectionStart) line->setSelection(selectionStart + selectionLength, -selectionLength);
        else line->setSelection(selectionStart, selectionLength);
    }
};

HeldControl& heldControl() {
    static HeldControl held;
    return held;
}

// Sees a focus change before the widgets do, while the field still shows its selection. The
// control is held while the menus have the focus, and gets its selection back when the focus
// returns to it, whether a command was chosen or the menu was left with Escape.
class EditTargetWatch : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType() || isMenu(watched)) return QObject::eventFilter(watched, event);
        HeldControl& held = heldControl();
        if (event->type() == QEvent::FocusOut && isTextControl(watched) &&
            (static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason ||
             isMenu(QApplication::focusWidget()))) {
            held.hold(static_cast<QWidget*>(watched));
        } else if (event->type() == QEvent::FocusIn && held.control) {
            if (watched == held.control) held.restoreSelection();
            held = HeldControl{};
        }
        return QObject::eventFilter(watched, event);
    }
};

// The widget that the commands act on: the focused one, except while the menu bar or one of
// its menus holds the keyboard focus, when it is the text control that had the focus before,
// with the selection it had then. A one-line field drops its selection when the menu bar takes
// the focus from it; the selection is put back, here or when the focus returns to the field.
QWidget* editTarget() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    QWidget* focus = QApplication::focusWidget();
    const HeldControl& held = heldControl();
    if (!held.control || !isMenu(focus)) return focus;
    held.restoreSelection();
    return held.control;
}

}  // namespace

bool RunEditCommand(std::string_view name) {
    const auto* found = std::find_if(std::begin(kEditCommands), std::end(kEditCommands),
                                     [&](const auto& entry) { return entry.first == name; });
    if (found == std::end(kEditCommands)) return false;
    QWidget* target = editTarget();
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        run(found->second, *line);
        return true;
    }
    if (auto* view = qobject_cast<TextView*>(target)) {
        run(found->second, *view);
        return true;
    }
    return false;
}

void WatchEditTarget() { WatchApplication<EditTargetWatch>(); }

}  // namespace fw
