#!/usr/bin/env bash
# Installs, from Debian's packages, whatever this machine lacks to build, run and test Radixel.
# Only missing packages are installed, so a machine that has everything is left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  libgmp-dev libgtest-dev libbenchmark-dev
  qt6-base-dev libgl-dev libx11-dev
  xvfb xauth xdotool xclip fonts-dejavu-core
  poppler-utils
)

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
