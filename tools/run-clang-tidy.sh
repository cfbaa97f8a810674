#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the program's own sources (not the tests,
# benchmarks or fuzz targets), using build/default's compile commands. Exits non-zero on a finding.
#   tools/run-clang-tidy.sh          every source of the libraries and both programs
#   tools/run-clang-tidy.sh FILE...  only these files
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
[ -f "$build/compile_commands.json" ] || cmake --preset default >/dev/null
if [ "$#" -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files 'app/*.cpp' 'cli/*.cpp' 'config/*.cpp' 'device/*.cpp' 'i18n/*.cpp' \
    'measure/*.cpp' 'protocol/*.cpp' 'settings/*.cpp' 'text/*.cpp')
fi
# The window's and the command line's sources include moc output: build it first.
cmake --build "$build" --target kvelt_app_autogen kvelt_cli_autogen >/dev/null 2>&1 || true
status=0
for file in "${files[@]}"; do
  clang-tidy --quiet -p "$build" "$file" 2>/dev/null || status=1
done
exit "$status"
