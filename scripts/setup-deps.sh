#!/usr/bin/env bash
# Installs every Debian package the game needs to build, test and run.
# Quiet and quick when everything is already there; runs apt-get update at
# most once. Works as root, and through sudo otherwise.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  clang-14 libclang-rt-14-dev
  # engine libraries
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libcurl4-openssl-dev libssl-dev libarchive-dev libchm-dev
  # desktop game
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev libqt6svg6 libpulse0
  fonts-liberation2 fonts-dejavu-core
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick sox libimage-exiftool-perl
  # real photographs and textures used by tests and the starter jigsaws
  lomiri-wallpapers-16.04 mate-backgrounds gimp-data
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing ${#missing[@]} missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "Packages installed."
