#!/usr/bin/env bash
# The programs of a build tree against the real Linux USB/HID stack: boots Debian's kernel in
# qemu (TCG) with a busybox initramfs that mounts this machine's root read-only over 9p, where
# tools/vm-guest.sh joins kvelt-gadget (the counter as a USB HID gadget on dummy_hcd) and
# the build tree's kvelt and kvelt-pc through a real /dev/hidrawN, and runs the checks.
#   tools/vm-test.sh [build folder]   (default build/default; needs kvelt, kvelt-pc, kvelt-gadget)
# Everything it makes stays in <build folder>/vm/. Needs the packages of tools/install-vm-deps.sh
# and root (it reads /boot).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$(realpath "${1:-build/default}")
for program in cli/kvelt app/kvelt-pc gadget/kvelt-gadget; do
  [ -x "$build/$program" ] || { echo "vm-test.sh: $build/$program is not built" >&2; exit 1; }
done
kernel_version=$(dpkg-query -W -f='${Depends}' linux-image-amd64 | grep -o 'linux-image-[0-9][^ ,]*' | head -n 1)
kernel_version=${kernel_version#linux-image-}
kernel=/boot/vmlinuz-$kernel_version
modules=/lib/modules/$kernel_version
[ -r "$kernel" ] && [ -d "$modules" ] || { echo "vm-test.sh: no kernel $kernel_version (linux-image-amd64)" >&2; exit 1; }
busybox=/bin/busybox
file -L "$busybox" | grep -q 'statically linked' || { echo "vm-test.sh: $busybox is not static (busybox-static)" >&2; exit 1; }

# KVELT_VM_GUEST: another script to run in the guest in place of the checks (for debugging).
guest=$(realpath "${KVELT_VM_GUEST:-tools/vm-guest.sh}")
# KVELT_VM_TIME_LIMIT: when qemu is stopped. A minute before it the guest's own watchdog ends
# the checks and shows the kernel's log, so a hung check or driver is reported, not cut off.
limit=${KVELT_VM_TIME_LIMIT:-900}
watchdog=$((limit > 120 ? limit - 60 : limit / 2))
work=$build/vm
rm -rf "$work"
mkdir -p "$work/initramfs"/{bin,dev,proc,sys,newroot,modules}
cp "$busybox" "$work/initramfs/bin/busybox"
# Only what mounting the root over 9p needs; the guest loads the rest from the host's tree.
for module in drivers/virtio/virtio_ring drivers/virtio/virtio drivers/virtio/virtio_pci_legacy_dev \
  drivers/virtio/virtio_pci_modern_dev drivers/virtio/virtio_pci net/9p/9pnet net/9p/9pnet_virtio \
  fs/netfs/netfs fs/fscache/fscache fs/9p/9p; do
  cp "$modules/kernel/$module.ko" "$work/initramfs/modules/"
done
cat >"$work/initramfs/init" <<INIT
#!/bin/busybox sh
/bin/busybox mount -t proc proc /proc
/bin/busybox mount -t sysfs sysfs /sys
/bin/busybox mount -t devtmpfs devtmpfs /dev
for module in virtio_ring virtio virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci 9pnet \\
  9pnet_virtio netfs fscache 9p; do
  /bin/busybox insmod /modules/\$module.ko || echo "vm: insmod \$module failed"
done
if ! /bin/busybox mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000,cache=loose hostroot /newroot; then
  echo "vm: the host's root could not be mounted"
  /bin/busybox poweroff -f
fi
for folder in proc sys dev; do /bin/busybox mount --move /\$folder /newroot/\$folder; done
# switch_root, not chroot: udevadm refuses to work when its root is not the root of process 1.
exec /bin/busybox switch_root /newroot /bin/busybox sh -c \
  '/bin/bash "\$0" "\$1" "\$2" "\$3" || echo "vm: the checks ended early"; /bin/busybox poweroff -f' \
  "$guest" "$build" "$kernel_version" "$watchdog"
INIT
chmod 755 "$work/initramfs/init"
(cd "$work/initramfs" && find . | "$busybox" cpio -o -H newc 2>/dev/null) >"$work/initramfs.cpio"

# One boot for every check. An oops panics the guest, and the panic ends qemu (no reboot),
# so a broken kernel shows in the log instead of hanging the run.
console=$work/console.log
echo "== booting $kernel_version under qemu (TCG), at most $limit s"
status=0
timeout --kill-after=10 "$limit" qemu-system-x86_64 -accel tcg,thread=multi -smp 2 -m 2048 \
  -nodefaults -no-reboot -display none -serial stdio -monitor none \
  -kernel "$kernel" -initrd "$work/initramfs.cpio" \
  -append "console=ttyS0 rdinit=/init oops=panic panic=-1 loglevel=4 quiet" \
  -fsdev local,id=hostroot,path=/,security_model=none,readonly=on,multidevs=remap \
  -device virtio-9p-pci,fsdev=hostroot,mount_tag=hostroot \
  </dev/null 2>&1 | tee "$console" || status=$?
if grep -qE 'Oops|BUG:|Kernel panic|general protection fault' "$console"; then
  echo "vm-test.sh: the guest kernel oopsed or panicked (see $console)" >&2
  exit 1
fi
[ "$status" -eq 0 ] || { echo "vm-test.sh: qemu ended with status $status (124: the time limit)" >&2; exit 1; }
summary=$(grep -aE '^[0-9]+ passed, [0-9]+ failed' "$console" | tail -n 1 | tr -d '\r')
[ -n "$summary" ] || { echo "vm-test.sh: the guest ended before its summary" >&2; exit 1; }
[[ "$summary" == *" 0 failed" ]]
