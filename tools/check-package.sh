#!/usr/bin/env bash
# Builds the Debian package and checks it the way a user meets it: desktop entry and AppStream
# metadata validate, lintian reports no error, apt-get installs it, the installed program runs
# as an unprivileged user (--version with no display; headless start writing
# ~/.config/kvelt-pc/config.ini), and removing and purging it leaves nothing of it under /usr.
# Needs root: it installs and removes the package on this machine.
#   tools/check-package.sh [preset]   the package of that preset's build tree (default: default)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "check-package.sh: run it as root (it installs the package)" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
id=pl.kvelt.KveltPc
user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

deb=$(realpath "$(bash tools/package.sh "${1:-default}" | tail -n 1)")
version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "== package $deb"
dpkg-deb -I "$deb"

echo "== validators"
dpkg-deb -x "$deb" "$work/tree"
desktop-file-validate "$work/tree/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/$id.metainfo.xml"

echo "== lintian (errors fail; warnings and notes are listed)"
lintian --fail-on error --info "$deb"

echo "== install"
if dpkg-query -W -f='${Status}' kvelt-pc 2>/dev/null | grep -q 'install ok installed'; then
  echo "kvelt-pc is installed already; remove it first" >&2
  exit 1
fi
# Every file and link the package brings, to check their removal afterwards.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' >"$work/files"
apt-get install -y "$deb"
[ "$(command -v kvelt-pc)" = /usr/bin/kvelt-pc ] || { echo "kvelt-pc is not /usr/bin/kvelt-pc" >&2; exit 1; }

echo "== the installed program as an unprivileged user"
home=$work/home
mkdir -p "$home"
chown nobody:nogroup "$home"
chmod 755 "$work"
shown=$("${user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin kvelt-pc --version)
[ "$shown" = "kvelt-pc $version" ] || { echo "--version printed '$shown'" >&2; exit 1; }
echo "$shown"
"${user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
  kvelt-pc --simulate --quit-after-show
[ -f "$home/.config/kvelt-pc/config.ini" ] || { echo "no ~/.config/kvelt-pc/config.ini" >&2; exit 1; }
echo "config.ini written to ~/.config/kvelt-pc/"
[ "$(command -v kvelt)" = /usr/bin/kvelt ] || { echo "kvelt is not /usr/bin/kvelt" >&2; exit 1; }
shown=$("${user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin kvelt --version)
[ "$shown" = "kvelt $version" ] || { echo "kvelt --version printed '$shown'" >&2; exit 1; }
reading=$("${user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin kvelt watch --simulate --once)
case "$reading" in
  1:\ *rev/s\ \ out\ 00000) echo "kvelt watch --simulate --once: $reading" ;;
  *) echo "kvelt watch printed '$reading'" >&2; exit 1 ;;
esac
[ -f /usr/share/man/man1/kvelt.1.gz ] || { echo "no kvelt(1) manual page" >&2; exit 1; }
[ "$(command -v kvelt-gadget)" = /usr/bin/kvelt-gadget ] || { echo "kvelt-gadget is not /usr/bin/kvelt-gadget" >&2; exit 1; }
shown=$("${user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin kvelt-gadget --version)
[ "$shown" = "kvelt-gadget $version" ] || { echo "kvelt-gadget --version printed '$shown'" >&2; exit 1; }
[ -f /usr/share/man/man1/kvelt-gadget.1.gz ] || { echo "no kvelt-gadget(1) manual page" >&2; exit 1; }

echo "== remove and purge"
apt-get remove -y kvelt-pc
apt-get purge -y kvelt-pc
left=0
while read -r file; do
  if [ -e "$file" ] || [ -L "$file" ]; then
    echo "left behind: $file" >&2
    left=1
  fi
done <"$work/files"
if find /usr -iname '*kvelt*' -print | grep .; then
  echo "left behind under /usr (above)" >&2
  left=1
fi
if dpkg-query -W kvelt-pc >/dev/null 2>&1; then
  echo "dpkg still knows kvelt-pc" >&2
  left=1
fi
[ "$left" -eq 0 ]
echo "package checks passed"
