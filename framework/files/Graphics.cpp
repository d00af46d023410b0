#include "Graphics.hpp"

namespace fw {

const ClassTable& Graphics::Lookup() {
    static const ClassTable table = [] {
        ClassTable t;
        t.fullName = "Graphics";
        t.parent = &Object::Lookup();
        return t;
    }();
    return table;
}

}  // namespace fw
