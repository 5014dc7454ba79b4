#!/usr/bin/env bash
# The timer set from the tray's Timer submenu and from the configuration window's
# controls is saved in JBW.ini at once and comes back after a restart: in the submenu's
# check mark and caption, in the controls and in the running interval.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/timer_restart
source "$here/lib.sh"

start_display
new_app_folder "$1"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"

config="Jabberwell v3 - Configuration"
advert="JBW v3 - Blatant Brakken Ad"
jbw_is() {  # mode, custom minutes: JBW.ini holds exactly these
  cmp -s <(printf '[Settings]\r\nSetTimer=%s\r\nSetCustom=%s\r\n\r\n' "$1" "$2") "$APPDIR/JBW.ini"
}
expect_jbw() {
  wait_for 5 jbw_is "$1" "$2" || fail "JBW.ini, expected $1 and $2: $(od -c "$APPDIR/JBW.ini")"
}
launch() {  # a start with a fresh log, up to the first opening of the menu
  : > "$JBW_E2E_LOG"
  start_app
  wait_for 15 has_icon || fail "the tray icon did not appear"
  wait_for 20 menu_opens || fail "the menu did not open"
  wait_for 3 menu_shown || fail "the menu window did not show"
}
timer_submenu_shows() {  # checked entry, last entry's caption: the open menu's Timer submenu
  xdotool key Down Down Down Right
  wait_for 5 logged "menu shown: Timer:" || fail "the Timer submenu did not open"
  sleep 0.2
  logged "menu shown: Timer: columns 5; checked: $1; entries: Off|2 Minutes|5 Minutes|3 to 9 Minutes|$2$" ||
    fail "timer submenu, expected $1 and $2: $(grep 'menu shown: Timer' "$JBW_E2E_LOG")"
}
open_configuration() {  # from the Timer submenu
  : > "$JBW_E2E_LOG"
  xdotool key Left Up Return
  wait_for 5 is_shown "$config" || fail "no configuration window"
  sleep 0.3
  logged "configuration shown: $1$" ||
    fail "expected $1, got: $(grep 'configuration shown' "$JBW_E2E_LOG")"
}
done_and_quit() {
  click_in "$config" 296 28  # Done: the advert follows; a click closes it
  wait_for 5 is_shown "$advert" || fail "no advert after Done"
  click_in "$advert" 150 150
  : > "$JBW_E2E_LOG"
  wait_for 10 menu_opens || fail "the menu did not open after the advert"
  wait_for 3 menu_shown || fail "the menu window did not show"
  xdotool key Down Down Down Down Return
  wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Quit Program did not end the program"
}

# First start: the defaults; "5 Minutes" from the tray.
launch
expect_jbw Off 3
timer_submenu_shows Off Custom
xdotool key Down Down Return
expect_jbw 5Mins 3
wait_for 10 menu_opens || fail "the menu did not open again"
wait_for 3 menu_shown || fail "the menu window did not show"
timer_submenu_shows "5 Minutes" Custom
shot 1-five-minutes
open_configuration "On checked; selected Five Minutes; field '3'; interval 300000"
# The window's controls: "Random 3-9 Minutes", then 15 typed over the field's 3.
click_in "$config" 128 152
expect_jbw Random 3
click_in "$config" 196 178
xdotool key Home
xdotool type --delay 100 15
expect_jbw Custom 15
sleep 0.3
shot 2-custom-typed
done_and_quit

# Second start: the custom mode comes back everywhere and the file stays as it was.
launch
timer_submenu_shows "Custom: 15 Mins" "Custom: 15 Mins"
shot 3-restarted
jbw_is Custom 15 || fail "the start rewrote JBW.ini: $(od -c "$APPDIR/JBW.ini")"
open_configuration "On checked; selected Custom; field '15'; interval 900000"
# A typed 0 becomes 1 at once: custom with one minute.
click_in "$config" 196 178
xdotool key ctrl+a
xdotool type 0
expect_jbw Custom 1
click_in "$config" 200 128  # "On" off
expect_jbw Off 1
shot 4-turned-off
done_and_quit

# Third start: off, with Custom still selected for the next "On".
launch
timer_submenu_shows Off "Custom: 1 Mins"
open_configuration "On unchecked; selected Custom; field '1'; interval 0"
shot 5-off-after-restart
jbw_is Off 1 || fail "the start rewrote JBW.ini: $(od -c "$APPDIR/JBW.ini")"
done_and_quit
echo "e2e timer restart: 1 passed, 0 failed"
