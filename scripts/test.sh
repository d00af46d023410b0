#!/usr/bin/env bash
# Builds Radixel and runs every test twice: once as built for use, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Every warning is an error here, as in CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh

# The sources keep the one format of .clang-format; a change that leaves it fails here, as in CI.
git ls-files -z '*.cpp' '*.hpp' '*.inl' | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=ON -DRADIXEL_BENCHMARKS=ON -DRADIXEL_WARNINGS_AS_ERRORS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# Leak detection is on; the tests of the programs that load Qt turn it off for themselves.
export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRADIXEL_SANITIZE=ON \
  -DBUILD_TESTING=ON -DRADIXEL_BENCHMARKS=OFF -DRADIXEL_WARNINGS_AS_ERRORS=ON
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
