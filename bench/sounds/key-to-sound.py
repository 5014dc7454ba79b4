#!/usr/bin/env python3
"""key-to-sound.py OUT_FOLDER: click-to-sound figures from a run of the PipeWire trial
(../shared/trials/pipewire/trial.sh): for each clip chosen with Return, the time from the
trial's mark before it sent the key, and from the key's arrival in the program (the probe's
"menu key: Return at" lines), to the clip's first sample reaching the recording's file.
Prints one Markdown row per kind of click: with the device open, after the idle close."""
import array, statistics, sys, wave

out = sys.argv[1]
w = wave.open(f"{out}/rec.wav")
rate, ch = w.getframerate(), w.getnchannels()
data = array.array("h", w.readframes(w.getnframes()))
loud = [max(abs(data[i * ch + c]) for c in range(ch)) >= 64 for i in range(len(data) // ch)]
starts, quiet = [], rate  # a sound starts after 50 ms of silence
for i, v in enumerate(loud):
    if v and quiet >= rate // 20:
        starts.append(i)
    quiet = 0 if v else quiet + 1
header = open(f"{out}/rec.wav", "rb").read(4096).find(b"data") + 8
sizes = [tuple(map(float, line.split())) for line in open(f"{out}/sizes.log")]


def reached(frame):  # wall time the frame was first seen in the file
    end = header + (frame + 1) * ch * 2
    return next((t for t, s in sizes if s >= end), None)


sounds = [t for t in map(reached, starts) if t]
marks = [(float(t), n.strip()) for t, n in (l.split(None, 1) for l in open(f"{out}/events.txt"))]
marks = [(t, n) for t, n in marks if n.startswith("click-")]
keys = [float(l.rsplit(" ", 1)[1]) for l in open(f"{out}/app-events.log")
        if l.startswith("menu key: Return at ")]
rows = {}
for t, name in marks:
    key = next((k for k in keys if k >= t), None)
    sound = next((s for s in sounds if s >= t), None)
    if key is None or sound is None or sound < key:
        continue
    kind = "device open" if "open-device" in name else "after the idle close"
    rows.setdefault(kind, []).append((1000 * (sound - t), 1000 * (sound - key)))
print("| Clicks | Count | From the trial's mark: median, slowest | From the key's arrival: median, slowest |")
print("|---|---:|---:|---:|")
for kind, v in rows.items():
    a, b = [x[0] for x in v], [x[1] for x in v]
    print(f"| {kind} | {len(v)} | {statistics.median(a):.0f} ms, {max(a):.0f} ms "
          f"| {statistics.median(b):.0f} ms, {max(b):.0f} ms |")
