#!/usr/bin/env bash
# Builds Radixel and runs every test twice: once as built for use, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Every warning is an error here, as in CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=ON -DRADIXEL_BENCHMARKS=ON -DRADIXEL_WARNINGS_AS_ERRORS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# Qt keeps some allocations for the life of the process; leak reports would be about Qt, not us.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRADIXEL_SANITIZE=ON \
  -DBUILD_TESTING=ON -DRADIXEL_BENCHMARKS=OFF -DRADIXEL_WARNINGS_AS_ERRORS=ON
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
