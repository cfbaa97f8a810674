#!/usr/bin/env bash
# Builds the Debian package of kvelt-pc from the default preset: the program, its icons and manual
# page, then `cpack -G DEB`. Prints the path of the .deb on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --if-missing
cmake --preset default >/dev/null
cmake --build --preset package
rm -f build/default/package/kvelt-pc_*.deb
cpack --preset default >&2
ls build/default/package/kvelt-pc_*.deb
