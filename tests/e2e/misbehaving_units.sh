#!/usr/bin/env bash
# A board with the demo unit between two misbehaving units (one crashes in SoundsList,
# one never returns from loading) starts, shows only the demo unit's menu, plays one of
# its clips and ends on SIGTERM with status 0. It names each unit it could not read in
# one line on stderr.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/misbehaving_units
source "$here/lib.sh"

start_display
new_app_folder "$1"
bad=$(cd "$(dirname "$1")/../tests/misbehaving" && pwd) || fail "no misbehaving units built"
cp "$(dirname "$1")/Demo.BSU" "$bad/CrashInList.BSU" "$bad/Hangs.BSU" "$APPDIR/" ||
  fail "units missing"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$APPDIR/device.raw"
printf '[Settings]\r\nNumberOfBSUs=3\r\n\r\n[BSU-List]\r\n1=%s/CrashInList.BSU\r\n2=%s/Demo.BSU\r\n3=%s/Hangs.BSU\r\n\r\n' \
  "$APPDIR" "$APPDIR" "$APPDIR" > "$APPDIR/BSUs.ini"
printf '[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n' > "$APPDIR/JBW.ini"
(cd "$APPDIR" && exec ./jabberwell 2>"$APPDIR/stderr.log") &
APP_PID=$!
E2E_PIDS+=($APP_PID)

wait_for 20 has_icon || fail "the tray icon did not appear"
wait_for 20 menu_opens || fail "the menu did not open"
logged "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds|Demo Sounds$" ||
  fail "menu items: $(grep 'popup opened' "$JBW_E2E_LOG")"
for unit in CrashInList Hangs; do
  [ "$(grep -c "sound unit not read: $APPDIR/$unit.BSU: " "$APPDIR/stderr.log")" = 1 ] ||
    fail "no one line on $unit: $(cat "$APPDIR/stderr.log")"
done

# The last entry is the demo unit's menu; Right opens it on its first clip, "One".
xdotool key End Right
wait_for 5 logged "menu shown: Demo Sounds:" || fail "the unit's menu did not open"
shot 1-demo-menu
offset=$(stat -c %s "$SDL_DISKAUDIOFILE")
xdotool key Return
check="$here/audio_check.py $SDL_DISKAUDIOFILE"
wait_for 10 $check "$offset" --any || fail "the demo clip did not reach the device"

kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "SIGTERM did not end the program"
rc=0
wait "$APP_PID" || rc=$?
[ "$rc" = 0 ] || fail "status $rc after SIGTERM"
echo "e2e misbehaving units: 1 passed, 0 failed"
