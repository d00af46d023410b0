#!/usr/bin/env bash
# Builds Radixel, without its tests and benchmarks, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Said before the build, so that a machine without a desktop learns it at once.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Radixel needs a desktop: no display is set (DISPLAY or WAYLAND_DISPLAY)." >&2
  exit 1
fi

bash scripts/install-deps.sh --run
# A tree of its own, so that the test tree in build/ keeps its tests and benchmarks.
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DRADIXEL_BENCHMARKS=OFF >/dev/null
cmake --build build-run -j "$(nproc)" --target radixel
exec build-run/Radixel/bin/radixel
