#!/usr/bin/env bash
# The tray icon appears, the splash keeps off the taskbar, the menu stays shut while the
# splash shows, opens with the fixed items once it is gone, and "Quit Program" ends the
# program and removes the icon.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/tray_menu
source "$here/lib.sh"

start_display
new_app_folder "$1"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
start_app

started=$SECONDS
wait_for 15 has_icon || fail "the tray icon did not appear"
shot 1-started
# Off the taskbar, and transient for no window: Mutter warns of one that is never shown.
splash=$(shown_window "JBW v3 - Splash Screen")
[ -n "$splash" ] || fail "no splash at start"
xprop -id "$splash" WM_TRANSIENT_FOR | grep -q "not found" ||
  fail "the splash is transient: $(xprop -id "$splash" WM_TRANSIENT_FOR)"
xprop -id "$splash" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
  fail "the splash shows on the taskbar: $(xprop -id "$splash" _NET_WM_STATE)"

# The splash shows for 5 s from the start; the menu must stay shut meanwhile.
right_click_icon
sleep 1
shot 2-click-during-splash
[ $((SECONDS - started)) -lt 5 ] || echo "note: the start took long; the splash check is weak"
logged "popup opened" && fail "the menu opened while the splash was showing"

open_menu() { right_click_icon; sleep 0.7; logged "popup opened"; }
wait_for 15 open_menu || fail "the menu did not open after the splash"
sleep 0.5
shot 3-menu-open
logged "popup opened: About|Configuration|Timer|Quit Program|-|External Sounds" ||
  fail "menu items: $(grep 'popup opened' "$JBW_E2E_LOG")"

# Up from nothing selected wraps to the last entry; Quit Program is the fourth.
xdotool key Down Down Down Down Return
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "the program did not end"
sleep 0.5
shot 4-after-quit
[ -z "$(tray_icon)" ] || fail "the icon stayed after the program ended"
for f in JBW.ini External.ini BSUs.ini; do test -f "$APPDIR/$f" || fail "$f was not created"; done
echo "e2e tray menu: 1 passed, 0 failed"
