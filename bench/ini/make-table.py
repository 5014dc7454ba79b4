#!/usr/bin/env python3
"""Turns a JSON run of bench_ini into the Markdown tables of bench/README.md.

    build/bench/ini/bench_ini --benchmark_min_time=1 \
        --benchmark_out=ini.json --benchmark_out_format=json
    bench/ini/make-table.py ini.json
"""
import json
import sys

ENGINES = ["Jbw", "Raw", "inih", "INIReader", "SimpleIni", "QSettings", "GKeyFile"]
LABELS = {
    "Jbw": "TBiggerIniFile",
    "Raw": "raw baseline (read + split with memchr)",
    "inih": "inih `ini_parse` (callback, nothing kept)",
    "INIReader": "inih `INIReader`",
    "SimpleIni": "SimpleIni `CSimpleIniA`",
    "QSettings": "QSettings (IniFormat)",
    "GKeyFile": "GKeyFile",
}
SIZES = ["0", "1", "2"]
# Each speed trick beside the plain way it replaces (bench/ini/TrickBench.cpp).
TRICKS = [
    ("SSE2 line-end count, 10 MB in memory", "BM_CountLineEnds_Sse2", "BM_CountLineEnds_Plain",
     "byte loop"),
    ("Bit-mask line split, 10 MB in memory", "BM_SplitLines_Mask", "BM_SplitLines_Memchr",
     "`memchr` per line"),
    ("Huge pages: reading the 10 MB file into fresh memory", "BM_ReadFile_HugePages",
     "BM_ReadFile_SmallPages", "4 KiB pages"),
    ("Hashed duplicate check: load of the 10 MB file", "BM_Load_Jbw/2",
     "BM_Load_Jbw_OneDuplicate", "one duplicate, so the full sort"),
    ("Word-at-a-time `HashText`, 100,000 section names", "BM_HashText_Words",
     "BM_HashText_Bytes", "byte by byte"),
]


def main(path):
    data = json.load(open(path))
    runs = {b["name"]: b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"}
    ctx = data["context"]
    print(f"Run {ctx['date']} on {ctx['num_cpus']} CPUs; times are CPU time per operation.\n")

    def rate(engine, size):
        b = runs.get(f"BM_Load_{engine}/{size}")
        return b["bytes_per_second"] / 1e6 if b else None

    print("Load throughput, MB/s (ratio: TBiggerIniFile's rate / this rate)\n")
    print("| Engine | 200 B file | 100 KB file | 10 MB file | ratio on 10 MB |")
    print("|---|---:|---:|---:|---:|")
    for e in ENGINES:
        cells = []
        for s in SIZES:
            r = rate(e, s)
            cells.append(f"{r:,.1f}" if r else "n/a")
        ours, theirs = rate("Jbw", "2"), rate(e, "2")
        ratio = f"{ours / theirs:.2f}x" if ours and theirs else "n/a"
        print(f"| {LABELS[e]} | " + " | ".join(cells) + f" | {ratio} |")

    print("\nSettings access pattern on the 200 B file: construct, three reads, destroy\n")
    print("| Engine | ns per access | ratio to raw open/read/close |")
    print("|---|---:|---:|")
    raw = runs["BM_Access_Raw"]["cpu_time"]
    for e in ENGINES:
        b = runs.get(f"BM_Access_{e}")
        if not b:
            continue
        label = "raw open, read, close" if e == "Raw" else LABELS[e]
        print(f"| {label} | {b['cpu_time']:,.0f} | {b['cpu_time'] / raw:.2f}x |")

    def ms(name):
        b = runs[name]
        return b["cpu_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]

    print("\nWhat each speed trick buys: CPU ms per operation, with it and without it\n")
    print("| Trick | with | without | the plain way | without / with |")
    print("|---|---:|---:|---|---:|")
    for label, with_it, without, plain in TRICKS:
        a, b = ms(with_it), ms(without)
        print(f"| {label} | {a:,.2f} | {b:,.2f} | {plain} | {b / a:.2f}x |")


if __name__ == "__main__":
    main(sys.argv[1])
