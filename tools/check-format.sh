#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says (clang-format
# --dry-run --Werror); prints the differences and exits non-zero when a file is not.
#   tools/check-format.sh          every tracked .cpp and .h file
#   tools/check-format.sh FILE...  only these files
# `clang-format -i FILE...` formats them.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$#" -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
[ "${#files[@]}" -gt 0 ] || exit 0
printf '%s\0' "${files[@]}" | xargs -0 -n 50 clang-format --dry-run --Werror
echo "format: ${#files[@]} files checked"
