// The controls need the application object; the windows that tests leave open go while it
// still stands. Large blocks are mapped on their own and given back when freed, never kept in
// the heap for later: the tests that cut the address space count on what a command needs being
// mapped anew.

#include "QtTestProgram.hpp"

#include "framework/Window.hpp"

#include <malloc.h>

namespace {

const qttest::ProgramSetup setup{[] { mallopt(M_MMAP_THRESHOLD, 256 << 10); }, [] { fw::CloseAllWindows(); }};

}  // namespace
