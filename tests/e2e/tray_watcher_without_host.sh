#!/usr/bin/env bash
# A StatusNotifierWatcher without a host (kded's watcher under an XEmbed-only panel) shows
# no item: the icon docks into trayer and its menu opens there. Once a host registers
# with the watcher the icon moves to it; when the watcher leaves, it comes back to trayer.
here=$(cd "$(dirname "$0")" && pwd)
SHOT_DIR=${2:-/tmp/jbw-e2e}/tray_watcher_without_host
source "$here/lib.sh"
in_own_session_bus "$@"

[ -x "${JBW_STAND_IN_WATCHER:-}" ] || fail "JBW_STAND_IN_WATCHER names no program"
start_display
"$JBW_STAND_IN_WATCHER" &
watcher=$!
E2E_PIDS+=($watcher)
wait_for 10 watcher_up || fail "the stand-in watcher did not start"
new_app_folder "$1"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
start_app

wait_for 15 has_icon || fail "no icon in trayer beside a watcher without a host"
item_watched && fail "the item went to a watcher without a host: $(watched_items)"
# The splash keeps it shut for its first 5 s.
wait_for 20 menu_opens || fail "the menu did not open from trayer"
shot 1-trayer-menu
xdotool key Escape

gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
  -m org.kde.StatusNotifierWatcher.RegisterStatusNotifierHost org.jabberwell.E2eHost >/dev/null ||
  fail "the host could not register"
wait_for 10 item_watched || fail "the icon did not go to the watcher once it had a host"
no_icon() { ! has_icon; }
wait_for 10 no_icon || fail "the icon stayed in trayer beside a host"

kill "$watcher"
wait_for 15 has_icon || fail "the icon did not come back to trayer when the watcher left"
MENU_ICON_AT=
wait_for 10 menu_opens || fail "the menu did not open from trayer again"
shot 2-back-in-trayer
xdotool key Escape
echo "e2e watcher without a host: 1 passed, 0 failed"
