#!/usr/bin/env bash
# Installs the Debian 12 packages tools/vm-test.sh needs beside those of install-deps.sh: the
# kernel it boots (Debian's own, with dummy_hcd, the USB gadget HID function, usbhid, hidraw and
# 9p as modules), qemu and a static busybox for the initramfs. With --if-missing it does nothing
# when all of them are installed.
set -euo pipefail
packages=(linux-image-amd64 qemu-system-x86 busybox-static)
if [ "${1:-}" = "--if-missing" ]; then
  exec bash "$(dirname "$0")/apt-install.sh" --if-missing "${packages[@]}"
fi
exec bash "$(dirname "$0")/apt-install.sh" "${packages[@]}"
