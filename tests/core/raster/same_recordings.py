#!/usr/bin/env python3
"""Checks that two builds of the module show the same pictures: compares the
frames two agreement.py runs recorded (DIR/NAME/plugin-frames.json, one per
build) picture for picture.

  same_recordings.py FIRST_WORK SECOND_WORK

Every movie recorded in the first run must be in the second, and every frame
both runs saw must have the very same pixels in both, outside the rows where
Wine paints from memory it never set (a movie that loops may show a frame in
one run that the other's recording ended before). Prints one
line per movie, with the differing pixels of each frame that differs, and
exits 1 when one does.
"""
import json
import os
import sys

from PIL import Image, ImageChops

from agreement import settled_only


def frames_of(work, name):
    path = os.path.join(work, name, "plugin-frames.json")
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return {int(n): shown for n, shown in json.load(f).items()}


def differing(first, second):
    a = Image.open(first["picture"]).convert("RGB")
    b = Image.open(second["picture"]).convert("RGB")
    if a.size != b.size:
        return "size %dx%d against %dx%d" % (a.size + b.size)
    unsettled = first["unsettled"] + second["unsettled"]
    mask = ImageChops.difference(settled_only(a, unsettled), settled_only(b, unsettled))
    mask = mask.convert("L").point(lambda v: 255 if v else 0)
    return "%d pixels differ within %s" % (mask.histogram()[255], mask.getbbox())


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip())
        return 2
    first, second = sys.argv[1:]
    names = sorted(n for n in os.listdir(first) if frames_of(first, n) is not None)
    failed = 0
    for name in names:
        a, b = frames_of(first, name), frames_of(second, name)
        if b is None:
            print("FAIL %-14s not recorded in %s" % (name, second))
            failed += 1
            continue
        both = sorted(set(a) & set(b))
        different = [n for n in both if a[n]["settled"] != b[n]["settled"]]
        if not both or different:
            failed += 1
            print("FAIL %-14s %d of %d frames differ" % (name, len(different), len(both)))
            for n in different[:10]:
                print("     frame %d: %s (%s, %s)" % (n, differing(a[n], b[n]), a[n]["picture"], b[n]["picture"]))
        else:
            print("%-14s %3d frames identical" % (name, len(both)))
    print("%d passed, %d failed" % (len(names) - failed, failed))
    return 1 if failed or not names else 0


if __name__ == "__main__":
    sys.exit(main())
