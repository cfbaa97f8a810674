#!/usr/bin/env bash
# Builds the Debian package of kvelt-pc: the program, its icons and manual page, then cpack's DEB
# generator. Prints the path of the .deb on its last line.
#   tools/package.sh [preset]   the build tree of the configure preset (default: default)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
build="build/$preset"
bash tools/install-deps.sh --if-missing
cmake --preset "$preset" >/dev/null
cmake --build "$build" --target kvelt-pc kvelt kvelt-gadget kvelt-packaging
rm -f "$build"/package/kvelt-pc_*.deb
cpack --config "$build/CPackConfig.cmake" -G DEB >&2
ls "$build"/package/kvelt-pc_*.deb
