#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the program's own sources (not the tests,
# benchmarks or fuzz targets), two files at a time, using a build tree's compile commands. Exits
# non-zero on a finding.
#   tools/run-clang-tidy.sh [--preset P]          every source of the libraries and programs
#   tools/run-clang-tidy.sh [--preset P] FILE...  only these files
# The preset's tree (default: default) is configured when it is not; the compiler's own warnings
# are not clang-tidy's business (-Wno-error), the ci preset's -Werror included.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
if [ "${1:-}" = --preset ]; then
  preset="$2"
  shift 2
fi
build="build/$preset"
[ -f "$build/compile_commands.json" ] || cmake --preset "$preset" >/dev/null
if [ "$#" -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files 'app/*.cpp' 'cli/*.cpp' 'config/*.cpp' 'device/*.cpp' 'gadget/*.cpp' \
    'i18n/*.cpp' 'measure/*.cpp' 'protocol/*.cpp' 'publish/*.cpp' 'settings/*.cpp' 'text/*.cpp')
fi
# The Qt sources include moc output: build it first.
mapfile -t autogen < <(ninja -C "$build" -t targets all | sed -n 's/^\(kvelt[A-Za-z0-9_]*_autogen\): .*/\1/p')
[ "${#autogen[@]}" -eq 0 ] || cmake --build "$build" --target "${autogen[@]}" >/dev/null
printf '%s\0' "${files[@]}" |
  xargs -0 -n 1 -P "${KVELT_TIDY_JOBS:-2}" clang-tidy --quiet -p "$build" --extra-arg=-Wno-error 2>/dev/null
echo "clang-tidy: ${#files[@]} files checked"
