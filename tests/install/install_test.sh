#!/usr/bin/env bash
# make install, package and uninstall into a throw-away home: the folder and menu entries
# appear, a second install keeps the user's settings, a running copy survives an upgrade,
# uninstall keeps the settings unless purged, and the package installs the same way.
# Usage: install_test.sh BUILD_APP_DIR BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
app=$1
build=$2
export HOME; HOME=$(mktemp -d /tmp/jbw-home-XXXXXX)
unset XDG_DATA_HOME XDG_CONFIG_HOME
trap 'rm -rf "$HOME"' EXIT
folder=$HOME/.local/share/jabberwell
entry=$HOME/.local/share/applications/org.jabberwell.Jabberwell.desktop
autostart=$HOME/.config/autostart/org.jabberwell.Jabberwell.desktop
passed=0
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { passed=$((passed + 1)); }

"$root/scripts/install-app" --from "$app" >/dev/null
for f in jabberwell jbw-unit-reader Demo.BSU jbw-unit-pack jbw-unit-template.so install.sh \
  kit/SoundUnit.cmake kit/include/jbw/SoundUnit.h BSUs.ini share/man/man1/jabberwell.1; do
  [ -f "$folder/$f" ] || fail "$f not installed"
done
[ -x "$folder/jabberwell" ] || fail "the program is not executable"
grep -q "^1=$folder/Demo.BSU" "$folder/BSUs.ini" || fail "the demo unit is not registered"
grep -qx "Exec=\"$folder/jabberwell\"" "$entry" || fail "menu entry: $(cat "$entry")"
grep -qx "Icon=org.jabberwell.Jabberwell" "$entry" || fail "no icon in the menu entry"
for f in icons/hicolor/scalable/apps/org.jabberwell.Jabberwell.svg \
  icons/hicolor/16x16/apps/org.jabberwell.Jabberwell.png icons/hicolor/256x256/apps/org.jabberwell.Jabberwell.png \
  icons/hicolor/symbolic/apps/org.jabberwell.Jabberwell-symbolic.svg man/man1/jabberwell.1 \
  metainfo/org.jabberwell.Jabberwell.metainfo.xml bash-completion/completions/jabberwell; do
  [ -f "$HOME/.local/share/$f" ] || fail "$f not installed"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "the menu entry is not valid"
fi
[ ! -e "$autostart" ] || fail "autostart entry without AUTOSTART"
[ "$(readlink "$HOME/.local/bin/jbw-unit-pack")" = "$folder/jbw-unit-pack" ] || fail "no jbw-unit-pack link"
ok

# The unit tool works from the installed folder, through the link.
sox -n -r 22050 -c 1 "$HOME/hello.wav" synth 0.1 sine 440 2>/dev/null
"$HOME/.local/bin/jbw-unit-pack" -o "$HOME/Mine.BSU" --id Mine --caption "My Sounds" \
  "$HOME/hello.wav=Hello" >/dev/null || fail "jbw-unit-pack failed when installed"
[ -s "$HOME/Mine.BSU" ] || fail "no unit made"
ok

# A second install (an upgrade to a newer program) with AUTOSTART keeps the settings and
# the running program's file: it is replaced by a rename, so the old inode stays whole.
newer=$HOME/newer
mkdir "$newer"
cp -r "$app"/{jabberwell,jbw-unit-reader,jbw-unit-pack,jbw-unit-template.so,Demo.BSU,share} "$newer/"
printf 'newer' >>"$newer/jabberwell"
printf '[Settings]\r\nNumberOfBSUs=0\r\n\r\n[BSU-List]\r\n\r\n' >"$folder/BSUs.ini"
cp "$folder/BSUs.ini" "$HOME/BSUs.before"
exec 7<"$folder/jabberwell"
old_inode=$(stat -c %i "$folder/jabberwell")
"$root/scripts/install-app" --from "$newer" --autostart >/dev/null
cmp -s "$folder/BSUs.ini" "$HOME/BSUs.before" || fail "reinstall changed BSUs.ini"
cmp -s "$folder/jabberwell" "$newer/jabberwell" || fail "the program was not upgraded"
[ "$(stat -c %i "$folder/jabberwell")" != "$old_inode" ] || fail "the program was written in place"
cmp -s /proc/self/fd/7 "$app/jabberwell" || fail "the old program file was changed"
exec 7<&-
grep -qx "Exec=\"$folder/jabberwell\"" "$autostart" || fail "no autostart entry"
ok

# Uninstall keeps the settings and the user's own files; purge removes everything.
cp "$HOME/Mine.BSU" "$folder/Mine.BSU"
"$root/scripts/install-app" --uninstall >/dev/null
for f in jabberwell Demo.BSU jbw-unit-pack install.sh kit; do
  [ ! -e "$folder/$f" ] || fail "$f left after uninstall"
done
[ ! -e "$entry" ] && [ ! -e "$autostart" ] || fail "menu entries left after uninstall"
[ ! -e "$HOME/.local/bin/jbw-unit-pack" ] || fail "link left after uninstall"
cmp -s "$folder/BSUs.ini" "$HOME/BSUs.before" || fail "uninstall lost BSUs.ini"
[ -f "$folder/Mine.BSU" ] || fail "uninstall removed the user's unit"
"$root/scripts/install-app" --uninstall --purge >/dev/null
[ ! -e "$folder" ] || fail "purge left the folder"
ok

# The package: unpack anywhere, ./install.sh, and the installed copy uninstalls itself.
"$root/scripts/make-package" "$build" >/dev/null
tarball=$(ls "$build"/jabberwell-*-linux-*.tar.gz)
mkdir "$HOME/unpacked"
tar -C "$HOME/unpacked" -xzf "$tarball"
"$HOME"/unpacked/jabberwell-*/install.sh >/dev/null
[ -x "$folder/jabberwell" ] && [ -f "$folder/README.txt" ] && [ -f "$entry" ] || fail "package install"
grep -q "^1=$folder/Demo.BSU" "$folder/BSUs.ini" || fail "package: demo unit not registered"
"$folder/install.sh" --uninstall --purge >/dev/null
[ ! -e "$folder" ] && [ ! -e "$entry" ] || fail "package uninstall"
ok
echo "install: $passed passed, 0 failed"
