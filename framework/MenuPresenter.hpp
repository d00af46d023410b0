#pragma once
// How a menu tree is shown in a window (framework use): the bar's menus as a Qt menu bar,
// captions with their access keys, "Cmd+" shortcuts as Ctrl+, "-" captions as separators, and
// the application's EnableMenuItems run before a menu opens or a shortcut is dispatched.

#include <memory>

class QMenuBar;
class QWidget;

namespace fw {

class MenuBar;

// A new Qt menu bar, owned by parent, that shows the bar's menus and follows later changes;
// nullptr for a nil bar. The same entries may stand in several Qt menu bars at once.
QMenuBar* CreateQMenuBar(const std::shared_ptr<MenuBar>& bar, QWidget* parent);

// Brings the menus up to date: entries whose AutoEnable is false are disabled, then the
// application's EnableMenuItems runs (through CallGuarded).
void BringMenusUpToDate();

// Makes sure that a key press which matches a shown entry's shortcut brings the menus up to
// date before Qt dispatches the shortcut (once per Qt application object).
void WatchShortcuts();

}  // namespace fw
