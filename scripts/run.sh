#!/usr/bin/env bash
# Builds Radixel and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target radixel

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Radixel needs a desktop: no display is set (DISPLAY or WAYLAND_DISPLAY)." >&2
  exit 1
fi
exec build/Radixel/bin/radixel
