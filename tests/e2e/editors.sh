#!/usr/bin/env bash
# Both list editors used the way a person would: the unit editor registers Demo.BSU and
# two packed units through the file dialog, replaces and removes rows; the external
# editor is driven by the keyboard (Tab, Enter, Escape, the grid's arrow keys) and the
# mouse (double-click, Replace, Delete). After each save the INI file holds the list and
# the tray menu shows it.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/editors
source "$here/lib.sh"
rm -rf "$SHOT_DIR"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

bin=$(dirname "$1")
[ -f "$bin/Demo.BSU" ] || fail "no Demo.BSU next to the program (build jbw_demo_unit)"
[ -x "$bin/jbw-unit-pack" ] || fail "no jbw-unit-pack next to the program"

start_display
new_app_folder "$1"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
mkdir "$APPDIR/BSUs" "$APPDIR/Wavs"
cp "$bin/Demo.BSU" "$APPDIR/BSUs/"
WAVS=$APPDIR/Wavs
sox -n -r 16000 -c 1 "$WAVS/doorbell.wav" synth 0.1 sine 660 2>/dev/null || fail "sox failed"
sox -n -r 16000 -c 1 "$WAVS/whistle.wav" synth 0.1 sine 1760 2>/dev/null || fail "sox failed"
sox -n -r 16000 -c 1 "$WAVS/gong.wav" synth 0.1 sine 110 2>/dev/null || fail "sox failed"
mkdir "$APPDIR/More"
cp "$WAVS/doorbell.wav" "$APPDIR/More/bell.wav"
"$bin/jbw-unit-pack" -o "$APPDIR/BSUs/Beeps.BSU" --id Beeps --caption "Beeps" \
  "$WAVS/doorbell.wav=Low" >/dev/null || fail "packing Beeps.BSU"
"$bin/jbw-unit-pack" -o "$APPDIR/BSUs/Chimes.BSU" --id Chimes --caption "Chimes" \
  "$WAVS/whistle.wav=High" "$WAVS/gong.wav=Deep" >/dev/null || fail "packing Chimes.BSU"
start_app
wait_for 15 has_icon || fail "the tray icon did not appear"
wait_for 10 is_shown "JBW v3 - Splash Screen" || fail "no splash"
click_in "JBW v3 - Splash Screen" 150 150  # the splash goes at once when clicked
wait_for 10 menu_opens || fail "the menu did not open"

CONFIG="Jabberwell v3 - Configuration"
UNITS="JBW v3 - BSU Registration"
EXTERNAL="JBW v3 - External Sound List"
DIALOG="Find Brakken Sound File .*"

open_config() {
  xdotool key Down Down Return  # "Configuration"
  wait_shown "$CONFIG"
}
# choose_unit FILE: the open dialog takes a typed file name.
choose_unit() {
  wait_shown "$DIALOG"
  xdotool type --delay 10 "$1"
  xdotool key Return
  wait_closed "$DIALOG"
}
# Done shows the advert whatever the registry says; a click ends it, then the menu works.
done_and_menu() {
  click_in "$CONFIG" 296 28
  wait_shown "JBW v3 - Blatant Brakken Ad"
  click_in "JBW v3 - Blatant Brakken Ad" 150 150
  wait_gone "JBW v3 - Blatant Brakken Ad"
  wait_for 10 menu_opens || fail "the menu did not open after Done"
  sleep 0.3
}
grid_row() { echo $((8 + 24 + 24 * ($1 - 1) + 12)); }  # y of a grid row's middle

# --- The unit editor -------------------------------------------------------------------
open_config
click_in "$CONFIG" 28 76  # BtnDLLs
wait_shown "$UNITS"
is_gone "$CONFIG" || fail "the configuration window stayed beside the unit editor"
menu_opens && fail "the tray menu opened while the unit editor was open"
click_in "$UNITS" 40 148  # Add
choose_unit Demo.BSU
click_in "$UNITS" 40 148
choose_unit Beeps.BSU
click_in "$UNITS" 40 148
choose_unit Beeps.BSU  # the same unit twice is allowed
click_in "$UNITS" 40 148  # no slot left: a notice, no dialog
wait_shown "Information"
shot 01-units-full
is_gone "$DIALOG" || fail "the file dialog opened with every slot filled"
xdotool key Return
wait_closed "Information"

click_in "$UNITS" 150 "$(grid_row 3)"
click_in "$UNITS" 112 148  # Replace row 3
choose_unit Chimes.BSU
click_in "$UNITS" 150 "$(grid_row 2)"
click_in "$UNITS" 184 148  # Remove row 2
wait_shown "Confirm"
xdotool key Escape  # No: nothing changes
wait_closed "Confirm"
click_in "$UNITS" 184 148
wait_shown "Confirm"
xdotool key Return  # Yes, the default answer
wait_closed "Confirm"
click_in "$UNITS" 150 "$(grid_row 1)"  # the grid has the focus: Enter and Escape reach the window
window_shot "$UNITS" unit-editor
xdotool key Escape  # Cancel asks first; No keeps the editor and its rows
wait_shown "Confirm"
xdotool key Escape
wait_closed "Confirm"
is_shown "$UNITS" || fail "the unit editor closed on a No"
xdotool key Return  # OK
wait_shown "Confirm"
shot 02-units-save
xdotool key Return
wait_shown "$CONFIG"
is_gone "$UNITS" || fail "the unit editor stayed after Save"

ini=$APPDIR/BSUs.ini
[ "$(ini_value "$ini" Settings NumberOfBSUs)" = 2 ] || fail "BSUs.ini: $(cat "$ini")"
[ "$(ini_value "$ini" BSU-List 1)" = "$APPDIR/BSUs/Demo.BSU" ] || fail "BSUs.ini: $(cat "$ini")"
[ "$(ini_value "$ini" BSU-List 2)" = "$APPDIR/BSUs/Chimes.BSU" ] || fail "BSUs.ini: $(cat "$ini")"
grep -q "^3=" "$ini" && fail "BSUs.ini kept a third entry: $(cat "$ini")"

