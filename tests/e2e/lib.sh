# Shared helpers of the end-to-end scripts: a private X server with a tray host, a
# temporary application folder, screenshots and waiting.
set -euo pipefail

E2E_PIDS=()
# A Wayland session of the one who runs the journeys would make the program open its
# menus as under Xwayland, where Xvfb has no window manager to give them the keyboard.
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/jbw-xdg-XXXXXX)}
e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ -n "${APPDIR:-}" ]; then rm -rf "$APPDIR"; fi
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; shot "failure" || true; exit 1; }

# wait_for SECONDS COMMAND...: retries the command every 0.2 s until it succeeds.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

# start_xvfb: a private X server, DISPLAY set to it.
start_xvfb() {
  local fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  E2E_PIDS+=($!)
  wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# start_display: a private X server with trayer as the tray host. Now and then, when
# several servers start at once, trayer cannot open a display that has just said it is
# ready, and ends at once: a fresh server is tried, once.
start_display() {
  local log; log=$(mktemp)
  local attempt
  for attempt in 1 2; do
    start_xvfb
    trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
      --transparent false --tint 0x333333 --expand true >/dev/null 2>"$log" &
    E2E_PIDS+=($!)
    if panel_up $!; then
      rm -f "$log"
      return 0
    fi
    kill -0 "${E2E_PIDS[-1]}" 2>/dev/null && break
  done
  local why; why=$(grep -v '^$' "$log" | tail -n 2)
  rm -f "$log"
  fail "trayer did not start: $why"
}

# panel_up PID: trayer's panel appeared (0) or that trayer ended, or 30 s passed (1).
panel_up() {
  local end=$((SECONDS + 30))
  while kill -0 "$1" 2>/dev/null; do
    xdotool search --classname panel >/dev/null 2>&1 && return 0
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
  return 1
}

# new_app_folder EXE: a fresh application folder holding a copy of the program and of
# its unit reader, when the build has one.
new_app_folder() {
  APPDIR=$(mktemp -d /tmp/jbw-e2e-XXXXXX)
  cp "$1" "$APPDIR/jabberwell"
  local reader
  reader=$(dirname "$1")/jbw-unit-reader
  [ ! -f "$reader" ] || cp "$reader" "$APPDIR/jbw-unit-reader"
  export JBW_REGISTRY_FILE="$APPDIR/registry.ini"
  export JBW_E2E_LOG="$APPDIR/events.log"
}

# demo_and_whistle_folder EXE SECONDS CAPTION: an application folder with the demo unit
# and one external sound, a whistle of SECONDS at 1320 Hz, the advert not due, and the
# sound device SDL's disk driver writing to $APPDIR/device.raw.
demo_and_whistle_folder() {
  new_app_folder "$1"
  cp "$(dirname "$1")/Demo.BSU" "$APPDIR/Demo.BSU" || fail "no demo unit next to the program"
  printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$APPDIR/device.raw"
  sox -n -r 44100 -c 2 -b 16 -e signed-integer "$APPDIR/whistle.wav" synth "$2" sine 1320 \
    gain -6 2>/dev/null || fail "sox failed"
  printf '[Settings]\r\nNumberOfBSUs=1\r\n\r\n[BSU-List]\r\n1=%s/Demo.BSU\r\n\r\n' "$APPDIR" \
    > "$APPDIR/BSUs.ini"
  printf '[Settings]\r\nNumberOfSounds=1\r\nLastDir=%s\r\n\r\n[Sound-List]\r\n1=%s/whistle.wav\r\n\r\n[Sound-Menu]\r\n1=%s\r\n\r\n' \
    "$APPDIR" "$APPDIR" "$3" > "$APPDIR/External.ini"
}

start_app() {
  (cd "$APPDIR" && exec ./jabberwell) &
  APP_PID=$!
  E2E_PIDS+=($APP_PID)
}

SHOT_DIR=${SHOT_DIR:-/tmp}
shot() {
  mkdir -p "$SHOT_DIR"
  import -window root "$SHOT_DIR/$1.png" 2>/dev/null
}

tray_icon() { xdotool search --classname jabberwell 2>/dev/null | while read -r w; do
    # The tray icon is the small embedded window; forms and menus are larger.
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -le 64 ] && [ "$HEIGHT" -le 64 ]; then echo "$w"; fi
  done | head -n1; }

has_icon() { [ -n "$(tray_icon)" ]; }

right_click_icon() {
  local icon; icon=$(tray_icon)
  [ -n "$icon" ] || fail "no tray icon"
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
}

logged() { grep -q -- "$1" "$JBW_E2E_LOG" 2>/dev/null; }

# shown_window REGEX: the id of a mapped window whose whole title matches.
shown_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
is_shown() { [ -n "$(shown_window "$1")" ]; }
is_gone() { [ -z "$(shown_window "$1")" ]; }
# wait_shown / wait_gone TITLE: a window appears or leaves within 5 s.
wait_shown() { wait_for 5 is_shown "$1" || fail "no window '$1'"; sleep 0.2; }
wait_gone() { wait_for 5 is_gone "$1" || fail "window '$1' stayed"; }
# wait_closed TITLE: a dialog or message box is destroyed, not only hidden, within 10 s.
# Hidden, its call may not have returned yet, and a click sent then is now and then lost
# on a loaded machine; destroyed, the call has returned and the window under it takes
# clicks again.
is_closed() { [ -z "$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)" ]; }
wait_closed() { wait_for 10 is_closed "$1" || fail "window '$1' stayed"; }

