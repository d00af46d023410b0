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

// Watches the Qt application object (once per object) so that the shortcuts of the
// application's menu bar act from whichever of the program's windows is active, so that a key
// press which matches a shown entry's shortcut brings the menus up to date before Qt
// dispatches the shortcut, and so that EditTarget knows which control the menu bar took the
// keyboard focus from.
void WatchMenus();

// The widget that the Edit entries act on: the focused one, except while the menu bar or one of
// its menus holds the keyboard focus, when it is the text control that had the focus before,
// with the selection it had then. A one-line field drops its selection when the menu bar takes
// the focus from it; the selection is put back, here or when the focus returns to the field.
QWidget* EditTarget();

}  // namespace fw
