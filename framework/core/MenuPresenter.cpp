#include "MenuPresenter.hpp"

#include "Application.hpp"
#include "MenuBar.hpp"
#include "Runtime.hpp"
#include "TextView.hpp"
#include "WindowWidgets.hpp"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <vector>

namespace fw {

namespace {

// The trees shown in some Qt menu bar; weak, a tree that is gone simply drops out.
std::vector<std::weak_ptr<MenuItem>>& presentedTrees() {
    static std::vector<std::weak_ptr<MenuItem>> trees;
    return trees;
}

std::vector<std::shared_ptr<MenuItem>> liveTrees() {
    auto& trees = presentedTrees();
    std::erase_if(trees, [](const std::weak_ptr<MenuItem>& t) { return t.expired(); });
    std::vector<std::shared_ptr<MenuItem>> roots;
    if (auto app = GetAppObject())
        if (auto bar = app->MenuBar()) roots.push_back(bar);
    for (const auto& t : trees)
        if (auto root = t.lock(); root && std::find(roots.begin(), roots.end(), root) == roots.end())
            roots.push_back(root);
    return roots;
}

template <class Visit>
void forEachEntry(const std::shared_ptr<MenuItem>& root, Visit visit) {
    std::vector<std::shared_ptr<MenuItem>> pending{root};
    while (!pending.empty()) {
        auto item = std::move(pending.back());
        pending.pop_back();
        if (item != root) visit(*item);
        for (std::size_t i = item->Count(); i-- > 0;) pending.push_back(item->Item(i));
    }
}

bool matchesShownShortcut(const QKeyEvent& key) {
    const QKeySequence pressed(QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    bool found = false;
    for (const auto& root : liveTrees())
        forEachEntry(root, [&](MenuItem& entry) {
            if (found) return;
            // Only an entry whose QAction exists has been shown, and so can be dispatched by Qt.
            const QAction* action = entry.actionIfMade();
            found =
                action && !action->shortcut().isEmpty() && action->shortcut().matches(pressed) != QKeySequence::NoMatch;
        });
    return found;
}

// The application's menu bar speaks for every window of the program, those that show no bar
// included, and after the window that shows it has gone. Qt dispatches an application shortcut
// only for an action that stands in some visible widget, so the window a key is pressed in
// carries the commands that have shortcuts, unseen, before the key is matched.
void carryApplicationCommands() {
    auto* frame = dynamic_cast<qtbridge::WindowFrame*>(QApplication::activeWindow());
    auto app = GetAppObject();
    std::shared_ptr<MenuItem> bar = app ? app->MenuBar() : nullptr;
    if (!frame || !bar) return;
    // Adding an action a widget holds already moves it to the end and tells the widget twice;
    // a window takes each command once, not again at every key.
    const QList<QAction*> carried = frame->actions();
    forEachEntry(bar, [&](MenuItem& entry) {
        if (entry.Count() > 0 || entry.IsSeparator() || entry.KeyboardShortcut().empty()) return;
        if (QAction* action = entry.action(); !carried.contains(action)) frame->addAction(action);
    });
}

class ShortcutWatch : public QObject {
public:
    using QObject::QObject;

    // A key press's ShortcutOverride goes to the focus object (the window when nothing has
    // focus) and then up the parent chain; the menus are brought up to date once, at the first.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && !busy_ && isFirstReceiver(watched)) {
            busy_ = true;
            CallGuarded([&] {
                carryApplicationCommands();
                if (matchesShownShortcut(*static_cast<QKeyEvent*>(event))) BringMenusUpToDate();
            });
            busy_ = false;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isFirstReceiver(QObject* watched) {
        QObject* focus = QGuiApplication::focusObject();
        return focus ? watched == focus : watched->isWindowType();
    }

    bool busy_ = false;
};

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

struct InstalledWatches {
    QPointer<ShortcutWatch> shortcuts;
    QPointer<EditTargetWatch> editTarget;
};

InstalledWatches& installedWatches() {
    static InstalledWatches watches;
    return watches;
}

}  // namespace

QMenuBar* CreateQMenuBar(const std::shared_ptr<MenuBar>& bar, QWidget* parent) {
    if (!bar) return nullptr;
    auto* qbar = new QMenuBar(parent);
    bar->presentChildrenIn(qbar);
    auto& trees = presentedTrees();
    std::shared_ptr<MenuItem> root = bar;
    if (std::none_of(trees.begin(), trees.end(), [&](const std::weak_ptr<MenuItem>& t) { return t.lock() == root; }))
        trees.push_back(root);
    WatchMenus();
    return qbar;
}

void BringMenusUpToDate() {
    static bool updating = false;
    if (updating) return;  // an EnableMenuItems that opens a menu must not start over
    updating = true;
    CallGuarded([] {
        for (const auto& root : liveTrees())
            forEachEntry(root, [](MenuItem& entry) {
                if (!entry.AutoEnable()) entry.SetEnabled(false);
            });
        if (auto app = GetAppObject()) app->EnableMenuItems();
    });
    updating = false;
}

void WatchMenus() {
    QCoreApplication* app = QCoreApplication::instance();
    InstalledWatches& watches = installedWatches();
    if (!app || watches.shortcuts) return;
    watches.shortcuts = new ShortcutWatch(app);
    app->installEventFilter(watches.shortcuts);
    watches.editTarget = new EditTargetWatch(app);
    app->installEventFilter(watches.editTarget);
}

QWidget* EditTarget() {
    QWidget* focus = QApplication::focusWidget();
    const HeldControl& held = heldControl();
    if (!held.control || !isMenu(focus)) return focus;
    held.restoreSelection();
    return held.control;
}

}  // namespace fw
