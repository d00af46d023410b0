#include "MenuItem.hpp"

#include "Application.hpp"
#include "Exceptions.hpp"
#include "MenuPresenter.hpp"
#include "Property.hpp"
#include "Runtime.hpp"
#include "TextView.hpp"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

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

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The program writes shortcuts the way its desktop of origin does ("Cmd+Q"); Qt's portable
// text names the same keys differently. Nothing is read that Qt would turn into an unknown key.
std::optional<QKeySequence> parseShortcut(const String& text) {
    if (text.empty()) return QKeySequence();
    const std::string_view s = text.view();

    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '+' || i == start) continue;  // a '+' right after a separator is the key itself
        tokens.push_back(s.substr(start, i - start));
        start = i + 1;
    }
    if (start >= s.size()) return std::nullopt;  // "Cmd+" names no key
    tokens.push_back(s.substr(start));

    QStringList parts;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        const std::string modifier = lower(tokens[i]);
        if (modifier == "cmd" || modifier == "command" || modifier == "ctrl" || modifier == "control") parts << "Ctrl";
        else if (modifier == "option" || modifier == "opt" || modifier == "alt") parts << "Alt";
        else if (modifier == "shift") parts << "Shift";
        else if (modifier == "meta") parts << "Meta";
        else return std::nullopt;
    }
    const QString key = QString::fromUtf8(tokens.back().data(), static_cast<qsizetype>(tokens.back().size()));
    if (key.isEmpty() || key.contains(QLatin1Char(','))) return std::nullopt;
    parts << key;

    const QKeySequence sequence = QKeySequence::fromString(parts.join(QLatin1Char('+')), QKeySequence::PortableText);
    if (sequence.count() != 1) return std::nullopt;
    const Qt::Key k = sequence[0].key();
    if (k == Qt::Key_unknown || k == 0 || k == Qt::Key_Control || k == Qt::Key_Shift || k == Qt::Key_Alt ||
        k == Qt::Key_Meta)
        return std::nullopt;
    return sequence;
}

template <class Edit>
bool editText(Edit& edit, std::string_view command) {
    const bool editable = !edit.isReadOnly();
    if (command == "EditUndo") {
        if (editable) edit.undo();
    } else if (command == "EditCut") {
        if (editable) edit.cut();
        else edit.copy();
    } else if (command == "EditCopy") {
        edit.copy();
    } else if (command == "EditPaste") {
        if (editable) edit.paste();
    } else if (command == "EditClear") {
        if constexpr (std::is_same_v<Edit, QLineEdit>) {
            if (editable && edit.hasSelectedText()) edit.del();
        } else {
            edit.removeSelectedText();
        }
    } else if (command == "EditSelectAll") {
        edit.selectAll();
    } else {
        return false;
    }
    return true;
}

// The desktop's standard edit commands, on the text control that the keyboard serves.
bool runStandardEditCommand(std::string_view command) {
    QWidget* target = widgetApplication() ? EditTarget() : nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(target)) return editText(*line, command);
    if (auto* view = qobject_cast<TextView*>(target)) return editText(*view, command);
    return false;
}

bool isStandardEditCommand(std::string_view name) {
    return name == "EditUndo" || name == "EditCut" || name == "EditCopy" || name == "EditPaste" ||
           name == "EditClear" || name == "EditSelectAll";
}

}  // namespace

struct MenuItem::Impl {
    MenuItem* self = nullptr;
    String name;
    String text;
    String shortcut;
    QKeySequence keys;
    bool shortcutWasSet = false;
    bool autoEnable = true;
    bool enabled = true;

    std::vector<std::shared_ptr<MenuItem>> children;
    MenuItem* parent = nullptr;          // for walking up; cleared when the parent goes
    std::weak_ptr<Object> parentHandle;  // for handing the parent out

    std::vector<QPointer<QWidget>> presenters;
    std::unique_ptr<QAction> action;
    std::unique_ptr<QMenu> menu;

