#!/usr/bin/env python3
"""Pacing: how far the frames a window shows stray from the schedule.

For each rate a movie of frames that each look different is built with the
vxa tool and played by vxaplay with --record, whose `frame MS N` lines say
when each new picture reached the window. The schedule: a frame is due once
the integer interval 1000 / rate has passed since the previous frame, and the
20-ms timer shows it at its first step from then on, so the gap between two
frames should be the interval rounded up to a whole number of timer periods.
The error of a frame is its gap minus that; the median and 95th percentile
of the errors' sizes are printed, one line per rate. A figure, not a test.

  pacing.py --vxa build/native/tools/vxa/vxa --vxaplay scripts/vxaplay --work DIR
"""
import argparse
import json
import math
import os
import subprocess
import sys

TIMER_PERIOD = 20
RATES = (10, 24, 50)
SECONDS = 4


def movie_source(rate, frames):
    # A 4 x 4 square stepping one pixel to the right each frame, so that
    # every frame is a new picture.
    blocks = [{"frame": {"number": 1, "items": [{"group": 1, "x": 0, "y": 0}]},
               "groups": [{"id": 1, "width": 4, "height": 4,
                           "objects": [{"kind": "rect", "right": 3, "bottom": 3,
                                        "fillColor2": 1, "lineWidth": 1}]}]}]
    for n in range(2, frames + 1):
        blocks.append({"frame": {"number": n, "items": [{"group": 1, "x": n % 60, "y": 0}]}})
    return {"header": {"width": 64, "height": 8, "frameRate": rate, "groupCount": 1,
                       "frameCount": frames},
            "blocks": blocks}


def frame_times(output):
    times = []
    for line in output.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[0] == "frame":
            times.append(int(parts[1]))
    return times


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(math.ceil(fraction * len(ordered))) - 1)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vxa", required=True)
    parser.add_argument("--vxaplay", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    for rate in RATES:
        frames = rate * SECONDS
        source = os.path.join(args.work, "pacing-%d.json" % rate)
        movie = os.path.join(args.work, "pacing-%d.vxa" % rate)
        record = os.path.join(args.work, "pacing-%d" % rate)
        with open(source, "w") as f:
            json.dump(movie_source(rate, frames), f)
        subprocess.run([args.vxa, "build", source, "-o", movie], check=True)
        run = subprocess.run([args.vxaplay, "--batch", "--record", record,
                              "--for", str(1000 * SECONDS + 1500), movie],
                             check=True, capture_output=True, text=True)
        times = frame_times(run.stdout.replace("\r", ""))
        interval = 1000 // rate
        gap = math.ceil(interval / TIMER_PERIOD) * TIMER_PERIOD
        errors = [abs(b - a - gap) for a, b in zip(times, times[1:])]
        if not errors:
            print("pacing %d fps: n/a (%d frames recorded)" % (rate, len(times)))
            continue
        print("pacing %d fps: median error %d ms, 95th percentile %d ms "
              "(%d frames; schedule: every %d ms)"
              % (rate, percentile(errors, 0.5), percentile(errors, 0.95), len(times), gap))
    return 0


if __name__ == "__main__":
    sys.exit(main())
