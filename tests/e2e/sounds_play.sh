#!/usr/bin/env bash
# With the demo unit and two external sounds registered, a random clip plays at start,
# the unit's 45 clips show in columns of 20, 21 and 4, and a unit clip chosen with keys
# and an external sound chosen with the mouse both reach the sound device: SDL's disk
# driver writes what it is handed to a file, where the clips' tones and lengths are
# looked for.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/sounds_play
source "$here/lib.sh"

start_display
new_app_folder "$1"
unit=$(dirname "$1")/Demo.BSU
[ -f "$unit" ] || fail "no demo unit next to the program: $unit"
cp "$unit" "$APPDIR/Demo.BSU"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$APPDIR/device.raw"

# Already in the device's format, so their samples reach it unchanged.
wav="-r 44100 -c 2 -b 16 -e signed-integer"
sox -n $wav "$APPDIR/hum.wav" synth 0.4 sine 330 gain -6 2>/dev/null || fail "sox failed"
sox -n $wav "$APPDIR/whistle.wav" synth 0.6 sine 1320 gain -6 2>/dev/null || fail "sox failed"
printf '[Settings]\r\nNumberOfBSUs=1\r\n\r\n[BSU-List]\r\n1=%s/Demo.BSU\r\n\r\n' "$APPDIR" \
  > "$APPDIR/BSUs.ini"
printf '[Settings]\r\nNumberOfSounds=2\r\nLastDir=%s\r\n\r\n[Sound-List]\r\n1=%s/hum.wav\r\n2=%s/whistle.wav\r\n\r\n[Sound-Menu]\r\n1=Low Hum\r\n2=High Whistle\r\n\r\n' \
  "$APPDIR" "$APPDIR" "$APPDIR" > "$APPDIR/External.ini"
printf '[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n' > "$APPDIR/JBW.ini"
start_app

wait_for 15 has_icon || fail "the tray icon did not appear"
# A random clip plays at start.
check="$here/audio_check.py $SDL_DISKAUDIOFILE"
wait_for 10 $check 0 --any || fail "nothing played at start: $($check 0 --any)"
wait_for 20 menu_opens || fail "the menu did not open"
wait_for 3 menu_shown || fail "the menu window did not show"
logged "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds|Demo Sounds$" ||
  fail "menu items: $(grep 'popup opened' "$JBW_E2E_LOG")"
logged "external sounds: Low Hum|High Whistle$" || fail "$(grep 'external sounds' "$JBW_E2E_LOG")"

# End selects the last entry, the unit's menu; Right opens it with its first clip selected.
xdotool key End Right
wait_for 5 logged "menu shown: Demo Sounds:" || fail "the unit's menu did not open"
sleep 0.3
shot 1-unit-menu
logged "menu shown: Demo Sounds: columns 20,21,4; checked: ; entries: One|Two|" ||
  fail "unit menu: $(grep 'menu shown: Demo' "$JBW_E2E_LOG")"

# Row 11 of the first column is "Eleven"; Right moves along the row to clip 31, "Beep"
# (0.25 s of 880 Hz, made at 16 kHz mono, so converted on its way to the device).
audio_size() { stat -c %s "$SDL_DISKAUDIOFILE"; }
offset=$(audio_size)
xdotool key Down Down Down Down Down Down Down Down Down Down Right
sleep 0.2
shot 2-beep-selected
xdotool key Return
wait_for 10 $check "$offset" --length 0.25 --freq 880 ||
  fail "the unit clip did not reach the device: $($check "$offset" --length 0.25 --freq 880)"
echo "unit clip: $($check "$offset" --length 0.25 --freq 880)"

# The second external sound, chosen with the mouse in the External Sounds submenu.
: > "$JBW_E2E_LOG"
wait_for 10 menu_opens || fail "the menu did not open again"
wait_for 3 menu_shown || fail "the menu window did not show"
visible_menus() { xdotool search --onlyvisible --name '^Jabberwell menu$' 2>/dev/null | sort; }
before=$(visible_menus)
xdotool key Down Down Down Down Down Right
wait_for 5 logged "menu shown: External Sounds: columns 2; checked: ; entries: Low Hum|High Whistle$" ||
  fail "external menu: $(grep 'menu shown' "$JBW_E2E_LOG")"
submenu=$(comm -13 <(echo "$before") <(visible_menus) | head -n1)
[ -n "$submenu" ] || fail "no window for the External Sounds submenu"
eval "$(xdotool getwindowgeometry --shell "$submenu")"
offset=$(audio_size)
# Two rows of equal height: the second one's middle is three quarters down.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 3 / 4))
sleep 0.3
shot 3-whistle-hovered
xdotool click 1
wait_for 10 $check "$offset" --length 0.6 --freq 1320 --wav "$APPDIR/whistle.wav" ||
  fail "the external sound did not reach the device: $($check "$offset" --length 0.6 --freq 1320 --wav "$APPDIR/whistle.wav")"
echo "external sound: $($check "$offset" --length 0.6 --freq 1320)"
# Only the chosen one played.
$check "$offset" --length 0.4 --freq 330 >/dev/null && fail "the other external sound played"

: > "$JBW_E2E_LOG"
wait_for 10 menu_opens || fail "the menu did not open to quit"
wait_for 3 menu_shown || fail "the menu window did not show"
xdotool key Down Down Down Down Return
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Quit Program did not end the program"
echo "e2e sounds play: 1 passed, 0 failed"
