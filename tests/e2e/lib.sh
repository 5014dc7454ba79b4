# Shared helpers of the end-to-end scripts: a private X server with a tray host, a
# temporary application folder, screenshots and waiting.
set -euo pipefail

E2E_PIDS=()
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/jbw-xdg-XXXXXX)}
e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [ -n "${APPDIR:-}" ] && rm -rf "$APPDIR"
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

start_display() {
  local fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  E2E_PIDS+=($!)
  wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
    --transparent false --tint 0x333333 --expand true >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 xdotool search --classname panel || fail "trayer did not start"
}

# new_app_folder EXE: a fresh application folder holding a copy of the program.
new_app_folder() {
  APPDIR=$(mktemp -d /tmp/jbw-e2e-XXXXXX)
  cp "$1" "$APPDIR/jabberwell"
  export JBW_REGISTRY_FILE="$APPDIR/registry.ini"
  export JBW_E2E_LOG="$APPDIR/events.log"
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
