#!/usr/bin/env bash
# Installs every Debian 12 package needed to build, run, test, benchmark and fuzz
# kvelt-pc and to build and check its Debian package. With --if-missing it does
# nothing when all of them are installed.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-qpa-plugins qt6-translations-l10n
  libudev-dev
  umockdev libumockdev-dev
  fonts-dejavu-core fonts-wine
  xvfb xauth
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  help2man librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream
  clang-format clang-tidy
)
if [ "${1:-}" = "--if-missing" ]; then
  missing=no
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing=yes
  done
  [ "$missing" = no ] && exit 0
fi
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${packages[@]}"
