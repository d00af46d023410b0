#include "MenuBar.hpp"

namespace fw {

const ClassTable& MenuBar::Lookup() {
    static const ClassTable table = MakeClassTable<MenuBar>("MenuBar", &MenuItem::Lookup());
    return table;
}

}  // namespace fw
