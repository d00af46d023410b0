#pragma once
// The one start of every test program that uses Qt. Its main() puts Qt on the offscreen
// platform unless another is asked for (listing the tests happens without the tests'
// environment, and there is no desktop here), runs the tests, and destroys the application
// object last. A program adds what it needs around its tests with one ProgramSetup.

#include <functional>

class QApplication;

namespace qttest {

// The program's one Qt application object, made on first use. Tests that must see a process
// without one (the runtime's own start) simply leave it unmade.
QApplication& Application();

// Makes the application object before the first test, then runs what the program does once
// before its first test and once after its last, while the application object still stands.
// Defined at namespace scope in one file of the program:
//   const qttest::ProgramSetup setup{[] { fw::RuntimeInit(); }};
class ProgramSetup {
public:
    explicit ProgramSetup(std::function<void()> start = {}, std::function<void()> end = {});
};

}  // namespace qttest
