#!/usr/bin/env python3
"""Figures for Tolvaran on a private desktop (not a test: it reports, and asserts nothing).

- latency: from a packet's arrival to the plug-in's call. A click every 100 ms is played into the
  null sink; parec, recording the same monitor with the same 10 ms fragments, timestamps the
  arrival of each click; the recording plug-in inside Tolvaran timestamps the processReplacing
  call whose block holds it (both CLOCK_MONOTONIC).
- cpu: Tolvaran's user + system time over 10 s with the real libvarnis, one run each while a
  tone plays, in silence once the picture has settled, and with no sound server at all.

usage: measure.py --tolvaran PATH --recorder PATH --varnis PATH
"""

import argparse
import os
import statistics
import struct
import subprocess
import threading
import time

from desktop import Desktop, wait_for


def clicks(d, seconds, every=0.1):
    path = os.path.join(d.root, "clicks.raw")
    frames = int(seconds * d.rate)
    period = int(every * d.rate)
    silence = struct.pack("<ff", 0.0, 0.0)
    click = struct.pack("<ff", 0.9, 0.0)
    with open(path, "wb") as f:
        for start in range(0, frames, period):
            f.write(click + silence * (period - 1))
    return path


def measure_latency(options, seconds=20.0):
    with Desktop(options.tolvaran, options.recorder) as d:
        d.start_x()
        d.start_pulse(48000)
        process = d.start_tolvaran()
        wait_for(lambda: d.window("Caldmere"), 10)
        observer = d.spawn(["parec", "--raw", "--format=float32le", "--channels=2", "--rate=48000",
                            "--latency-msec=10", "-d", "tvnull.monitor"], stdout=subprocess.PIPE)
        arrivals = []

        def observe():
            while True:
                chunk = observer.stdout.read1(65536)
                if not chunk:
                    return
                now = time.monotonic_ns()
                values = struct.unpack("<%df" % (len(chunk) // 4), chunk[: len(chunk) // 4 * 4])
                if any(abs(v) > 0.5 for v in values[0::2]):
                    arrivals.append(now)

        thread = threading.Thread(target=observe, daemon=True)
        thread.start()
        time.sleep(1.0)
        with open(clicks(d, seconds), "rb") as stdin:
            player = d.spawn(["pacat", "--playback", "--raw", "--format=float32le", "--channels=2",
                              "--rate=48000", "--latency-msec=40"], stdin=stdin)
            player.wait(seconds + 10)
        time.sleep(0.5)
        process.terminate()
        process.wait(5)
        observer.terminate()
        thread.join(2)
        calls = [c["time_ns"] for c in d.calls() if c["kind"] == 2 and c["energy"][0] > 0.5]
        latencies = []
        for call in calls:
            before = [a for a in arrivals if a <= call and call - a < 50_000_000]
            if before:
                latencies.append((call - before[-1]) / 1e6)
        latencies.sort()
        if not latencies:
            print("latency: no clicks matched")
            return
        p99 = latencies[min(len(latencies) - 1, int(round(0.99 * (len(latencies) - 1))))]
        print("latency: %d clicks, median %.2f ms, p99 %.2f ms, min %.2f ms, max %.2f ms"
              % (len(latencies), statistics.median(latencies), p99, latencies[0], latencies[-1]))


def cpu_seconds(pid):
    """User + system time of all the process's threads, in nanoseconds of run time: finer than
    /proc's clock ticks of 10 ms, which are a tenth of a percent over 10 s."""
    total = 0
    tasks = "/proc/%d/task" % pid
    for task in os.listdir(tasks):
        try:
            with open(os.path.join(tasks, task, "schedstat")) as f:
                total += int(f.read().split()[0])
        except OSError:
            pass  # the thread ended meanwhile
    return total / 1e9


def tolvaran_cpu(options, sound, seconds=10.0, settle=3.0):
    """Tolvaran's share of one core over seconds, settle seconds after its window showed, and the
    X server's, which takes in what the editor uploads. sound: "tone", "silence" or None (no
    sound server at all)."""
    with Desktop(options.tolvaran, options.varnis) as d:
        d.start_x()
        server = d.processes[0].pid
        player = None
        if sound:
            d.start_pulse(48000)
            length = settle + seconds + 15
            player = d.play_tone(length, left=0.5, right=0.3) if sound == "tone" else d.play_silence(length)
        process = d.start_tolvaran()
        wait_for(lambda: d.window("Caldmere"), 10)
        time.sleep(settle)
        before, served, start = cpu_seconds(process.pid), cpu_seconds(server), time.monotonic()
        time.sleep(seconds)
        used, wall = cpu_seconds(process.pid) - before, time.monotonic() - start
        served = cpu_seconds(server) - served
        if player:
            player.terminate()
        process.terminate()
        process.wait(5)
        return 100 * used / wall, 100 * served / wall


def measure_cpu(options):
    # In silence the picture settles first (the correlation bar fades for about ten seconds).
    tone, toneServer = tolvaran_cpu(options, "tone")
    silence, silenceServer = tolvaran_cpu(options, "silence", settle=12.0)
    none, noneServer = tolvaran_cpu(options, None)
    print("cpu (%% of one core, run time over 10 s): tone %.2f %%, silence %.2f %%, "
          "no sound server %.2f %%; silence / no server %.2f"
          % (tone, silence, none, silence / none if none else float("inf")))
    print("X server meanwhile: tone %.2f %%, silence %.2f %%, no sound server %.2f %%"
          % (toneServer, silenceServer, noneServer))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tolvaran", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--varnis", required=True)
    options = parser.parse_args()
    measure_latency(options)
    measure_cpu(options)


if __name__ == "__main__":
    main()
