#!/usr/bin/env bash
# The command line drives the running board over its own session bus: --list and
# --play, --random reach the sound device; --stop and a middle click on the icon cut a
# long sound short; --output-device sends the sound elsewhere and is kept; --timer 5Mins
# is saved and checked in the menu that --menu opens; a save that fails, a board that does
# not answer and every refusal give their line and exit code; a second start, also
# without a bus, leaves one icon; --quit ends the board, also while its start waits on an
# error box.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/control_from_outside
source "$here/lib.sh"
in_own_session_bus "$@"

start_display
demo_and_whistle_folder "$1" 8 "Long Whistle"

# expect CODE TEXT ARGS...: the command line exits with CODE, printing TEXT.
# ($VIA runs it through another program; its own lines on stderr are left out.)
expect() {
  local code=$1 text=$2; shift 2
  local out rc=0
  out=$(cd "$APPDIR" && ${VIA:-} ./jabberwell "$@" 2>&1) || rc=$?
  out=$(grep -v "^dbus-daemon\[" <<<"$out" || true)
  [ "$rc" -eq "$code" ] || fail "jabberwell $*: exit $rc, not $code: $out"
  grep -q -- "$text" <<<"$out" || fail "jabberwell $*: '$out' does not say '$text'"
  [ "$(wc -l <<<"$out")" -eq 1 ] || [ "$code" -eq 0 ] || fail "jabberwell $*: more than one line: $out"
}
jbw() { (cd "$APPDIR" && ./jabberwell "$@"); }

expect 3 "not running from $APPDIR/" --random
expect 2 "unknown option '--louder'" --louder
expect 2 "needs an entry" --play
expect 0 "Usage: jabberwell" --help
expect 0 "Jabberwell v3 3.0" --version
(unset DISPLAY WAYLAND_DISPLAY; expect 1 "needs a desktop session")
(DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent; expect 5 "unavailable: no session bus" --stop)

start_app
wait_for 15 has_icon || fail "the tray icon did not appear"
# The splash is up: the menu is shut, and so are the calls that would play or open it.
is_shown "JBW v3 - Splash Screen" || fail "no splash"
expect 4 "Not available while a Jabberwell window is open" --random
expect 4 "Not available while a Jabberwell window is open" --play "Demo Sounds/Beep"
expect 0 "External Sounds/Long Whistle" --list
[ "$(jbw --list | wc -l)" -eq 46 ] || fail "--list: $(jbw --list)"

# A plain second start leaves the one icon, and so does one without a session bus.
expect 0 "already running from $APPDIR/"
(DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent; expect 0 "already running from $APPDIR/")
icons() { xdotool search --classname jabberwell-tray 2>/dev/null | wc -l; }
[ "$(icons)" -eq 1 ] || fail "$(icons) tray icons"
# A caller on another bus finds the board by its folder's lock.
(VIA="dbus-run-session --"; expect 5 "runs from $APPDIR/, but not on this session bus" --stop)
# Without a bus the device is saved, and the caller hears that the board was not told.
(DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
 expect 7 "cannot be reached over the session bus" --output-device "Elsewhere"
 grep -q "Device=Elsewhere" "$APPDIR/JBW.ini" || fail "JBW.ini: $(cat "$APPDIR/JBW.ini")"
 expect 7 "cannot be reached" --output-device "")
wait_for 15 is_gone "JBW v3 - Splash Screen" || fail "the splash stayed"

check="$here/audio_check.py $SDL_DISKAUDIOFILE"
audio_size() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
offset=$(audio_size)
expect 0 "" --play "Demo Sounds/Beep"
wait_for 10 $check "$offset" --length 0.25 --freq 880 ||
  fail "--play did not reach the device: $($check "$offset" --length 0.25 --freq 880)"
expect 1 "no such entry: Demo Sounds/Nothing" --play "Demo Sounds/Nothing"

offset=$(audio_size)
expect 0 "" --random
wait_for 10 $check "$offset" --any || fail "--random played nothing"

