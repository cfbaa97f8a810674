#!/usr/bin/env bash
# Builds kvelt-pc and runs every test (ctest). Installs missing packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --if-missing
preset="${1:-default}"
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
