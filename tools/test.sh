#!/usr/bin/env bash
# Builds kvelt-pc and runs every test (ctest). Installs missing packages first.
#   tools/test.sh [preset]                 as the calling user
#   tools/test.sh --unprivileged [preset]  the tests as an unprivileged user (default nobody,
#                                          or KVELT_TEST_USER) when called as root
# Root ignores permission bits, so the tests of write-protected files and folders skip in a
# root run; CI runs the suite a second time with --unprivileged, where they run.
set -euo pipefail
cd "$(dirname "$0")/.."
unprivileged=no
if [ "${1:-}" = "--unprivileged" ]; then
  unprivileged=yes
  shift
fi
bash tools/install-deps.sh --if-missing
preset="${1:-default}"
cmake --preset "$preset"
cmake --build --preset "$preset"
if [ "$unprivileged" = no ] || [ "$(id -u)" -ne 0 ]; then
  # Besides the summary, a JUnit report for tools that read one.
  ctest --preset "$preset" --output-junit "$PWD/build/$preset/Testing/junit.xml"
  exit 0
fi
user="${KVELT_TEST_USER:-nobody}"
group="$(id -gn "$user")"
build="build/$preset"
echo "Running the tests as $user:$group, for whom permission bits bind"
# Test discovery writes into the build tree: let root do it, then let the user read the
# sources and the build tree (every folder above them included) and write ctest's own logs.
ctest --preset "$preset" -N >/dev/null
chmod -R a+rX .
folder="$PWD"
while [ "$folder" != / ]; do
  chmod a+x "$folder"
  folder="$(dirname "$folder")"
done
mkdir -p "$build/Testing"
chmod -R a+rwX "$build/Testing"
setpriv --reuid="$user" --regid="$group" --clear-groups \
  env -u XDG_RUNTIME_DIR HOME=/tmp TMPDIR=/tmp ctest --preset "$preset"
