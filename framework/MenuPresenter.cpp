#include "MenuPresenter.hpp"

#include "Application.hpp"
#include "MenuBar.hpp"
#include "Runtime.hpp"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
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
            found = action && !action->shortcut().isEmpty() && action->shortcut().matches(pressed) != QKeySequence::NoMatch;
        });
    return found;
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

QPointer<ShortcutWatch>& installedWatch() {
    static QPointer<ShortcutWatch> watch;
    return watch;
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
    WatchShortcuts();
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

void WatchShortcuts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || installedWatch()) return;
    auto* watch = new ShortcutWatch(app);
    app->installEventFilter(watch);
    installedWatch() = watch;
}

}  // namespace fw
