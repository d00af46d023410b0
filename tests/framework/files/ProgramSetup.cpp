// Pictures need Qt's image readers and printing needs its fonts: the application object stands
// before the first test.

#include "QtTestProgram.hpp"

namespace {

const qttest::ProgramSetup setup;

}  // namespace
