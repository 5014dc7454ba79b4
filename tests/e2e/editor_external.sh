#!/usr/bin/env bash
# A person registers an external sound through the configuration window and the external
# sound editor with real clicks and key presses, saves, and finds it in the tray menu.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/editor_external
source "$here/lib.sh"

start_display
new_app_folder "$1"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
sox -n -r 16000 -c 1 "$APPDIR/beep.wav" synth 0.2 sine 880 2>/dev/null || fail "sox failed"
start_app
wait_for 15 has_icon || fail "the tray icon did not appear"
open_menu() { right_click_icon; sleep 0.7; logged "popup opened"; }
wait_for 20 open_menu || fail "the menu did not open"

# "Configuration" is the second entry.
xdotool key Down Down Return
window_at() {  # title -> sets X Y of the window's client area
  local w; w=$(xdotool search --name "^$1\$" | head -n1)
  [ -n "$w" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$w")"
}
click_at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.4; }
wait_for 5 window_at "Jabberwell v3 - Configuration" || fail "no configuration window"
sleep 0.5
shot 1-configuration
click_at 28 32  # BtnExternal
wait_for 5 window_at "JBW v3 - External Sound List" || fail "no external sound editor"
sleep 0.5
click_at 200 274  # EditFileName
xdotool type --delay 5 "$APPDIR/beep.wav"
click_at 120 226  # EditMenuLabel
xdotool type --delay 5 "Beep Test"
shot 2-typed
click_at 324 236  # Add
shot 3-added
click_at 200 274  # back in the file-name box, Enter means OK, the default button
xdotool key Return
sleep 0.8
shot 4-confirm
xdotool key Return  # Yes, the default answer
wait_for 5 window_at "Jabberwell v3 - Configuration" || fail "the editor did not return"
grep -q "Sound-List" "$APPDIR/External.ini" || fail "External.ini: $(cat "$APPDIR/External.ini")"
grep -q "1=Beep Test" "$APPDIR/External.ini" || fail "no menu text in External.ini"
sleep 0.3
click_at 296 28  # Done: the advert shows for 5 s
sleep 0.8
ad=$(xdotool search --name "^JBW v3 - Blatant Brakken Ad\$" | head -n1)
[ -n "$ad" ] && eval "$(xdotool getwindowgeometry --shell "$ad")" && click_at 150 150
: > "$JBW_E2E_LOG"
wait_for 10 open_menu || fail "the menu did not open after Done"
shot 5-menu
logged "external sounds: Beep Test" || fail "$(grep 'external sounds' "$JBW_E2E_LOG")"
xdotool key Escape
kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "SIGTERM did not end the program"
[ -z "$(tray_icon)" ] || fail "the icon stayed after SIGTERM"
echo "e2e external editor: 1 passed, 0 failed"
