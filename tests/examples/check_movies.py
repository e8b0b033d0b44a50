#!/usr/bin/env python3
"""Reads every committed example movie back with `vxa dump` and checks that a
player can show it to the end and that it shows what its README promises.

  check_movies.py VXA EXAMPLES_DIR

A frame that never arrives, or a placed group that is never sent, stalls
playback for ever without any message, so such a fault is easy to miss by eye.
"""
import json
import os
import subprocess
import sys

FAULTS = []


def fault(movie, text):
    FAULTS.append("%s: %s" % (movie, text))


def load(vxa, path):
    dump = subprocess.run([vxa, "dump", path], check=True, capture_output=True, text=True)
    return json.loads(dump.stdout)


def objects_of(movie):
    for block in movie.get("blocks", []):
        for group in block.get("groups", []):
            yield from group.get("objects", [])


def frames_of(name, movie):
    """Frame number -> list of placements, with repeats resolved."""
    frames = {}
    for block in movie.get("blocks", []):
        frame = block.get("frame")
        if not frame or frame["number"] == 0:
            continue
        number = frame["number"]
        if number in frames:
            fault(name, "frame %d is sent twice" % number)
        previous = frames.get(number - 1, [])
        items = []
        for index, item in enumerate(frame.get("items", [])):
            if item == "repeat":
                if index >= len(previous):
                    fault(name, "item %d of frame %d repeats nothing" % (index, number))
                    continue
                item = previous[index]
            items.append(item)
        frames[number] = items
    return frames


def check_playable(name, movie, sounds_dir):
    header = movie["header"]
    frames = frames_of(name, movie)
    missing = sorted(set(range(1, header["frameCount"] + 1)) - set(frames))
    if missing:
        fault(name, "frames %s never arrive" % missing)
    sent = {g["id"] for block in movie.get("blocks", []) for g in block.get("groups", [])}
    for number, items in sorted(frames.items()):
        for item in items:
            if item["group"] not in sent:
                fault(name, "frame %d places group %d, which is never sent"
                      % (number, item["group"]))
                sent.add(item["group"])  # once per group is enough
    for obj in objects_of(movie):
        if obj["kind"] == "arc":
            start, sweep = obj.get("startAngle", 0), obj.get("sweep", 0)
            # Radial points are defined for angles 0..359 only; sweep 0 is a
            # whole ellipse, never a ray.
            if not (0 <= start and start + sweep <= 359 and sweep > 0):
                fault(name, "arc from %d through %d leaves 0..359" % (start, sweep))
        if obj["kind"] == "polygon" and len(obj.get("points", [])) < 3:
            fault(name, "a polygon with fewer than three points draws nothing")
    for block in movie.get("blocks", []):
        sound = block.get("frame", {}).get("sound", 0)
        if sound and not os.path.isfile(os.path.join(sounds_dir, "%d.WAV" % sound)):
            fault(name, "sound %d is named but %d.WAV is not in %s" % (sound, sound, sounds_dir))
    return frames


def check_showcase(name, movie, frames):
    header = movie["header"]
    if not header.get("loop") or header["frameCount"] <= 6:
        fault(name, "must loop back to frame 6 and have frames after it")
    kinds = {o["kind"] for o in objects_of(movie)}
    wanted = {"polygon", "line", "oval", "rect", "roundrect", "arc", "text", "comment"}
    if not wanted <= kinds:
        fault(name, "shows no %s" % sorted(wanted - kinds))
    texts = [o for o in objects_of(movie) if o["kind"] == "text"]
    fonts = {o.get("font", "") for o in texts}
    mapped = {"Courier", "Geneva", "Heltvetica", "Monaco", "New York", "Symbol", "Times"}
    if not mapped <= fonts or not fonts - mapped:
        fault(name, "fonts %s miss a mapped or an unmapped name" % sorted(fonts))
    if {o.get("justification", 0) for o in texts} != {0, 1, -1}:
        fault(name, "does not show all three justifications")
    styles = {o.get("style", 0) for o in texts}
    if not all(any(s & bit for s in styles) for bit in (1, 2, 4)):
        fault(name, "does not show bold, italic and underline")
    tiles = {o.get("fillPattern", 0) for o in objects_of(movie)} & set(range(1, 65))
    if len(tiles) < 64:
        fault(name, "fill patterns %s are not shown" % sorted(set(range(1, 65)) - tiles))
    named = {b["frame"].get("sound") for b in movie["blocks"] if "frame" in b}
    if not {1, 2, 3, 4} <= named:
        fault(name, "does not name sounds 1..4")
    scene = {(i["group"], i["x"], i["y"]) for n, items in frames.items() if n >= 6
             for i in items}
    if len(scene) <= len(frames.get(6, [])):
        fault(name, "nothing moves in the looping scene")


def check_wait_for_click(name, movie, frames):
    if not movie["header"].get("waitForClick") or movie["header"]["frameCount"] < 10:
        fault(name, "must wait for a click and have at least 10 frames")
    groups = {g["id"]: g for b in movie["blocks"] for g in b.get("groups", [])}
    words = [o.get("text") for i in frames.get(6, []) for o in groups.get(i["group"], {}).get("objects", [])
             if o["kind"] == "text"]
    if "Click to continue" not in words:
        fault(name, "frame 6 does not say \"Click to continue\" (it says %s)" % words)


def check_narrow(name, movie, frames):
    if movie["header"].get("layout") != "narrow":
        fault(name, "is not in the narrow layout")


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    vxa, examples = argv[1], argv[2]
    own_checks = {"showcase": check_showcase, "wait-for-click": check_wait_for_click,
                "narrow": check_narrow}
    for name in sorted(own_checks):
        path = os.path.join(examples, name + ".vxa")
        movie = load(vxa, path)
        frames = check_playable(name, movie, os.path.join(examples, "sounds"))
        own_checks[name](name, movie, frames)
    for line in FAULTS:
        print(line, file=sys.stderr)
    return 1 if FAULTS else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
