#!/usr/bin/env bash
# Installs every Debian 12 package needed to build, run, test, benchmark and fuzz
# kvelt-pc and to build and check its Debian package. With --if-missing it does
# nothing when all of them are installed.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev qt6-qpa-plugins qt6-translations-l10n
  libudev-dev
  umockdev libumockdev-dev
  fonts-dejavu-core fonts-wine
  xvfb xauth
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  libmosquitto-dev mosquitto mosquitto-clients
  help2man librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream
  clang-format clang-tidy
)
if [ "${1:-}" = "--if-missing" ]; then
  exec bash "$(dirname "$0")/apt-install.sh" --if-missing "${packages[@]}"
fi
exec bash "$(dirname "$0")/apt-install.sh" "${packages[@]}"
