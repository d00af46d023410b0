# The warnings that every target of the project links, tests and benchmarks included. Qt, GMP,
# GoogleTest and Google Benchmark come in as imported targets, whose include folders the
# compiler reads as system headers, so the warnings speak of our own code only.
add_library(radixel_warnings INTERFACE)
target_compile_options(radixel_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
  -Wnon-virtual-dtor -Woverloaded-virtual
  $<$<BOOL:${RADIXEL_WARNINGS_AS_ERRORS}>:-Werror>)
