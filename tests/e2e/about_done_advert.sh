#!/usr/bin/env bash
# The splash and the advert as the registry decides: with the sound-unit product
# installed the advert shows only after "Done"; without it (a value that differs only in
# letter case) it follows every splash too. Each window closes by its timer or a click,
# and the tray menu stays shut while one of them is on the screen.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/about_done_advert
source "$here/lib.sh"
rm -rf "$SHOT_DIR"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

SPLASH="JBW v3 - Splash Screen"
AD="JBW v3 - Blatant Brakken Ad"
CONFIG="Jabberwell v3 - Configuration"

start_display

# run_with REGISTRY_VALUE: the program in a fresh folder with that "Brakken" value.
run_with() {
  [ -n "${APPDIR:-}" ] && rm -rf "$APPDIR"
  new_app_folder "$PROGRAM"
  printf '[Software\\Grindlewood]\r\nBrakken=%s\r\n' "$1" > "$JBW_REGISTRY_FILE"
  start_app
  MENU_ICON_AT=
  wait_for 15 has_icon || fail "the tray icon did not appear"
}
# Only the windows of the program that are on the screen, by title, sorted.
shown_titles() {
  xdotool search --onlyvisible --classname jabberwell 2>/dev/null |
    while read -r w; do xdotool getwindowname "$w"; done | { grep -v -e '^$' -e '^jabberwell$' || true; } | sort
}
expect_only() {  # TITLE...: exactly these windows are shown
  local want; want=$(printf '%s\n' "$@" | { grep -v '^$' || true; } | sort)
  [ "$(shown_titles)" = "$want" ] || fail "shown: [$(shown_titles | paste -sd'|')], wanted [$(
    printf '%s|' "$@")]"
}
# The menu must not open now: one right-click, and no new "popup opened" line.
menu_stays_shut() {
  if menu_opens; then
    xdotool key Escape
    fail "the menu opened while $1 was on the screen"
  fi
}
menu_then_escape() { wait_for 10 menu_opens || fail "the menu did not open $1"; xdotool key Escape; sleep 0.3; }
quit_app() {
  kill -TERM "$APP_PID"
  local rc=0
  wait "$APP_PID" || rc=$?
  [ "$rc" = 0 ] || fail "the program ended with status $rc"
}
PROGRAM=$1

# --- Product installed: no advert after the splash -------------------------------------
run_with Installed
wait_for 5 is_shown "$SPLASH" || fail "no splash at start"
expect_only "$SPLASH"
shot 01-installed-splash
menu_stays_shut "the splash"
t0=$SECONDS
wait_for 10 is_gone "$SPLASH" || fail "the splash stayed"  # its 5 s timer
sleep 0.5
expect_only  # and no advert after it
shot 02-installed-after-splash
wait_for 10 menu_opens || fail "the menu did not open after the splash"

# About: the splash again, for 8 s unless clicked; a click ends it, still no advert.
xdotool key Down Return
wait_for 5 is_shown "$SPLASH" || fail "About showed no splash"
expect_only "$SPLASH"
shot 03-installed-about
menu_stays_shut "the About splash"
click_in "$SPLASH" 150 150
wait_for 5 is_gone "$SPLASH" || fail "a click did not end the About splash"
sleep 0.5
expect_only

# Done shows the advert even so; it leaves by its own 5 s timer.
wait_for 10 menu_opens || fail "no menu after About"
xdotool key Down Down Return
wait_for 5 is_shown "$CONFIG" || fail "no configuration window"
menu_stays_shut "the configuration window"
click_in "$CONFIG" 296 28  # Done
wait_for 5 is_shown "$AD" || fail "Done showed no advert"
expect_only "$AD"
shot 04-installed-done-advert
t0=$SECONDS
menu_stays_shut "the advert"
wait_for 10 is_gone "$AD" || fail "the advert stayed"
[ $((SECONDS - t0)) -ge 3 ] || fail "the advert went too soon"
expect_only
menu_then_escape "after the advert"
quit_app

# --- Not installed ("installed" in other letter case): the advert follows the splash ---
run_with installed
wait_for 5 is_shown "$SPLASH" || fail "no splash at start"
click_in "$SPLASH" 150 150  # the splash ends at once, and the advert takes its place
wait_for 5 is_shown "$AD" || fail "no advert after the splash"
expect_only "$AD"
shot 05-due-advert-after-splash
t0=$SECONDS
menu_stays_shut "the advert"
wait_for 10 is_gone "$AD" || fail "the advert stayed"
[ $((SECONDS - t0)) -ge 3 ] || fail "the advert went too soon"
expect_only
wait_for 10 menu_opens || fail "the menu did not open after the advert"

# About: the splash stays its 8 s (longer than the start's 5 s), then the advert comes.
xdotool key Down Return
wait_for 5 is_shown "$SPLASH" || fail "About showed no splash"
t0=$SECONDS
sleep 6
is_shown "$SPLASH" || fail "the About splash went before 6 s"
expect_only "$SPLASH"
wait_for 6 is_shown "$AD" || fail "no advert after the About splash"
expect_only "$AD"
shot 06-due-about-advert
menu_stays_shut "the advert after About"
click_in "$AD" 150 150
wait_for 5 is_gone "$AD" || fail "a click did not end the advert"
expect_only

# Configuration and Done, by Enter this time (Done has the focus): the advert once more,
# closed with a click.
wait_for 10 menu_opens || fail "no menu after the About advert"
xdotool key Down Down Return
wait_for 5 is_shown "$CONFIG" || fail "no configuration window"
sleep 0.3
# No window manager gives the window the keyboard: keys go to the window under the pointer.
xdotool search --onlyvisible --limit 1 --name "^$CONFIG\$" mousemove --window %1 300 198
sleep 0.3
xdotool key Return
wait_for 5 is_shown "$AD" || fail "Done showed no advert"
expect_only "$AD"
click_in "$AD" 150 150
wait_for 5 is_gone "$AD" || fail "a click did not end the advert"
expect_only
menu_then_escape "after Done"
quit_app
echo "e2e about, done and advert: 1 passed, 0 failed"
