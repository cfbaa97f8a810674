#!/usr/bin/env bash
# Builds kvelt-pc and starts it. When no KVELT counter is attached, it starts
# with the built-in simulated counter. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --if-missing
cmake --preset default >/dev/null
cmake --build --preset default --target kvelt-pc
args=("$@")
counter_attached=no
for product in /sys/class/hidraw/*/device/../../product; do
  [ -r "$product" ] && [ "$(cat "$product" 2>/dev/null)" = "KVELT" ] && counter_attached=yes
done
if [ "$counter_attached" = no ]; then
  echo "No KVELT counter attached: starting with the simulated counter." >&2
  args=(--simulate "${args[@]}")
fi
exec ./build/default/app/kvelt-pc "${args[@]}"
