#include "MenuPresenter.hpp"

#include "Application.hpp"
#include "ApplicationWatch.hpp"
#include "EditCommands.hpp"
#include "Exceptions.hpp"
#include "MenuBar.hpp"
#include "MenuShortcut.hpp"
#include "Runtime.hpp"
#include "WindowWidgets.hpp"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace fw {

namespace {

// How many entries are being chosen right now. Qt objects of an entry released meanwhile may
// still be on the call stack (the QAction emitting triggered, the QMenu that took the key or
// the click and goes on using itself after the action returns), so they are cut off from the
// entry at once and handed to the event loop for deletion.
int choosingDepth = 0;

template <class T>
void release(std::unique_ptr<T>& object) {
    if (!object) return;
    if (choosingDepth == 0 || !QCoreApplication::instance()) {
        object.reset();
        return;
    }
    QObject::disconnect(object.get(), nullptr, nullptr, nullptr);
    if constexpr (std::is_same_v<T, QAction>) object->setVisible(false);
    object.release()->deleteLater();
}

QApplication* widgetApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()); }

void requireRuntime() {
    if (!widgetApplication())
        throw RuntimeException("RuntimeException: menus need the framework's runtime (RuntimeInit)");
}

QKeySequence keysOf(const MenuItem& entry) {
    return ParseMenuShortcut(entry.KeyboardShortcut()).value_or(QKeySequence());
}

// The handler may drop the last reference to the entry, or to its whole tree, and with it the
// presenter that called.
void choose(MenuItem* entry) {
    ++choosingDepth;
    {
        std::shared_ptr<Object> keep = entry->weak_from_this().lock();
        CallGuarded([entry] { entry->Action(); });
    }
    --choosingDepth;
}

}  // namespace

struct MenuPresenter::Impl {
    MenuItem& entry;
    std::vector<QPointer<QWidget>> containers;  // the widgets that show the entry's children
    std::unique_ptr<QAction> action;
    std::unique_ptr<QMenu> menu;

    void applyText() const {
        if (!action) return;
        const String text = entry.Text();
        const bool separator = entry.IsSeparator();
        action->setSeparator(separator);
        action->setText(separator ? QString() : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    // A shown entry with children is a menu, which shows all of them.
    void ensureMenu(MenuPresenter& self) {
        if (menu || entry.Count() == 0 || !action) return;
        requireRuntime();
        menu = std::make_unique<QMenu>();
        menu->setTitle(action->text());
        QObject::connect(menu.get(), &QMenu::aboutToShow, menu.get(), [] { BringMenusUpToDate(); });
        action->setMenu(menu.get());
        self.presentChildrenIn(menu.get());
    }

    template <class Work>
    void forEachContainer(Work work) {
        std::erase_if(containers, [](const QPointer<QWidget>& c) { return c.isNull(); });
        for (const auto& c : std::vector<QPointer<QWidget>>(containers))
            if (c) work(*c);
    }
};

MenuPresenter& MenuPresenter::Of(MenuItem& entry) {
    if (MenuPresenter* existing = Existing(entry)) return *existing;
    std::unique_ptr<MenuPresenter> made(new MenuPresenter(entry));
    MenuPresenter& presenter = *made;
    entry.setPresentation(std::move(made));
    return presenter;
}

MenuPresenter* MenuPresenter::Existing(const MenuItem& entry) {
    return dynamic_cast<MenuPresenter*>(entry.presentation());
}

MenuPresenter::MenuPresenter(MenuItem& entry) : impl_(std::make_unique<Impl>(Impl{entry, {}, nullptr, nullptr})) {}

MenuPresenter::~MenuPresenter() {
    release(impl_->menu);
    release(impl_->action);
}

QAction* MenuPresenter::action() {
    if (impl_->action) return impl_->action.get();
    requireRuntime();

    impl_->action = std::make_unique<QAction>();
    QAction* a = impl_->action.get();
    impl_->applyText();
    a->setEnabled(impl_->entry.Enabled());
    // The application's menu bar speaks for every one of its windows, those without a bar of
    // their own included, as on the desktop where the bar belongs to the application.
    a->setShortcutContext(Qt::ApplicationShortcut);
    a->setShortcut(keysOf(impl_->entry));
    MenuItem* entry = &impl_->entry;
    QObject::connect(a, &QAction::triggered, a, [entry] { choose(entry); });
    WatchMenus();
    impl_->ensureMenu(*this);
    return a;
}

QAction* MenuPresenter::actionIfMade() const { return impl_->action.get(); }

void MenuPresenter::presentChildrenIn(QWidget* container) {
    if (!container) return;
    impl_->containers.emplace_back(container);
    for (std::size_t i = 0; i < impl_->entry.Count(); ++i) container->addAction(Of(*impl_->entry.Item(i)).action());
}

void MenuPresenter::textChanged() {
    impl_->applyText();
    if (impl_->menu) impl_->menu->setTitle(impl_->action->text());
}

void MenuPresenter::shortcutChanged() {
    if (impl_->action) impl_->action->setShortcut(keysOf(impl_->entry));
}

void MenuPresenter::enabledChanged() {
    if (impl_->action) impl_->action->setEnabled(impl_->entry.Enabled());
}

void MenuPresenter::childAppended(MenuItem& child) {
    const bool menuJustMade = impl_->action && !impl_->menu;
    if (menuJustMade) impl_->ensureMenu(*this);
    impl_->forEachContainer([&](QWidget& w) {
        if (!(menuJustMade && &w == impl_->menu.get())) w.addAction(Of(child).action());
    });
}

void MenuPresenter::childRemoved(MenuItem& child) {
    const MenuPresenter* shown = Existing(child);
    QAction* childAction = shown ? shown->actionIfMade() : nullptr;
    if (childAction) impl_->forEachContainer([&](QWidget& w) { w.removeAction(childAction); });
}

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
            const MenuPresenter* shown = MenuPresenter::Existing(entry);
            const QAction* action = shown ? shown->actionIfMade() : nullptr;
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
        if (QAction* action = MenuPresenter::Of(entry).action(); !carried.contains(action)) frame->addAction(action);
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

}  // namespace

QMenuBar* CreateQMenuBar(const std::shared_ptr<MenuBar>& bar, QWidget* parent) {
    if (!bar) return nullptr;
    auto* qbar = new QMenuBar(parent);
    MenuPresenter::Of(*bar).presentChildrenIn(qbar);
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
    WatchApplication<ShortcutWatch>();
    WatchEditTarget();
}

}  // namespace fw
