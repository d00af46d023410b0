#include "app/Module.hpp"
#include "app/Startup.hpp"
#include "framework/Runtime.hpp"

int main() {
    fw::RuntimeInit();
    radixel::InitializeModule();
    radixel::Main();
    radixel::FinalizeModule();
    return fw::RuntimeExit();
}
