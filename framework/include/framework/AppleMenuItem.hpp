#pragma once
#include "MenuItem.hpp"

namespace fw {

// The application's About entry. The desktop shows it where its entry was appended.
class AppleMenuItem : public MenuItem {
public:
    using MenuItem::Lookup;
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }
};

}  // namespace fw
