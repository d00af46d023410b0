#pragma once
// The program's one menu bar, shared by the application object and the conversion window.

#include "framework/MenuBar.hpp"
#include "framework/Object.hpp"

#include <memory>

namespace radixel {

class MenuBar1 : public fw::MenuBar {
public:
    using fw::MenuBar::Lookup;
    static const fw::ClassTable& Lookup();
    const fw::ClassTable& classTable() const override { return Lookup(); }

    // Builds File, Edit and Help, in that order. It does not run MenuItem::Constructor on the
    // bar: whatever a bar needs beyond its creation is the framework's.
    void Constructor() override;
    virtual void Untitled0();
    virtual void Untitled1();
    virtual void Untitled2();

    // The shared bar once built; the program's finalisation empties it, last of its exits.
    static std::shared_ptr<MenuBar1> _implicitInstance;
    static void ExitImplicitInstance();
};

namespace instance {

// The shared bar, built completely on the first call. A build that raises stores nothing, so
// the half-built bar goes with the exception and the next call starts again.
std::shared_ptr<radixel::MenuBar1> MenuBar1();

}  // namespace instance

}  // namespace radixel
