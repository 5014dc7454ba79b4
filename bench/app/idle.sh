#!/usr/bin/env bash
# Idle CPU over a period and resident memory after start, for the program (first start
# in an empty folder, and with the largest catalogue) and for the minimal Qt tray
# program, under one Xvfb with the trayer tray host. Prints a Markdown table.
# Usage: bench/app/idle.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-60}
settle=${IDLE_SETTLE:-15}  # past the splash, the start's clip and the device's idle close
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/lib.sh"
source "$here/catalogue.sh"
start_display
hz=$(getconf CLK_TCK)
rows=$(mktemp)
trap 'rm -f "$rows"; e2e_cleanup' EXIT

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rollup() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/smaps_rollup"; }

measure() {  # name pid
  sleep "$settle"
  local rss anon t0 t1
  rss=$(rollup "$2" Rss)
  anon=$(rollup "$2" Anonymous)
  t0=$(cpu_ticks "$2")
  sleep "$seconds"
  t1=$(cpu_ticks "$2")
  kill "$2"
  echo "$1|$(echo "100 * ($t1 - $t0) / $hz / $seconds" | bc -l)|$rss|$anon" >> "$rows"
}

for catalogue in empty large; do
  app_folder "$build" "$catalogue"
  start_app
  name="jabberwell, empty folder"
  [ "$catalogue" = empty ] || name="jabberwell, 3,010 clips"
  measure "$name" "$APP_PID"
  rm -rf "$APPDIR"
done
"$build/bench/app/bench_minimal_tray" &
E2E_PIDS+=($!)
measure "minimal Qt tray" "$!"

python3 - "$rows" "$seconds" <<'PY'
import sys
rows = [line.rstrip("\n").split("|") for line in open(sys.argv[1])]
base = float(rows[-1][2])
print(f"| Program | CPU over {sys.argv[2]} s idle | Resident | of which anonymous | file-backed | Resident / minimal's |")
print("|---|---:|---:|---:|---:|---:|")
for name, cpu, rss, anon in rows:
    rss, anon = int(rss), int(anon)
    print(f"| {name} | {float(cpu):.2f} % | {rss:,} KiB | {anon:,} KiB | {rss - anon:,} KiB | {rss / base:.2f}x |")
PY
