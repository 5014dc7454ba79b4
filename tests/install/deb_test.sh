#!/usr/bin/env bash
# The Debian package, unpacked into a throw-away root: its dependencies come from the
# binaries, its files are where the desktop looks, and its /usr/bin/jabberwell sets up the
# user's own folder, hands every argument to the copy there, and after a newer package
# (or over a folder of make install) upgrades the program without touching the settings.
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
work=$(mktemp -d /tmp/jbw-deb-XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"
folder=$HOME/.local/share/jabberwell
passed=0
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { passed=$((passed + 1)); }

"$root/scripts/make-deb" "$build" >/dev/null
deb=$(ls "$build"/jabberwell_*_"$(dpkg --print-architecture)".deb)
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6dbus6 "libsdl2-2.0-0 (>="; do
  [[ $depends == *"$p"* ]] || fail "Depends lacks $p: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == "libsndfile1 (>="* ]] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
ok

sys=$work/sys
dpkg-deb -x "$deb" "$sys"
id=org.jabberwell.Jabberwell
for f in bin/jabberwell lib/jabberwell/jabberwell lib/jabberwell/install.sh lib/jabberwell/Demo.BSU \
  lib/jabberwell/jbw-unit-template.so lib/jabberwell/kit/include/jbw/SoundUnit.h \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/symbolic/apps/$id-symbolic.svg \
  share/man/man1/jabberwell.1.gz share/man/man1/jbw-unit-pack.1.gz \
  share/bash-completion/completions/jabberwell share/doc/jabberwell/copyright; do
  [ -f "$sys/usr/$f" ] || fail "the package lacks /usr/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  file "$sys/usr/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size" ||
    fail "no ${size}px icon"
done
[ "$(readlink -f "$sys/usr/bin/jbw-unit-pack")" = "$sys/usr/lib/jabberwell/jbw-unit-pack" ] ||
  fail "/usr/bin/jbw-unit-pack is not the program's"
[ -z "$(find "$sys" -name '*.ini')" ] || fail "the package holds settings files"
ok

# The first start sets up the folder, with the demo unit registered, and runs the copy.
launcher=$sys/usr/bin/jabberwell
[ "$("$launcher" --version 2>"$work/err")" = "Jabberwell v3 3.0" ] || fail "--version through the launcher"
grep -q "set up $folder" "$work/err" || fail "first start said: $(cat "$work/err")"
cmp -s "$folder/jabberwell" "$sys/usr/lib/jabberwell/jabberwell" || fail "the folder lacks the program"
grep -q "^1=$folder/Demo.BSU" "$folder/BSUs.ini" || fail "the demo unit is not registered"
# The copy in the folder is what answers: it names its own folder.
set +e
dbus-run-session -- "$launcher" --play "Demo Sounds/Beep" 2>"$work/err"
status=$?
"$launcher" --no-such-option 2>/dev/null
usage_status=$?
set -e
[ $status -eq 3 ] && grep -q "not running from $folder/" "$work/err" ||
  fail "--play through the launcher: $status $(cat "$work/err")"
[ $usage_status -eq 2 ] || fail "a wrong option through the launcher ended with $usage_status"
ok

# An unchanged package leaves the folder alone and says nothing.
inode=$(stat -c %i "$folder/jabberwell")
"$launcher" --version >/dev/null 2>"$work/err"
[ ! -s "$work/err" ] && [ "$(stat -c %i "$folder/jabberwell")" = "$inode" ] ||
  fail "an unchanged package touched the folder: $(cat "$work/err")"
ok

# A newer package: the program is replaced by a rename (a running board keeps its file),
# and the user's settings stay as they are.
printf '[Settings]\r\nSetTimer=2\r\nSetCustom=7\r\n\r\n' >"$folder/JBW.ini"
printf '[Settings]\r\nNumberOfSounds=0\r\n\r\n' >"$folder/External.ini"
printf '[Settings]\r\nNumberOfBSUs=0\r\n\r\n[BSU-List]\r\n\r\n' >"$folder/BSUs.ini"
mkdir "$work/settings" && cp "$folder"/*.ini "$work/settings/"
cp "$folder/jabberwell" "$work/old-program"
exec 7<"$folder/jabberwell"
printf 'newer' >>"$sys/usr/lib/jabberwell/jabberwell"
"$launcher" --version >/dev/null 2>"$work/err" || fail "the upgraded program did not start"
grep -q "upgraded the program in $folder" "$work/err" || fail "upgrade said: $(cat "$work/err")"
cmp -s "$folder/jabberwell" "$sys/usr/lib/jabberwell/jabberwell" || fail "the program was not upgraded"
cmp -s /proc/self/fd/7 "$work/old-program" || fail "the old program file was written in place"
exec 7<&-
for f in JBW.ini External.ini BSUs.ini; do
  cmp -s "$folder/$f" "$work/settings/$f" || fail "the upgrade changed $f"
done
ok

# A folder of make install is upgraded the same way, and keeps its menu files.
export HOME=$work/home2
folder=$HOME/.local/share/jabberwell
mkdir -p "$HOME"
"$root/scripts/install-app" --from "$build/app" >/dev/null
cp "$folder/BSUs.ini" "$work/BSUs.before"
"$launcher" --version >/dev/null 2>&1 || fail "the launcher over a make install folder"
cmp -s "$folder/jabberwell" "$sys/usr/lib/jabberwell/jabberwell" || fail "make install's folder not upgraded"
cmp -s "$folder/BSUs.ini" "$work/BSUs.before" || fail "the upgrade changed make install's BSUs.ini"
[ -f "$folder/share/applications/$id.desktop" ] || fail "the upgrade dropped the folder's share/"
ok
# A folder that cannot be made is reported, and nothing else runs.
export HOME=$work/home3
mkdir -p "$HOME/.local"
touch "$HOME/.local/share"
set +e
"$launcher" --version >"$work/out" 2>"$work/err"
status=$?
set -e
[ $status -eq 1 ] && [ ! -s "$work/out" ] && grep -q "cannot set up $HOME/.local/share/jabberwell" "$work/err" ||
  fail "an impossible folder: $status $(cat "$work/out" "$work/err")"
ok
echo "deb: $passed passed, 0 failed"