: > "$JBW_E2E_LOG"
done_and_menu
shot 03-menu-units
logged "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds|Demo Sounds|Chimes\$" ||
  fail "menu after the unit save: $(grep 'popup opened' "$JBW_E2E_LOG")"
xdotool key Escape

# --- The external sound editor, mostly from the keyboard -------------------------------
wait_for 10 menu_opens || fail "the menu did not open again"
open_config
click_in "$CONFIG" 28 32  # BtnExternal
wait_shown "$EXTERNAL"
# Tab order: grid, file name, menu label, Edit, Replace, Delete, Add, OK, Cancel.
add_by_keys() {  # the focus is on the grid
  xdotool key Tab
  xdotool type --delay 5 "$1"
  xdotool key Tab
  xdotool type --delay 5 "$2"
  xdotool key Tab Tab Tab Tab Return  # on Add; a focused button takes Enter itself
  sleep 0.3
  xdotool key Tab Tab Tab  # OK, Cancel, back to the grid
}
click_in "$EXTERNAL" 200 "$(grid_row 1)"
add_by_keys "$WAVS/doorbell.wav" "Door Bell"
add_by_keys "$WAVS/whistle.wav" "whistle"
add_by_keys "$WAVS/gong.wav" "gong"

# Down moves to row 2; Edit copies it into the boxes; the label changes; Replace, Yes.
xdotool key Down Tab Tab Tab Return
sleep 0.3
xdotool key shift+Tab ctrl+a
xdotool type --delay 5 "Whistle"
xdotool key Tab Tab Return  # Replace
wait_shown "Confirm"
xdotool key Return
wait_closed "Confirm"

# Up to row 1, Delete: first No (Escape), then Yes (Enter).
xdotool key Tab Tab Tab Tab Tab Up Tab Tab Tab Tab Tab Return
wait_shown "Confirm"
xdotool key Escape
wait_closed "Confirm"
xdotool key Return
wait_shown "Confirm"
xdotool key Return
wait_closed "Confirm"

# With the mouse: a double-click on row 2 fills the boxes, a new label, Replace, Yes.
click_in "$EXTERNAL" 200 "$(grid_row 2)" 2
click_in "$EXTERNAL" 120 226
xdotool key ctrl+a
xdotool type --delay 5 "Big Gong"
click_in "$EXTERNAL" 457 236  # Replace
wait_shown "Confirm"
xdotool key Return
wait_closed "Confirm"
click_in "$EXTERNAL" 324 236  # Add with empty boxes: a notice
wait_shown "Information"
shot 04-external-empty-boxes
xdotool key Return
wait_closed "Information"

# The person starts a third entry, browsing for its file in another folder, and thinks
# better of it. Browse writes LastDir at once, and the list's save leaves it.
click_in "$EXTERNAL" 200 "$(grid_row 1)"
click_in "$EXTERNAL" 452 274  # BtnOpen
wait_shown "Find External Sound File .*"
xdotool type --delay 10 "$APPDIR/More/bell.wav"
xdotool key Return
wait_closed "Find External Sound File .*"
last_dir_is() { [ "$(ini_value "$APPDIR/External.ini" Settings LastDir)" = "$1" ]; }
wait_for 5 last_dir_is "$APPDIR/More" || fail "LastDir after Browse: $(cat "$APPDIR/External.ini")"
click_in "$EXTERNAL" 120 226
xdotool type --delay 5 "Door Bell"
window_shot "$EXTERNAL" external-editor
click_in "$EXTERNAL" 200 "$(grid_row 1)"  # a grid click empties the boxes
xdotool key Escape  # Cancel, answered No
wait_shown "Confirm"
xdotool key Escape
wait_closed "Confirm"
is_shown "$EXTERNAL" || fail "the external editor closed on a No"
xdotool key Return  # OK, Yes
wait_shown "Confirm"
xdotool key Return
wait_shown "$CONFIG"
is_gone "$EXTERNAL" || fail "the external editor stayed after Save"

ini=$APPDIR/External.ini
check() { [ "$(ini_value "$ini" "$1" "$2")" = "$3" ] || fail "External.ini $1/$2: $(cat "$ini")"; }
check Settings NumberOfSounds 2
check Sound-List 1 "$WAVS/whistle.wav"
check Sound-Menu 1 "Whistle"
check Sound-List 2 "$WAVS/gong.wav"
check Sound-Menu 2 "Big Gong"
check Settings LastDir "$APPDIR/More"
grep -q "^3=" "$ini" && fail "External.ini kept a third entry: $(cat "$ini")"

: > "$JBW_E2E_LOG"
done_and_menu
shot 05-menu-external
logged "external sounds: Whistle|Big Gong\$" ||
  fail "external sounds after the save: $(grep 'external sounds' "$JBW_E2E_LOG")"
logged "popup opened: .*|External Sounds|Demo Sounds|Chimes\$" || fail "the unit menus went"
# Up from nothing wraps to the last entry, the Chimes unit; Right opens its clips.
xdotool key Up Right
sleep 0.5
shot 06-menu-chimes
wait_for 3 logged "menu shown: Chimes: .*entries: High|Deep\$" ||
  fail "the Chimes submenu: $(grep 'menu shown' "$JBW_E2E_LOG")"
xdotool key Escape Escape
kill -TERM "$APP_PID"
rc=0
wait "$APP_PID" || rc=$?
[ "$rc" = 0 ] || fail "the program ended with status $rc"
echo "e2e editors: 1 passed, 0 failed"
