// The controls need the application object; the windows that tests leave open go while it
// still stands.

#include "QtTestProgram.hpp"

#include "framework/Window.hpp"

namespace {

const qttest::ProgramSetup setup{{}, [] { fw::CloseAllWindows(); }};

}  // namespace
