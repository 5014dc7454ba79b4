#!/usr/bin/env bash
# On a StatusNotifierItem host (xfce4-panel, on a session bus of its own) the host draws
# the program's menu: nothing can be chosen during the splash, and a menu left open
# while it closes opens whole the next time; a unit clip and an
# external sound chosen there reach the sound device; a timer choice is saved and its
# check mark shows; the External Sounds editor's OK shows in the host's menu at once;
# Quit takes the item off the host.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/tray_host_xfce
source "$here/lib.sh"
in_own_session_bus "$@"

start_sni_display
demo_and_whistle_folder "$1" 0.6 "High Whistle"
start_app

wait_for 15 item_watched || fail "the icon was not registered with the host: $(watched_items)"
# During the splash the host's menu is one line that chooses nothing.
wait_for 5 exported_has "Not available while a Jabberwell window is open" ||
  fail "the menu was open during the splash: $(exported_menu)"
host_menu
shot 1-splash-menu
xdotool key Down Return
sleep 0.5
is_shown "Jabberwell v3 - Configuration" && fail "a choice went through during the splash"
# The menu stays open while the splash closes; the next opening shows the whole menu.
wait_for 10 is_gone "JBW v3 - Splash Screen" || fail "the splash stayed"
wait_for 5 exported_has "'Demo Sounds'" || fail "the full menu did not come back: $(exported_menu)"
xdotool key Escape

check="$here/audio_check.py $SDL_DISKAUDIOFILE"
audio_size() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }

# Up from nothing chosen takes the last entry, the unit's menu; its 31st clip is "Beep".
offset=$(audio_size)
host_menu
shot 2-host-menu
[ "$(host_menu_height)" -gt 100 ] || fail "the host shows one line after the splash: $(host_menu_height) px"
xdotool key Up Right
sleep 0.3
for _ in $(seq 30); do xdotool key Down; done
shot 3-beep
xdotool key Return
wait_for 10 $check "$offset" --length 0.25 --freq 880 ||
  fail "the unit clip did not reach the device: $($check "$offset" --length 0.25 --freq 880)"

# External Sounds is the one above it.
offset=$(audio_size)
host_menu
xdotool key Up Up Right Return
wait_for 10 $check "$offset" --length 0.6 --freq 1320 ||
  fail "the external sound did not reach the device: $($check "$offset" --length 0.6 --freq 1320)"

# Timer is the third entry; 5 Minutes its third.
host_menu
xdotool key Down Down Down Right Down Down Return
wait_for 5 grep -q "SetTimer=5Mins" "$APPDIR/JBW.ini" || fail "JBW.ini: $(cat "$APPDIR/JBW.ini")"
host_menu
xdotool key Down Down Down Right
sleep 0.4
shot 4-timer-checked
xdotool key Escape Escape
exported_menu | grep -q "'label': <'5 Minutes'>, 'toggle-state': <1>" ||
  fail "no check mark at 5 Minutes: $(exported_menu)"

# Configuration, then the external sound editor: a second sound, OK, Yes.
host_menu
xdotool key Down Down Return
wait_shown "Jabberwell v3 - Configuration"
exported_has "Not available while" || fail "the menu stayed open with the configuration window"
click_in "Jabberwell v3 - Configuration" 28 32
wait_shown "JBW v3 - External Sound List"
click_in "JBW v3 - External Sound List" 200 274
xdotool type --delay 5 "$APPDIR/whistle.wav"
click_in "JBW v3 - External Sound List" 120 226
xdotool type --delay 5 "Second Whistle"
click_in "JBW v3 - External Sound List" 324 236
click_in "JBW v3 - External Sound List" 200 274
xdotool key Return
sleep 0.8
xdotool key Return
wait_shown "Jabberwell v3 - Configuration"
click_in "Jabberwell v3 - Configuration" 296 28
wait_gone "Jabberwell v3 - Configuration"
sleep 0.8
is_shown "JBW v3 - Blatant Brakken Ad" && click_in "JBW v3 - Blatant Brakken Ad" 150 150
wait_for 10 exported_has "'Second Whistle'" || fail "the new entry is not in the host's menu"
host_menu
xdotool key Up Up Right
sleep 0.4
shot 5-new-entry
xdotool key Escape Escape

# Quit Program, the fourth entry, takes the item off the host.
host_menu
xdotool key Down Down Down Down Return
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Quit did not end the program"
item_gone() { ! item_watched; }
wait_for 5 item_gone || fail "the item stayed with the host: $(watched_items)"
echo "e2e xfce4-panel host: 1 passed, 0 failed"
