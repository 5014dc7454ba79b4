#!/usr/bin/env bash
# The program ends cleanly, with status 0, through "Quit Program", SIGTERM and SIGINT,
# also with the splash up or an editor's question open; the icon goes, and settings
# files nobody changed keep every byte (no rewrite, no normalising).
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/quit_sigterm
source "$here/lib.sh"
rm -rf "$SHOT_DIR"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

start_display
new_app_folder "$1"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
sox -n -r 16000 -c 1 "$APPDIR/tick.wav" synth 0.05 sine 1000 2>/dev/null || fail "sox failed"
# Hand-written files in shapes the program would not write itself: a comment before the
# first section, an unknown key, no empty line between sections, no final empty line,
# a file without a last line end. A rewrite would show in the bytes.
printf '; mine\r\n[Settings]\r\nNumberOfSounds=1\r\nLastDir=%s\r\nExtra=kept\r\n[Sound-List]\r\n1=%s\r\n[Sound-Menu]\r\n1=Tick\r\n' \
  "$APPDIR" "$APPDIR/tick.wav" > "$APPDIR/External.ini"
printf '[Settings]\r\nNumberOfBSUs=0' > "$APPDIR/BSUs.ini"
# The timer restore saves the mode as it goes (to custom and back to off for a custom
# value other than 3), so JBW.ini is in the shape the program writes: saving the values
# it already holds must leave it alone.
printf '[Settings]\r\nSetTimer=Off\r\nSetCustom=7\r\n\r\n' > "$APPDIR/JBW.ini"
mkdir "$APPDIR/before"
cp "$APPDIR"/*.ini "$APPDIR/before/"

icon_gone() { [ -z "$(tray_icon)" ]; }
unchanged() {
  for f in External.ini BSUs.ini JBW.ini; do
    cmp -s "$APPDIR/before/$f" "$APPDIR/$f" || fail "$f changed ($1): $(cat -A "$APPDIR/$f")"
  done
}
ended_cleanly() {  # HOW: the program ends within 10 s with status 0 and takes its icon
  local rc=0 t0=$SECONDS
  wait_for 10 bash -c "! kill -0 $APP_PID" || fail "the program did not end ($1)"
  wait "$APP_PID" || rc=$?
  [ "$rc" = 0 ] || fail "status $rc after $1"
  wait_for 5 icon_gone || fail "the icon stayed after $1"
  echo "  $1: ended in $((SECONDS - t0)) s, status 0"
}
restart() {
  : > "$JBW_E2E_LOG"
  start_app
  MENU_ICON_AT=
  wait_for 15 has_icon || fail "the tray icon did not appear"
}

# 1. Quit Program from the menu, once the splash has gone.
restart
wait_for 15 menu_opens || fail "the menu did not open"
logged "external sounds: Tick" || fail "the hand-written External.ini was not read"
shot 1-menu
xdotool key Down Down Down Down Return  # Quit Program
ended_cleanly "Quit Program"
unchanged "Quit Program"

# 2. SIGTERM while the splash shows, before any menu was used.
restart
wait_for 5 is_shown "JBW v3 - Splash Screen" || fail "no splash"
kill -TERM "$APP_PID"
ended_cleanly "SIGTERM during the splash"
unchanged "SIGTERM during the splash"

# 3. SIGTERM with unsaved edits in the external editor and its "Save Changes?" open.
restart
wait_for 15 menu_opens || fail "the menu did not open"
xdotool key Down Down Return
wait_for 5 is_shown "Jabberwell v3 - Configuration" || fail "no configuration window"
sleep 0.3
click_in "Jabberwell v3 - Configuration" 28 32
wait_for 5 is_shown "JBW v3 - External Sound List" || fail "no external editor"
sleep 0.3
click_in "JBW v3 - External Sound List" 200 274
xdotool type --delay 5 "$APPDIR/tick.wav"
click_in "JBW v3 - External Sound List" 120 226
xdotool type --delay 5 "Unsaved"
click_in "JBW v3 - External Sound List" 324 236  # Add
click_in "JBW v3 - External Sound List" 200 44   # the grid, so Enter means OK
xdotool key Return
wait_for 5 is_shown "Confirm" || fail "no Save question"
shot 3-save-question
kill -TERM "$APP_PID"
ended_cleanly "SIGTERM at the Save question"
unchanged "SIGTERM at the Save question"

# 4. SIGINT (Ctrl+C in a terminal) with the configuration window open.
restart
wait_for 15 menu_opens || fail "the menu did not open"
xdotool key Down Down Return
wait_for 5 is_shown "Jabberwell v3 - Configuration" || fail "no configuration window"
kill -INT "$APP_PID"
ended_cleanly "SIGINT with the configuration window open"
unchanged "SIGINT"

kill -0 "${E2E_PIDS[1]}" || fail "the tray host died"
echo "e2e quit and signals: 1 passed, 0 failed"
