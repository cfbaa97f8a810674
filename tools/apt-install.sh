#!/usr/bin/env bash
# Installs Debian packages: tools/apt-install.sh [--if-missing] PACKAGE...
# With --if-missing it does nothing when all of them are installed. Through sudo when not root.
set -euo pipefail
if_missing=no
if [ "${1:-}" = "--if-missing" ]; then
  if_missing=yes
  shift
fi
if [ "$if_missing" = yes ]; then
  missing=no
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing=yes
  done
  [ "$missing" = no ] && exit 0
fi
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "$@"
