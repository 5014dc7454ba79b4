#!/usr/bin/env python3
"""Turns JSON runs of bench_sounds and bench_catalogue into the Markdown tables of
bench/README.md.

    build/bench/sounds/bench_sounds --benchmark_out=sounds.json --benchmark_out_format=json
    build/bench/sounds/bench_catalogue --benchmark_out=catalogue.json \
        --benchmark_out_format=json
    bench/sounds/make-table.py sounds.json catalogue.json
"""
import json
import sys

CLIPS = {
    "BM_ResourceClipLatency/": "Unit resource (0.2 s, 16 kHz mono, converted)",
    "BM_ExternalFileLatency/": "External file (1 s, 44.1 kHz stereo)",
    "BM_ResourceClipAfterClose/": "Unit resource, the device closed (as after a quiet spell)",
    "BM_BigFileLatency/1/44100/": "External file, 1 MB (44.1 kHz stereo)",
    "BM_BigFileLatency/10/44100/": "External file, 10 MB (44.1 kHz stereo)",
    "BM_BigFileLatency/100/44100/": "External file, 100 MB (44.1 kHz stereo)",
    "BM_BigFileLatency/100/22050/": "External file, 100 MB (22.05 kHz stereo, converted)",
}


def aggregates(runs, base):
    return {b["aggregate_name"]: b for b in runs
            if b.get("run_type") == "aggregate" and b["run_name"].startswith(base)}


def latency(data):
    runs = data["benchmarks"]
    print("| Clip | Median | 99th percentile | `call_ms` mean | `call_ms` p99 | Device period"
          " | Driver |")
    print("|---|---|---|---|---|---|---|")
    for base, label in CLIPS.items():
        agg = aggregates(runs, base)
        if "median" not in agg:
            print(f"| {label} | n/a | n/a | n/a | n/a | n/a | |")
            continue
        med, p99, mean = agg["median"], agg.get("p99", {}), agg.get("mean", agg["median"])
        print(f"| {label} | {med['real_time']:.1f} ms | {p99.get('real_time', 0):.1f} ms"
              f" | {mean.get('call_ms', 0):.2f} ms | {p99.get('call_ms', 0):.2f} ms"
              f" | {mean.get('period_ms', 0):.1f} ms | {med.get('label', '')} |")


def buffers(data):
    runs = data["benchmarks"]
    soaks = {b["run_name"].split("/")[1]: b for b in runs
             if b["run_name"].startswith("BM_BufferSoak/")}
    print("| Frames per callback | Period | Median | 99th percentile | p99 + period"
          " | Underruns in a 20 s play |")
    print("|---:|---:|---:|---:|---:|---:|")
    for frames in ("256", "512", "1024"):
        agg = aggregates(runs, f"BM_BufferLatency/{frames}/")
        soak = soaks.get(frames, {})
        if "median" not in agg:
            print(f"| {frames} | n/a | n/a | n/a | n/a | n/a |")
            continue
        period = agg["mean"].get("period_ms", 0)
        p99 = agg.get("p99", {}).get("real_time", 0)
        print(f"| {frames} | {period:.1f} ms | {agg['median']['real_time']:.1f} ms | {p99:.1f} ms"
              f" | {p99 + period:.1f} ms | {int(soak.get('underruns', -1))} |")


def whole(data):
    runs = [b for b in data["benchmarks"] if b["run_name"].startswith("BM_WholeBigFile/")]
    print("| File | Streamed whole in | Anonymous memory over idle (peak) |")
    print("|---|---:|---:|")
    for b in runs:
        rate = b["run_name"].split("/")[1]
        print(f"| 100 MB, {int(rate) / 1000:g} kHz stereo | {b['real_time'] / 1000:.1f} s"
              f" | {b.get('anon_over_idle_kib', 0):,.0f} KiB |")


def compressed(data):
    whole_runs = {b["label"]: b for b in data["benchmarks"]
                  if b["run_name"].startswith("BM_WholeCompressedFile/")}
    stops = {b["label"]: b for b in data["benchmarks"]
             if b["run_name"].startswith("BM_StopDuringCompressedFile/")}
    print("| File | Decoded and streamed whole | Anonymous memory over idle (peak) | A stop 0.3 s in |")
    print("|---|---:|---:|---:|")
    for label, b in whole_runs.items():
        stop = stops.get(label)
        stop_text = f"{stop['real_time']:.0f} µs" if stop else "n/a"
        print(f"| {label} | {b['real_time'] / 1000:.1f} s ({b.get('times_real_time', 0):.0f}x real time)"
              f" | {b.get('anon_over_idle_kib', 0):,.0f} KiB | {stop_text} |")


def catalogue(data):
    runs = [b for b in data["benchmarks"]
            if b["run_name"].split("/")[0] == "BM_ReadSettings" and b.get("run_type") == "iteration"]
    print("| Entries | Runs | CPU time | Wall time |")
    print("|---|---:|---|---|")
    if not runs:
        print("| n/a | 0 | n/a | n/a |")
        return
    cpu = sorted(b["cpu_time"] for b in runs)
    wall = sorted(b["real_time"] for b in runs)
    entries = int(runs[0].get("entries", 0))
    print(f"| {entries:,} | {len(runs)} | {cpu[0]:.1f} to {cpu[-1]:.1f} ms"
          f" (median {cpu[len(cpu) // 2]:.1f}) | {wall[0]:.1f} to {wall[-1]:.1f} ms"
          f" (median {wall[len(wall) // 2]:.1f}) |")


def packed(data):
    runs = data["benchmarks"]

    def first(base):
        # The median over repetitions when there are some, else the one run.
        mine = [b for b in runs if b["run_name"].split("/repeats")[0].split("/iterations")[0] == base]
        medians = [b for b in mine if b.get("aggregate_name") == "median"]
        pick = (medians or mine or [None])[0]
        return f"{pick['real_time']:.2f} ms" if pick else "n/a"

    print("| Packed unit (one clip) | Time |")
    print("|---|---:|")
    print(f"| Load and release, 1 MB | {first('BM_PackedUnitLoad/1')} |")
    print(f"| Load and release, 100 MB | {first('BM_PackedUnitLoad/100')} |")
    print(f"| `ReadSettings` with three 100 MB units (median of 10) |"
          f" {first('BM_ReadSettingsBigUnits')} |")
    print(f"| Play from a 100 MB unit: load to first sample (median of 50) |"
          f" {first('BM_PackedUnitPlay')} |")


def main(paths):
    for path in paths:
        data = json.load(open(path))
        names = " ".join(b["name"] for b in data["benchmarks"])
        if "BM_ReadSettings" in names:
            catalogue(data)
            if "BM_PackedUnitLoad" in names:
                print()
                packed(data)
        else:
            latency(data)
            if "BM_BufferLatency" in names:
                print()
                buffers(data)
            if "BM_WholeBigFile" in names:
                print()
                whole(data)
            if "BM_WholeCompressedFile" in names:
                print()
                compressed(data)
        print()


if __name__ == "__main__":
    main(sys.argv[1:])
