#pragma once
#include "MenuItem.hpp"

namespace fw {

// Quits through the framework's quit action.
class QuitMenuItem : public MenuItem {
public:
    using MenuItem::Lookup;
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }
    bool Action() override;
};

}  // namespace fw
