#!/usr/bin/env python3
"""Records the loudspeaker's monitor and the virtual microphone at once while the board
plays clicks, then finds each click in both and reports levels and the microphone's lag.

usage: microphone-record.py SPEAKER_SOURCE MIC_SOURCE CLICKS OUTDIR -- PLAY_COMMAND...
       microphone-record.py --gaps OUTDIR SOURCE... -- PLAY_COMMAND...
         (a steady tone clip: counts the 2 ms stretches of it missing in each source)

Each recording is read from parec in small pieces, and every piece's arrival is stamped
on one clock; a sample's time is found from the earliest of the pieces that arrived
soon after it (pieces only come late), so the two recordings share a time line to a few
milliseconds, also where a recorder dropped samples under load."""
import array, math, os, select, subprocess, sys, time

RATE = 48000


def gaps():
    sep = sys.argv.index("--")
    outdir, sources = sys.argv[2], sys.argv[3:sep]
    # Straight into files: a pipe nobody reads while the clip plays would stop parec.
    files = [os.path.join(outdir, f"steady-{source}.raw") for source in sources]
    recs = [subprocess.Popen(["parec", "--raw", "--format=s16le", f"--rate={RATE}",
                              "--channels=1", "--latency-msec=5", "-d", source],
                             stdout=open(path, "wb")) for source, path in zip(sources, files)]
    time.sleep(0.5)
    subprocess.run(sys.argv[sep + 1:], check=False)
    time.sleep(3)
    for rec in recs:
        rec.terminate()
        rec.wait()
    for source, path in zip(sources, files):
        samples = array.array("h", open(path, "rb").read())
        window = RATE // 500
        levels = [math.sqrt(sum(s * s for s in samples[i:i + window]) / window) / 32768
                  for i in range(0, len(samples) - window, window)]
        loud = [i for i, level in enumerate(levels) if level > 0.2]
        if not loud:
            print(f"{source}: tone not found")
            continue
        inside = levels[loud[0]:loud[-1] + 1]
        missing = sum(1 for level in inside if level < 0.1)
        print(f"{source}: tone for {len(inside) * 2} ms, rms {sum(inside) / len(inside):.3f}; "
              f"2 ms stretches missing: {missing}")


def main():
    if sys.argv[1] == "--gaps":
        gaps()
        return
    sep = sys.argv.index("--")
    speaker, mic, clicks, outdir = sys.argv[1:5]
    play = sys.argv[sep + 1:]
    clicks = int(clicks)
    procs, data, stamps = {}, {}, {}
    for name, source in (("speaker", speaker), ("mic", mic)):
        procs[name] = subprocess.Popen(
            ["parec", "--raw", "--format=s16le", f"--rate={RATE}", "--channels=1",
             "--latency-msec=5", "-d", source], stdout=subprocess.PIPE)
        os.set_blocking(procs[name].stdout.fileno(), False)
        data[name], stamps[name] = bytearray(), []
    fds = {procs[n].stdout.fileno(): n for n in procs}

    def pump(seconds):
        end = time.monotonic() + seconds
        while (left := end - time.monotonic()) > 0:
            ready, _, _ = select.select(list(fds), [], [], left)
            now = time.monotonic()
            for fd in ready:
                chunk = os.read(fd, 65536)
                name = fds[fd]
                data[name] += chunk
                stamps[name].append((now, len(data[name]) // 2))

    pump(1.0)
    for _ in range(clicks):
        subprocess.run(play, check=False)
        pump(0.6)
    pump(0.5)
    for p in procs.values():
        p.terminate()
        p.wait()

    results = {}
    for name in procs:
        samples = array.array("h", bytes(data[name][: len(data[name]) // 2 * 2]))
        with open(os.path.join(outdir, f"{name}.raw"), "wb") as f:
            f.write(samples.tobytes())
        results[name] = (samples, stamps[name])

    def when(stamps_, i):
        # The pieces that arrived within 1 s of sound after sample i: each came late, never
        # early, and a recorder that dropped samples under load only makes the pieces
        # after the drop seem later, so the earliest of them is the truest.
        return min((t - (n - i) / RATE for t, n in stamps_ if 0 <= n - i < RATE),
                   default=math.inf)

    def onsets(samples, threshold):
        found, i, quiet = [], 0, int(0.2 * RATE)
        while i < len(samples):
            if abs(samples[i]) > threshold:
                found.append(i)
                i += quiet
            else:
                i += 1
        return found

    def rms(samples):
        return math.sqrt(sum(s * s for s in samples) / max(1, len(samples))) / 32768

    out = []
    sp, sp_stamps = results["speaker"]
    mc, mc_stamps = results["mic"]
    # The clicks peak at 0.9 of full scale, the stand-in microphone's tone at 0.3.
    s_on = onsets(sp, 0.5 * 32768)
    m_on = onsets(mc, 0.5 * 32768)
    out.append(f"clicks played {clicks}, found in speaker {len(s_on)}, in microphone {len(m_on)}")
    # The tone alone: the half second before the first click.
    if s_on:
        first = m_on[0] if m_on else 0
        quiet = mc[max(0, first - int(0.6 * RATE)):max(0, first - int(0.1 * RATE))]
        out.append(f"microphone level between clicks (stand-in tone, 440 Hz at 0.3): "
                   f"rms {rms(quiet):.3f}, peak {max((abs(s) for s in quiet), default=0) / 32768:.3f}")
        speaker_quiet = sp[max(0, s_on[0] - int(0.6 * RATE)):max(0, s_on[0] - int(0.1 * RATE))]
        out.append(f"speaker level between clicks: rms {rms(speaker_quiet):.3f}")
    peaks_s = [max(abs(s) for s in sp[i:i + 480]) / 32768 for i in s_on]
    peaks_m = [max(abs(s) for s in mc[i:i + 480]) / 32768 for i in m_on]
    if peaks_s and peaks_m:
        out.append(f"click peak: speaker {min(peaks_s):.3f}..{max(peaks_s):.3f}, "
                   f"microphone {min(peaks_m):.3f}..{max(peaks_m):.3f}")
    lags = []
    m_times = [when(mc_stamps, j) for j in m_on]
    for i in s_on:
        t = when(sp_stamps, i)
        near = [u - t for u in m_times if abs(u - t) < 0.3]
        if near:
            lags.append(min(near, key=abs) * 1000)
    if lags:
        ordered = sorted(lags)
        median = ordered[len(ordered) // 2] if len(ordered) % 2 else \
            (ordered[len(ordered) // 2 - 1] + ordered[len(ordered) // 2]) / 2
        p99 = ordered[min(len(ordered) - 1, math.ceil(0.99 * len(ordered)) - 1)]
        out.append(f"microphone minus speaker, ms, {len(lags)} clicks: median {median:.1f}, "
                   f"p99 {p99:.1f}, min {ordered[0]:.1f}, max {ordered[-1]:.1f}")
        out.append("each: " + " ".join(f"{x:.1f}" for x in lags))
    print("\n".join(out))


main()
