#!/bin/sh
# run-in-umockdev.sh WRAPPER SETPRIV PROGRAM [ARGS...]
# Runs a test program with libumockdev preloaded. As root it drops to nobody first: root opens
# every device node, so tests of access rights would prove nothing.
set -eu
wrapper=$1
setpriv=$2
shift 2
# The preloaded library comes before the sanitizer runtime of sanitizer builds.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
if [ "$(id -u)" -eq 0 ]; then
  exec "$setpriv" --reuid=nobody --regid=nogroup --clear-groups "$wrapper" "$@"
fi
exec "$wrapper" "$@"
