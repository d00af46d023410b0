// Starts the way the program does, as far as the conversion call and the resources folder go,
// and prints what it found: one line with the conversion's answer (of "42", or of the number
// given as its one argument, from base 10 to 16), one with the resources folder or "nil". Tests
// run it from moved bundles, through links, and with damaged or faulty components.

#include "conversion/binding/Globals4.hpp"
#include "conversion/binding/PluginEntrypoints.hpp"
#include "framework/Exceptions.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Plugins.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    fw::InitPluginEntrypoints(&radixel::InitPluginEntrypoints);
    const fw::String number(argc > 1 ? argv[1] : "42");
    std::printf("%s\n", radixel::Globals4::kxConvBase(number, 16, 10, 8, true).bytes().c_str());
    try {
        auto resources = fw::GetApplicationBundleResources();
        std::printf("%s\n", resources ? resources->path().c_str() : "nil");
    } catch (const fw::NilObjectException&) {
        std::printf("NilObjectException\n");
    }
    return 0;
}
