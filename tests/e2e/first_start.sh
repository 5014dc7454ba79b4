#!/usr/bin/env bash
# First start in a folder holding nothing but the program: the three settings files
# appear with their default content, the menu holds only the fixed items, the timer is
# off, nothing plays, and "Quit Program" ends the program without touching the files.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/first_start
source "$here/lib.sh"

start_display
new_app_folder "$1"
# No registry file: the product counts as not installed, so the advert follows the splash.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$APPDIR/../$(basename "$APPDIR")-audio.raw"
trap 'rm -f "$SDL_DISKAUDIOFILE"; e2e_cleanup' EXIT
folder=$(cd "$APPDIR" && pwd -P)/
start_app

wait_for 15 has_icon || fail "the tray icon did not appear"
shot 1-started
all_written() { test -s "$APPDIR/BSUs.ini" && test -s "$APPDIR/External.ini" && test -s "$APPDIR/JBW.ini"; }
wait_for 10 all_written || fail "settings files: $(ls "$APPDIR")"

expect_bytes() {  # file, printf format, arguments
  local file=$1 format=$2; shift 2
  # shellcheck disable=SC2059
  cmp -s <(printf "$format" "$@") "$APPDIR/$file" ||
    fail "$file: $(od -c "$APPDIR/$file" | head -n 8)"
}
check_defaults() {
  expect_bytes BSUs.ini '[Settings]\r\nNumberOfBSUs=0\r\n\r\n'
  expect_bytes External.ini '[Settings]\r\nNumberOfSounds=0\r\nLastDir=%sWavs\r\n\r\n' "$folder"
  expect_bytes JBW.ini '[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n'
}
check_defaults

# The splash, then the advert (5 s each) keep the menu shut; then it opens.
wait_for 25 menu_opens || fail "the menu did not open after the splash and the advert"
wait_for 3 menu_shown || fail "the menu window did not show"
shot 2-menu
grep -qx "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds" \
  "$JBW_E2E_LOG" || fail "menu items: $(grep 'popup opened' "$JBW_E2E_LOG")"
grep -qx "external sounds: " "$JBW_E2E_LOG" || fail "$(grep 'external sounds' "$JBW_E2E_LOG")"

# Timer is the third entry; Right opens its submenu.
xdotool key Down Down Down Right
wait_for 5 logged "menu shown: Timer:" || fail "the Timer submenu did not open"
sleep 0.3
shot 3-timer-submenu
logged "menu shown: Timer: columns 5; checked: Off; entries: Off|2 Minutes|5 Minutes|3 to 9 Minutes|Custom$" ||
  fail "timer submenu: $(grep 'menu shown: Timer' "$JBW_E2E_LOG")"

# No clip is registered, so nothing has played: the sound device was never opened.
[ ! -s "$SDL_DISKAUDIOFILE" ] || fail "something played at the first start"

# Back to the top level and down to Quit Program.
xdotool key Left Down Return
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Quit Program did not end the program"
sleep 0.3
shot 4-after-quit
[ -z "$(tray_icon)" ] || fail "the icon stayed after the program ended"
check_defaults
left=$(cd "$APPDIR" && ls | sort | tr '\n' ' ')
[ "$left" = "BSUs.ini External.ini JBW.ini events.log jabberwell jbw-unit-reader " ] ||
  fail "files in the folder: $left"
echo "e2e first start: 1 passed, 0 failed"
