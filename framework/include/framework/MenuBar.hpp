#pragma once
#include "MenuItem.hpp"

namespace fw {

// The root of a menu tree; its children are the menus shown in a window's menu bar.
class MenuBar : public MenuItem {
public:
    using MenuItem::Lookup;
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }
};

}  // namespace fw
