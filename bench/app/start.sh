#!/usr/bin/env bash
# Time from process start to the tray icon docked in the tray host, for the program with
# the largest catalogue and for the minimal Qt tray program, under one Xvfb with trayer.
# Runs alternate between the two so that both see the same machine load; one warm-up
# run of each is left out. Prints a Markdown table.
# Usage: bench/app/start.sh BUILD_DIR [RUNS] [large|demo]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-10}
catalogue=${3:-large}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/lib.sh"
source "$here/catalogue.sh"
probe=$build/bench/app/bench_start_to_icon
minimal=$build/bench/app/bench_minimal_tray
[ -x "$probe" ] && [ -x "$minimal" ] || fail "build bench_start_to_icon and bench_minimal_tray"
start_display
app_folder "$build" "$catalogue"
results=$(mktemp)
trap 'rm -f "$results"; e2e_cleanup' EXIT

for i in $(seq 0 "$runs"); do
  m=$("$probe" "$minimal") || fail "the minimal program showed no icon"
  j=$(cd "$APPDIR" && "$probe" ./jabberwell 2>/dev/null) || fail "the program showed no icon"
  [ "$i" -eq 0 ] || echo "$m $j" >> "$results"
done

python3 - "$results" "$runs" "$catalogue" <<'PY'
import statistics, sys
rows = [tuple(map(float, line.split())) for line in open(sys.argv[1])]
minimal, program = [r[0] for r in rows], [r[1] for r in rows]
base = statistics.median(minimal)
print("| Program | Runs | Median | Fastest | Slowest | Median / minimal's |")
print("|---|---:|---:|---:|---:|---:|")
label = "jabberwell, the demo unit" if sys.argv[3] == "demo" else "jabberwell, 3,010 clips"
for name, v in ((label, program), ("minimal Qt tray", minimal)):
    med = statistics.median(v)
    print(f"| {name} | {len(v)} | {med:.0f} ms | {min(v):.0f} ms | {max(v):.0f} ms | {med / base:.2f}x |")
PY
