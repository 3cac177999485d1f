#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, and nothing when all are present.
# As root it runs apt-get itself; otherwise it prints the one command to run and exits 1.
# Usage: tools/install-deps.sh [more packages...] (tools/cross/deps.sh adds a target system's packages this way).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libsdl2-ttf-dev libsdl2-net-dev libfluidsynth-dev libasound2-dev libstb-dev libboost-dev zlib1g-dev
  timgm6mb-soundfont freepats fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps imagemagick time
  valgrind shellcheck clang-format
  desktop-file-utils appstream lintian man-db dpkg-dev file
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run:"
  echo "sudo apt-get install -y --no-install-recommends ${missing[*]}"
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
if ! apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"; then
  apt-get -o DPkg::Lock::Timeout=900 update
  apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
fi
