#include "QuitMenuItem.hpp"

#include "Runtime.hpp"

namespace fw {

const ClassTable& QuitMenuItem::Lookup() {
    static const ClassTable table = MakeClassTable<QuitMenuItem>("QuitMenuItem", &MenuItem::Lookup());
    return table;
}

bool QuitMenuItem::Action() { return QuitMenuAction(); }

}  // namespace fw