    void applyText() const {
        if (!action) return;
        const bool separator = text == String("-");
        action->setSeparator(separator);
        action->setText(separator ? QString() : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    void ensureMenu() {
        if (menu || children.empty() || !action) return;
        if (!widgetApplication())
            throw RuntimeException("RuntimeException: menus need the framework's runtime (RuntimeInit)");
        menu = std::make_unique<QMenu>();
        menu->setTitle(action->text());
        QObject::connect(menu.get(), &QMenu::aboutToShow, menu.get(), [] { BringMenusUpToDate(); });
        action->setMenu(menu.get());
        self->presentChildrenIn(menu.get());
    }

    void forEachPresenter(const std::function<void(QWidget&)>& work) {
        std::erase_if(presenters, [](const QPointer<QWidget>& p) { return p.isNull(); });
        for (const auto& p : std::vector<QPointer<QWidget>>(presenters))
            if (p) work(*p);
    }

    // The handler may drop the last reference to the entry, or to its whole tree.
    static void choose(MenuItem* item) {
        ++choosingDepth;
        {
            std::shared_ptr<Object> keep = item->weak_from_this().lock();
            CallGuarded([item] { item->Action(); });
        }
        --choosingDepth;
    }
};

const ClassTable& MenuItem::Lookup() {
    static const ClassTable table = [] {
        ClassTable t = MakeClassTable<MenuItem>("MenuItem", &Object::Lookup());
        t.properties = {
            MakeProperty("Name", &MenuItem::Name, &MenuItem::SetName),
            MakeProperty("Text", &MenuItem::Text, &MenuItem::SetText),
            MakeProperty("KeyboardShortcut", &MenuItem::KeyboardShortcut, &MenuItem::SetKeyboardShortcut),
            MakeProperty("AutoEnable", &MenuItem::AutoEnable, &MenuItem::SetAutoEnable),
            MakeProperty("Enabled", &MenuItem::Enabled, &MenuItem::SetEnabled),
        };
        return t;
    }();
    return table;
}

MenuItem::MenuItem() : impl_(std::make_unique<Impl>()) { impl_->self = this; }

// Children that die with their parent are taken apart here, one level at a time, so that
// releasing a tree of any depth never recurses through the destructors.
MenuItem::~MenuItem() {
    std::vector<std::shared_ptr<MenuItem>> doomed = std::move(impl_->children);
    impl_->children.clear();
    while (!doomed.empty()) {
        std::shared_ptr<MenuItem> child = std::move(doomed.back());
        doomed.pop_back();
        if (child->impl_->parent) {
            child->impl_->parent = nullptr;
            child->impl_->parentHandle.reset();
        }
        if (child.use_count() == 1) {  // a child held elsewhere keeps its own subtree
            for (auto& grandchild : child->impl_->children) doomed.push_back(std::move(grandchild));
            child->impl_->children.clear();
        }
    }
    release(impl_->menu);
    release(impl_->action);
}

void MenuItem::Constructor() {}

String MenuItem::Name() const { return impl_->name; }
void MenuItem::SetName(const String& name) { impl_->name = name; }

String MenuItem::Text() const { return impl_->text; }
void MenuItem::SetText(const String& text) {
    impl_->text = text;
    impl_->applyText();
    if (impl_->menu) impl_->menu->setTitle(impl_->action->text());
}

String MenuItem::KeyboardShortcut() const { return impl_->shortcut; }
void MenuItem::SetKeyboardShortcut(const String& shortcut) {
    const auto keys = parseShortcut(shortcut);
    if (!keys)
        throw RuntimeException(String("RuntimeException: the keyboard shortcut \"" + shortcut.bytes() +
                                      "\" of menu entry \"" + impl_->name.bytes() + "\" names no key"));
    impl_->shortcut = shortcut;
    impl_->keys = *keys;
    impl_->shortcutWasSet = true;
    if (impl_->action) impl_->action->setShortcut(impl_->keys);
}
bool MenuItem::KeyboardShortcutWasSet() const { return impl_->shortcutWasSet; }

bool MenuItem::AutoEnable() const { return impl_->autoEnable; }
void MenuItem::SetAutoEnable(bool autoEnable) { impl_->autoEnable = autoEnable; }

bool MenuItem::Enabled() const { return impl_->enabled; }
void MenuItem::SetEnabled(bool enabled) {
    impl_->enabled = enabled;
    if (impl_->action) impl_->action->setEnabled(enabled);
}

bool MenuItem::IsSeparator() const { return impl_->text == String("-"); }

void MenuItem::Append(const std::shared_ptr<MenuItem>& child) {
    if (!child) RaiseNilObjectException();
    // Only an entry with children can be an ancestor, so appending fresh entries stays cheap
    // however deep the tree.
    const bool mayBeAncestor = child.get() == this || !child->impl_->children.empty();
    for (const MenuItem* up = this; mayBeAncestor && up; up = up->impl_->parent)
        if (up == child.get())
            throw RuntimeException(String("RuntimeException: menu entry \"" + child->impl_->name.bytes() +
                                          "\" cannot be appended below itself"));

    std::shared_ptr<MenuItem> keep = child;  // the old parent may hold the only other reference
    if (MenuItem* old = keep->impl_->parent) {
        auto& siblings = old->impl_->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
        if (keep->impl_->action)
            old->impl_->forEachPresenter([&](QWidget& w) { w.removeAction(keep->impl_->action.get()); });
    }

    impl_->children.push_back(keep);
    keep->impl_->parent = this;
    keep->impl_->parentHandle = weak_from_this();

    // A presented entry with its first child becomes a menu, which shows all its children.
    const bool menuJustMade = impl_->action && !impl_->menu;
    if (menuJustMade) impl_->ensureMenu();
    impl_->forEachPresenter([&](QWidget& w) {
        if (!(menuJustMade && &w == impl_->menu.get())) w.addAction(keep->action());
    });
}

std::size_t MenuItem::Count() const { return impl_->children.size(); }

std::shared_ptr<MenuItem> MenuItem::Item(std::size_t index) const {
    return index < impl_->children.size() ? impl_->children[index] : nullptr;
}

std::weak_ptr<MenuItem> MenuItem::Parent() const {
    return std::static_pointer_cast<MenuItem>(impl_->parentHandle.lock());
}

std::shared_ptr<MenuItem> MenuItem::Child(const String& name) const {
    for (const auto& child : impl_->children)
        if (child->impl_->name == name) return child;
    return nullptr;
}

// Walked with an explicit stack, so that however deep a tree is built the search cannot
// exhaust the call stack.
std::shared_ptr<MenuItem> MenuItem::Lookup(const String& name) const {
    std::vector<const MenuItem*> pending{this};
    std::vector<std::size_t> next{0};
    while (!pending.empty()) {
        const auto& children = pending.back()->impl_->children;
        std::size_t& i = next.back();
        if (i == children.size()) {
            pending.pop_back();
            next.pop_back();
            continue;
        }
        const std::shared_ptr<MenuItem>& child = children[i++];
        if (child->impl_->name == name) return child;
        pending.push_back(child.get());
        next.push_back(0);
    }
    return nullptr;
}

bool MenuItem::Action() {
    if (auto app = GetAppObject(); app && app->HasMenuHandler(impl_->name)) return app->HandleMenuCommand(*this);
    if (isStandardEditCommand(impl_->name.view())) return runStandardEditCommand(impl_->name.view());
    return false;
}

QAction* MenuItem::action() const {
    if (impl_->action) return impl_->action.get();
    if (!widgetApplication())
        throw RuntimeException("RuntimeException: menus need the framework's runtime (RuntimeInit)");

    impl_->action = std::make_unique<QAction>();
    QAction* a = impl_->action.get();
    impl_->applyText();
    a->setEnabled(impl_->enabled);
    // The application's menu bar speaks for every one of its windows, those without a bar of
    // their own included, as on the desktop where the bar belongs to the application.
    a->setShortcutContext(Qt::ApplicationShortcut);
    a->setShortcut(impl_->keys);
    MenuItem* item = impl_->self;
    QObject::connect(a, &QAction::triggered, a, [item] { Impl::choose(item); });
    WatchMenus();
    impl_->ensureMenu();
    return a;
}

QAction* MenuItem::actionIfMade() const { return impl_->action.get(); }

void MenuItem::presentChildrenIn(QWidget* container) const {
    if (!container) return;
    impl_->presenters.emplace_back(container);
    for (const auto& child : impl_->children) container->addAction(child->action());
}

}  // namespace fw
