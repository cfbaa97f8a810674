#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what an installed copy relies on:
# every file in its place under one application id, valid desktop entry and AppStream metadata,
# icons of the right sizes, a manual page covering every option, and the installed program
# answering --version with no display and keeping config.ini in the user's config folder.
# Usage: install_tree_test.sh BUILD_DIR APPLICATION_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# What `cmake --install "$build" --prefix "$prefix"` does, except that the install manifest goes to
# the temporary folder: an unprivileged test run may not write into the build tree.
sed "s|\"$build/\${CMAKE_INSTALL_MANIFEST}\"|\"$root/\${CMAKE_INSTALL_MANIFEST}\"|" \
  "$build/cmake_install.cmake" >"$root/cmake_install.cmake"
grep -qF "\"$root/\${CMAKE_INSTALL_MANIFEST}\"" "$root/cmake_install.cmake" ||
  { echo "FAIL: the install script does not write its manifest where expected" >&2; exit 1; }
cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$root/cmake_install.cmake" >/dev/null

for file in bin/kvelt-pc bin/kvelt-gadget share/man/man1/kvelt-gadget.1.gz \
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$id.svg" \
  "share/icons/hicolor/48x48/apps/$id.png" "share/icons/hicolor/128x128/apps/$id.png" \
  share/man/man1/kvelt-pc.1.gz lib/udev/rules.d/70-kvelt.rules \
  share/doc/kvelt-pc/copyright share/doc/kvelt-pc/changelog.gz; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/kvelt-pc" ] || fail "the program is not executable"

for size in 48 128; do
  file -b "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
    fail "the $size px icon is not a $size x $size PNG"
done

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -qx "Exec=kvelt-pc" "$desktop" || fail "the desktop entry does not start kvelt-pc"
grep -q "<id>$id</id>" "$metainfo" || fail "the AppStream id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the AppStream metadata does not launch $id.desktop"
grep -Eq '<modalias>usb:v[0-9A-F]{4}p[0-9A-F]{4}d\*</modalias>' "$metainfo" ||
  fail "the AppStream metadata provides no USB modalias"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream release is not $version"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"

# The manual page is made from --help: every option listed there is documented.
manual=$(gzip -dc "$prefix/share/man/man1/kvelt-pc.1.gz")
help=$(env -i "$prefix/bin/kvelt-pc" --help)
for option in $(grep -oE -- '--[a-z][a-z-]+' <<<"$help" | sort -u); do
  grep -qF -- "${option//-/\\-}" <<<"$manual" || fail "the manual page lacks $option"
done

# The installed program with no display at all.
home=$root/home
mkdir -p "$home"
out=$(env -i HOME="$home" "$prefix/bin/kvelt-pc" --version 2>&1) || fail "--version failed: $out"
[ "$out" = "kvelt-pc $version" ] || fail "--version printed '$out'"
if env -i HOME="$home" "$prefix/bin/kvelt-pc" --simulate >/dev/null 2>&1; then
  fail "the window started with no display"
fi

# Settings go to ~/.config/kvelt-pc/ (or $XDG_CONFIG_HOME/kvelt-pc/), never beside the program,
# even when its folder is writable.
env -i HOME="$home" QT_QPA_PLATFORM=offscreen "$prefix/bin/kvelt-pc" --simulate --quit-after-show ||
  fail "the installed program did not start headless"
[ -f "$home/.config/kvelt-pc/config.ini" ] || fail "config.ini is not in ~/.config/kvelt-pc/"
[ ! -e "$prefix/bin/config.ini" ] || fail "config.ini was written beside the installed program"
env -i HOME="$home" XDG_CONFIG_HOME="$root/xdg" QT_QPA_PLATFORM=offscreen "$prefix/bin/kvelt-pc" --simulate \
  --quit-after-show || fail "the installed program did not start with XDG_CONFIG_HOME"
[ -f "$root/xdg/kvelt-pc/config.ini" ] || fail "config.ini is not in \$XDG_CONFIG_HOME/kvelt-pc/"

[ "$failures" -eq 0 ] || exit 1
echo "install tree: all checks passed"
