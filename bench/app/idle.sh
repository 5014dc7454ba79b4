#!/usr/bin/env bash
# Idle CPU over a period and resident memory after start, for the program and for a
# minimal Qt tray program, each under its own Xvfb with the trayer tray host.
# Usage: bench/app/idle.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/lib.sh"
start_display
hz=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }

measure() {  # name pid
  sleep 12  # past the splash and the advert
  local rss; rss=$(rss_kb "$2")
  local t0; t0=$(cpu_ticks "$2")
  sleep "$seconds"
  local t1; t1=$(cpu_ticks "$2")
  printf '| %s | %s | %.2f%% | %d |\n' "$1" "$seconds" \
    "$(echo "100 * ($t1 - $t0) / $hz / $seconds" | bc -l)" "$rss"
}

echo "| program | seconds idle | CPU | resident KiB after start |"
echo "|---|---|---|---|"
new_app_folder "$build/app/jabberwell"
printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
start_app
measure jabberwell "$APP_PID"
kill "$APP_PID"
"$build/bench/app/bench_minimal_tray" &
min=$!
E2E_PIDS+=($min)
measure "minimal Qt tray" "$min"