# stopped_short HOW...: the eight-second whistle starts, HOW stops it; once eight
# seconds more have reached the device, the whistle there is shorter. (Long, so that a
# loaded machine still stops it before its end.)
grown() { [ "$(audio_size)" -ge $(($1 + 44100 * 4 * 9)) ]; }
stopped_short() {
  offset=$(audio_size)
  expect 0 "" --play "External Sounds/Long Whistle"
  wait_for 10 $check "$offset" --any || fail "the whistle did not start"
  "$@"
  local stopped; stopped=$(audio_size)
  wait_for 20 grown "$stopped" || fail "the device stalled"
  $check "$offset" --length 8 --freq 1320 >/dev/null && fail "$* did not stop the whistle: $($check "$offset" --any)"
  $check "$offset" --any | grep -q "found" || fail "no whistle at all"
}
stopped_short expect 0 "" --stop
middle_click() {
  local icon; icon=$(tray_icon)
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  # The pointer rests on the icon first, or the press may reach trayer itself.
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.3
  xdotool click 2
}
stopped_short middle_click

# The device chosen by name: SDL's disk driver takes the name for its file. The choice
# is kept, and "" goes back to the default device.
expect 0 "" --output-device "$APPDIR/chosen.raw"
wait_for 5 grep -q "Device=$APPDIR/chosen.raw" "$APPDIR/JBW.ini" || fail "JBW.ini: $(cat "$APPDIR/JBW.ini")"
expect 0 "" --play "Demo Sounds/Beep"
wait_for 10 "$here/audio_check.py" "$APPDIR/chosen.raw" 0 --length 0.25 --freq 880 ||
  fail "the beep did not reach the chosen device"
expect 0 "" --output-device ""
wait_for 5 bash -c "! grep -q Output '$APPDIR/JBW.ini'" || fail "JBW.ini: $(cat "$APPDIR/JBW.ini")"
[ -n "$(jbw --list-devices)" ] || fail "--list-devices listed nothing"

# A save that fails is refused with its error, and no box waits on the board.
mv "$APPDIR/JBW.ini" "$APPDIR/JBW.kept" && mkdir "$APPDIR/JBW.ini"
expect 1 "not saved in JBW.ini: File access denied" --timer 2Mins
expect 1 "not saved in JBW.ini: File access denied" --output-device "Elsewhere"
is_shown "Jabberwell v3" && fail "an error box on the board"
rmdir "$APPDIR/JBW.ini" && mv "$APPDIR/JBW.kept" "$APPDIR/JBW.ini"

# A board that does not answer: the call gives up with its own code.
kill -STOP "$APP_PID"
expect 6 "did not answer within 10 s" --stop
kill -CONT "$APP_PID"

# The timer from outside: saved, and checked in the menu --menu opens.
expect 0 "" --timer 5Mins
wait_for 5 grep -q "SetTimer=5Mins" "$APPDIR/JBW.ini" || fail "JBW.ini: $(cat "$APPDIR/JBW.ini")"
expect 1 "unknown timer mode 'Weekly'" --timer Weekly
: > "$JBW_E2E_LOG"
expect 0 "" --menu
wait_for 5 logged "popup opened" || fail "--menu opened no menu"
wait_for 3 menu_shown || fail "the menu window did not show"
xdotool key Down Down Down Right
wait_for 5 logged "menu shown: Timer: columns 5; checked: 5 Minutes;" ||
  fail "timer submenu: $(grep 'menu shown' "$JBW_E2E_LOG")"
shot 1-timer-from-outside
xdotool key Escape Escape

expect 0 "" --quit
# --quit returns once the board has ended (a moment for the shell to notice).
wait_for 1 bash -c "! kill -0 $APP_PID" || fail "the board lingered after --quit returned"
wait "$APP_PID" || fail "the program ended with $?"
expect 3 "not running" --list

# A start that waits on an error box (JBW.ini's name taken by a folder) is still starting,
# and --quit ends it.
rm "$APPDIR/JBW.ini" && mkdir "$APPDIR/JBW.ini"
start_app
wait_for 15 is_shown "Jabberwell v3" || fail "no error box at the start"
expect 4 "Jabberwell is still starting" --list
expect 4 "Jabberwell is still starting" --stop
expect 0 "" --quit
wait_for 1 bash -c "! kill -0 $APP_PID" || fail "--quit did not end the starting board"
wait "$APP_PID" || fail "the starting board ended with $?"
echo "e2e control from outside: 1 passed, 0 failed"
