#pragma once
// How a menu tree is shown in a window (framework use): the bar's menus as a Qt menu bar,
// captions with their access keys, "Cmd+" shortcuts as Ctrl+, "-" captions as separators, and
// the application's EnableMenuItems run before a menu opens or a shortcut is dispatched.

#include <memory>

class QMenuBar;
class QWidget;

namespace fw {

class MenuBar;

// A new Qt menu bar, owned by parent, that shows the bar's menus and follows later changes.
QMenuBar* CreateQMenuBar(const std::shared_ptr<MenuBar>& bar, QWidget* parent);

}  // namespace fw
