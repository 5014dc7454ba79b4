#!/usr/bin/env bash
# A new user's first hour: install into a fresh home, start the program the way the
# desktop menu entry does, make a unit with the installed jbw-unit-pack, register it in
# the unit editor and play its clip from the tray; the installed demo unit plays too.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/new_user
source "$here/lib.sh"

build_app=$(dirname "$1")
export HOME; HOME=$(mktemp -d /tmp/jbw-home-XXXXXX)
APPDIR=$HOME  # removed on exit
unset XDG_DATA_HOME XDG_CONFIG_HOME
"$here/../../scripts/install-app" --from "$build_app" >/dev/null || fail "install failed"
entry=$HOME/.local/share/applications/org.jabberwell.Jabberwell.desktop
folder=$(sed -n 's/^Path=//p' "$entry")
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$folder" = "$HOME/.local/share/jabberwell" ] || fail "menu entry Path: $folder"

start_display
export JBW_REGISTRY_FILE="$HOME/registry.ini" JBW_E2E_LOG="$HOME/events.log"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' >"$JBW_REGISTRY_FILE"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$HOME/device.raw"
(cd "$folder" && eval "exec $exec_line") &
APP_PID=$!
E2E_PIDS+=($APP_PID)
wait_for 15 has_icon || fail "the tray icon did not appear"
for f in JBW.ini External.ini BSUs.ini; do wait_for 5 test -f "$folder/$f" || fail "no $f"; done
wait_for 20 menu_opens || fail "the menu did not open"
logged "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds|Demo Sounds$" ||
  fail "menu items: $(grep 'popup opened' "$JBW_E2E_LOG")"
shot 1-installed-menu

# A unit of one clip, 0.5 s of 660 Hz in the device's format.
sox -n -r 44100 -c 2 -b 16 -e signed-integer "$HOME/tone.wav" synth 0.5 sine 660 gain -6 \
  2>/dev/null || fail "sox failed"
"$HOME/.local/bin/jbw-unit-pack" -o "$HOME/Mine.BSU" --id Mine --caption "My Sounds" \
  "$HOME/tone.wav=Tone" >/dev/null || fail "jbw-unit-pack failed"

CONFIG="Jabberwell v3 - Configuration"
UNITS="JBW v3 - BSU Registration"
xdotool key Down Down Return  # "Configuration"
wait_shown "$CONFIG"
click_in "$CONFIG" 28 76  # "Register Brakken Sound Units"
wait_shown "$UNITS"
click_in "$UNITS" 40 148  # Add
wait_shown "Find Brakken Sound File .*"
xdotool type --delay 10 "$HOME/Mine.BSU"
xdotool key Return
wait_closed "Find Brakken Sound File .*"
window_shot "$UNITS" 2-unit-added
click_in "$UNITS" 268 148  # OK
wait_shown "Confirm"
xdotool key Return
wait_shown "$CONFIG"
[ "$(ini_value "$folder/BSUs.ini" BSU-List 2)" = "$HOME/Mine.BSU" ] ||
  fail "BSUs.ini: $(cat "$folder/BSUs.ini")"
click_in "$CONFIG" 296 28  # Done: the advert shows for a moment; a click ends it
wait_shown "JBW v3 - Blatant Brakken Ad"
click_in "JBW v3 - Blatant Brakken Ad" 150 150
wait_gone "JBW v3 - Blatant Brakken Ad"

check="$here/audio_check.py $SDL_DISKAUDIOFILE"
audio_size() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
: >"$JBW_E2E_LOG"
wait_for 10 menu_opens || fail "the menu did not open after Done"
logged "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds|Demo Sounds|My Sounds$" ||
  fail "menu after registering: $(grep 'popup opened' "$JBW_E2E_LOG")"
xdotool key End Right  # the new unit's menu, its one clip selected
wait_for 5 logged "menu shown: My Sounds:" || fail "the new unit's menu did not open"
shot 3-new-unit-menu
offset=$(audio_size)
xdotool key Return
wait_for 10 $check "$offset" --length 0.5 --freq 660 --wav "$HOME/tone.wav" ||
  fail "the new unit's clip did not reach the device: $($check "$offset" --length 0.5 --freq 660)"

: >"$JBW_E2E_LOG"
wait_for 10 menu_opens || fail "the menu did not open to quit"
xdotool key Down Down Down Down Return  # "Quit Program"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Quit Program did not end the program"
wait "$APP_PID" || fail "the program ended with status $?"
"$folder/install.sh" --uninstall >/dev/null
[ -f "$folder/BSUs.ini" ] && [ ! -e "$folder/jabberwell" ] || fail "uninstall"
echo "e2e new user: 1 passed, 0 failed"
