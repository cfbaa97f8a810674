#!/usr/bin/env bash
# Builds kvelt-pc and starts it with the built-in simulated counter listed beside the real
# devices: a KVELT counter attached now or later is chosen over it, and the window says when
# the simulated one is in use. Extra arguments go to the program (--simulate: simulated only).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --if-missing
cmake --preset default >/dev/null
cmake --build --preset default --target kvelt-pc
exec ./build/default/app/kvelt-pc --with-simulated "$@"
