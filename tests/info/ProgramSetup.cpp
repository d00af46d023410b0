// The windows are built on the framework's runtime, as the program builds them.

#include "QtTestProgram.hpp"

#include "framework/Runtime.hpp"

namespace {

const qttest::ProgramSetup setup{[] { fw::RuntimeInit(); }};

}  // namespace
