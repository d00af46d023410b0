#pragma once
// How a menu tree is shown in a window (framework use): one Qt action for each entry, a Qt menu
// for an entry with children, the bar's menus as a Qt menu bar, captions with their access
// keys, "Cmd+" shortcuts as Ctrl+, "-" captions as separators, and the application's
// EnableMenuItems run before a menu opens or a shortcut is dispatched.

#include "MenuItem.hpp"

#include <memory>

class QAction;
class QMenuBar;
class QWidget;

namespace fw {

class MenuBar;

// What shows one entry: its Qt action, its Qt menu once it has children and is shown, and the
// Qt widgets (menus and menu bars) that show its children. The entry owns it.
class MenuPresenter final : public MenuItem::Presentation {
public:
    // The entry's presenter, made and handed to the entry on first use.
    static MenuPresenter& Of(MenuItem& entry);
    // The entry's presenter, or nullptr while the entry has never been shown.
    static MenuPresenter* Existing(const MenuItem& entry);

    ~MenuPresenter() override;

    // The Qt action that stands for the entry in menu bars, made on first use. Raises
    // RuntimeException before RuntimeInit.
    QAction* action();
    QAction* actionIfMade() const;  // nullptr while the entry has not been shown
    // Shows the entry's children in the container (a QMenu or a QMenuBar), in order, and
    // keeps it following later appends.
    void presentChildrenIn(QWidget* container);

    void textChanged() override;
    void shortcutChanged() override;
    void enabledChanged() override;
    void childAppended(MenuItem& child) override;
    void childRemoved(MenuItem& child) override;

private:
    explicit MenuPresenter(MenuItem& entry);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A new Qt menu bar, owned by parent, that shows the bar's menus and follows later changes;
// nullptr for a nil bar. The same entries may stand in several Qt menu bars at once.
QMenuBar* CreateQMenuBar(const std::shared_ptr<MenuBar>& bar, QWidget* parent);

// Brings the menus up to date: entries whose AutoEnable is false are disabled, then the
// application's EnableMenuItems runs (through CallGuarded).
void BringMenusUpToDate();

// Watches the Qt application object (once per object) so that the shortcuts of the
// application's menu bar act from whichever of the program's windows is active, so that a key
// press which matches a shown entry's shortcut brings the menus up to date before Qt
// dispatches the shortcut, and so that the Edit commands know which control the menu bar took
// the keyboard focus from.
void WatchMenus();

}  // namespace fw
