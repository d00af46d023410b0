#include "AppleMenuItem.hpp"

namespace fw {

const ClassTable& AppleMenuItem::Lookup() {
    static const ClassTable table = MakeClassTable<AppleMenuItem>("AppleMenuItem", &MenuItem::Lookup());
    return table;
}

}  // namespace fw
