#include "MenuItem.hpp"

#include "Application.hpp"
#include "EditCommands.hpp"
#include "Exceptions.hpp"
#include "MenuShortcut.hpp"
#include "Property.hpp"

#include <algorithm>
#include <string>

namespace fw {

struct MenuItem::Impl {
    String name;
    String text;
    String shortcut;
    bool shortcutWasSet = false;
    bool autoEnable = true;
    bool enabled = true;

    std::vector<std::shared_ptr<MenuItem>> children;
    std::weak_ptr<MenuItem> parent;

    std::unique_ptr<Presentation> presentation;
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

MenuItem::MenuItem() : impl_(std::make_unique<Impl>()) {}

// Children that die with their parent are taken apart here, one level at a time, so that
// releasing a tree of any depth never recurses through the destructors. What shows this entry
// goes last, once nothing below it is shown any more.
MenuItem::~MenuItem() {
    std::vector<std::shared_ptr<MenuItem>> doomed = std::move(impl_->children);
    impl_->children.clear();
    while (!doomed.empty()) {
        std::shared_ptr<MenuItem> child = std::move(doomed.back());
        doomed.pop_back();
        child->impl_->parent.reset();
        if (child.use_count() == 1) {  // a child held elsewhere keeps its own subtree
            for (auto& grandchild : child->impl_->children) doomed.push_back(std::move(grandchild));
            child->impl_->children.clear();
        }
    }
    impl_->presentation.reset();
}

void MenuItem::Constructor() {}

String MenuItem::Name() const { return impl_->name; }
void MenuItem::SetName(const String& name) { impl_->name = name; }

String MenuItem::Text() const { return impl_->text; }
void MenuItem::SetText(const String& text) {
    impl_->text = text;
    if (impl_->presentation) impl_->presentation->textChanged();
}

String MenuItem::KeyboardShortcut() const { return impl_->shortcut; }
void MenuItem::SetKeyboardShortcut(const String& shortcut) {
    if (!ParseMenuShortcut(shortcut))
        throw RuntimeException(String("RuntimeException: the keyboard shortcut \"" + shortcut.bytes() +
                                      "\" of menu entry \"" + impl_->name.bytes() + "\" names no key"));
    impl_->shortcut = shortcut;
    impl_->shortcutWasSet = true;
    if (impl_->presentation) impl_->presentation->shortcutChanged();
}
bool MenuItem::KeyboardShortcutWasSet() const { return impl_->shortcutWasSet; }

bool MenuItem::AutoEnable() const { return impl_->autoEnable; }
void MenuItem::SetAutoEnable(bool autoEnable) { impl_->autoEnable = autoEnable; }

bool MenuItem::Enabled() const { return impl_->enabled; }
void MenuItem::SetEnabled(bool enabled) {
    impl_->enabled = enabled;
    if (impl_->presentation) impl_->presentation->enabledChanged();
}

bool MenuItem::IsSeparator() const { return impl_->text == String("-"); }

void MenuItem::Append(const std::shared_ptr<MenuItem>& child) {
    if (!child) RaiseNilObjectException();
    // Only an entry with children can be an ancestor, so appending fresh entries stays cheap
    // however deep the tree.
    const bool mayBeAncestor = child.get() == this || !child->impl_->children.empty();
    std::shared_ptr<const MenuItem> holder;  // keeps each parent alive while it is looked at
    for (const MenuItem* up = this; mayBeAncestor && up; holder = up->impl_->parent.lock(), up = holder.get())
        if (up == child.get())
            throw RuntimeException(String("RuntimeException: menu entry \"" + child->impl_->name.bytes() +
                                          "\" cannot be appended below itself"));

    std::shared_ptr<MenuItem> keep = child;  // the old parent may hold the only other reference
    if (std::shared_ptr<MenuItem> old = keep->impl_->parent.lock()) {
        auto& siblings = old->impl_->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
        if (old->impl_->presentation) old->impl_->presentation->childRemoved(*keep);
    }

    impl_->children.push_back(keep);
    keep->impl_->parent = std::static_pointer_cast<MenuItem>(weak_from_this().lock());
    if (impl_->presentation) impl_->presentation->childAppended(*keep);
}

std::size_t MenuItem::Count() const { return impl_->children.size(); }

std::shared_ptr<MenuItem> MenuItem::Item(std::size_t index) const {
    return index < impl_->children.size() ? impl_->children[index] : nullptr;
}

std::weak_ptr<MenuItem> MenuItem::Parent() const { return impl_->parent; }

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
    return RunEditCommand(impl_->name.view());
}

MenuItem::Presentation* MenuItem::presentation() const { return impl_->presentation.get(); }

void MenuItem::setPresentation(std::unique_ptr<Presentation> presentation) {
    impl_->presentation = std::move(presentation);
}

}  // namespace fw
