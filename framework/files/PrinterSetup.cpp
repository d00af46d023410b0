#include "PrinterSetup.hpp"

namespace fw {

const ClassTable& PrinterSetup::Lookup() {
    static const ClassTable table = MakeClassTable<PrinterSetup>("PrinterSetup", &Object::Lookup());
    return table;
}

}  // namespace fw