# place_of REGEX: sets WX WY to the top-left corner of that shown window.
place_of() {
  local w; w=$(shown_window "$1")
  [ -n "$w" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$w")"
  WX=$X WY=$Y
}

# click_in REGEX X Y [COUNT]: a left click (COUNT 2: a double-click) at X,Y of that
# window's client area.
# One xdotool call finds the window and clicks: each call costs on a busy machine.
click_in() {
  xdotool search --onlyvisible --limit 1 --name "^$1\$" mousemove --window %1 "$2" "$3" \
    click --repeat "${4:-1}" --delay 80 1 2>/dev/null || fail "no window '$1' to click in"
  sleep 0.2
}

# window_shot REGEX NAME: a screenshot of that window alone.
window_shot() {
  mkdir -p "$SHOT_DIR"
  import -window "$(shown_window "$1")" "$SHOT_DIR/$2.png" 2>/dev/null
}

# menu_opens: right-clicks the icon and succeeds once the menu logged its opening. The
# icon's place is kept between calls (looking it up is slow) and sought again on a miss.
popups_logged() { cat "$JBW_E2E_LOG" 2>/dev/null | grep -c "popup opened" || true; }
MENU_ICON_AT=
menu_opens() {
  local before; before=$(popups_logged)
  if [ -z "$MENU_ICON_AT" ]; then
    local icon; icon=$(tray_icon)
    [ -n "$icon" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    MENU_ICON_AT="$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
  fi
  xdotool mousemove $MENU_ICON_AT click 3
  sleep 0.5
  [ "$(popups_logged)" -gt "$before" ] && return 0
  MENU_ICON_AT=
  return 1
}

# ini_value FILE SECTION KEY: the value stored there (CRLF lines), empty if missing.
ini_value() {
  awk -v s="[$2]" -v k="$3" '{ sub(/\r$/, "") }
    /^\[/ { in_s = (tolower($0) == tolower(s)); next }
    in_s && index($0, "=") { split($0, kv, "="); if (tolower(kv[1]) == tolower(k)) {
      print substr($0, length(kv[1]) + 2); exit } }' "$1"
}

# menu_shown: every menu opening logged so far has its window on the screen, so keys
# sent now reach the menu.
menu_shown() {
  [ "$(grep -c "menu shown: (top)" "$JBW_E2E_LOG" 2>/dev/null || true)" -ge "$(popups_logged)" ]
}

# A journey on a StatusNotifierItem host runs on a session bus of its own, made before
# anything starts: the host's settings service is started by that bus and takes its
# settings folder from the bus's environment. Call first thing: in_own_session_bus "$@".
in_own_session_bus() {
  [ -n "${JBW_OWN_BUS:-}" ] && return 0
  export XDG_CONFIG_HOME; XDG_CONFIG_HOME=$(mktemp -d /tmp/jbw-sni-config-XXXXXX)
  write_panel_config "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"
  local rc=0
  JBW_OWN_BUS=1 dbus-run-session -- "$0" "$@" 2> >(grep -v -e "fd limit" -e "^dbus-daemon\[" >&2) || rc=$?
  rm -rf "$XDG_CONFIG_HOME"
  exit $rc
}

# One panel across the top of the screen holding only the notification area, whose
# first icon is then at the panel's left end.
write_panel_config() {
  mkdir -p "$(dirname "$1")"
  cat > "$1" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
}

# start_sni_display: a private X server with xfce4-panel's notification area, which
# shows StatusNotifierItems and draws their menus itself.
start_sni_display() {
  start_xvfb
  NO_AT_BRIDGE=1 GTK_A11Y=none xfce4-panel --disable-wm-check >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_for 15 watcher_up || fail "xfce4-panel's watcher did not start"
}

watcher_up() {
  gdbus introspect --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher
}

# The items the host's watcher holds, as it lists them.
watched_items() {
  gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
    -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null
}
item_watched() { watched_items | grep -q StatusNotifierItem-; }

# exported_menu: the whole menu the program gives the host, as gdbus prints it.
exported_menu() {
  local service; service=$(watched_items | grep -o "org.kde.StatusNotifierItem-[0-9-]*" | head -n1)
  [ -n "$service" ] || return 1
  gdbus call --session -d "$service" -o /MenuBar -m com.canonical.dbusmenu.GetLayout -- 0 -1 '[]'
}
exported_has() { exported_menu | grep -q -- "$1"; }

# The height of the menu window xfce4-panel shows, 0 with none.
host_menu_height() {
  local w
  for w in $(xdotool search --onlyvisible --classname wrapper 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q POPUP_MENU || continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$HEIGHT"
    return
  done
  echo 0
}

# host_menu: a right-click on our icon, the first in the panel; the host draws the menu.
# The pointer rests on the icon first: a click that arrives with the move reaches the
# panel itself, which then shows its own menu.
host_menu() {
  xdotool mousemove 10 15
  sleep 0.3
  xdotool click 3
  sleep 0.8
}
