#!/usr/bin/env bash
# Installs, from Debian's packages, whatever this machine lacks to build, run and test Radixel.
# Only missing packages are installed, so a machine that has everything is left alone.
#
# Usage: install-deps.sh [--run]
#   --run  only what building and starting the program needs, without the tests' and
#          benchmarks' tools and libraries
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  libgmp-dev qt6-base-dev libgl-dev
)
test_packages=(
  clang clang-format git python3 libgtest-dev libbenchmark-dev
  libx11-dev xvfb xauth xdotool xclip fonts-dejavu-core desktop-file-utils poppler-utils
  dbus-daemon dbus-bin at-spi2-core
)

packages=("${run_packages[@]}")
case "${1:-}" in
  --run) ;;
  "") packages+=("${test_packages[@]}") ;;
  *) echo "usage: $0 [--run]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
