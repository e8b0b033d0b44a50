#!/usr/bin/env python3
"""Compares the portable renderer with the plug-in: every movie is played once
through the real module under Wine (vxaplay --record keeps every picture the
window shows) and rendered frame by frame by the renderer (render_frames),
and each recorded picture is compared with its frame.

  agreement.py --vxa VXA --render RENDER_FRAMES --vxaplay VXAPLAY --work DIR
               [--kind NAME=MOVIE.vxa[@CLICK_MS,...] ...] [--probes] [--budget]
               [--text-unchecked NAME ...]

VXAPLAY is a command and may carry options ("scripts/vxaplay --i686"). Which
recorded picture showed each frame is kept in DIR/NAME/plugin-frames.json
(frame number: SHA-1 of the picture's pixels), for same_recordings.py to
compare two builds' runs.

--probes also builds the probe movies (one per kind of object) with
make_probe_movies.py and compares them; --budget adds its movie whose frames
pass the drawing budget, for a plug-in that cuts frames by it. Prints one
line per movie and exits 1 when a frame falls short:

- shapes: the share of pixels that are identical, leaving out the text's ink
  (with a pixel around it) and the rows where the plug-in under Wine paints
  from memory it never set (render_frames lists them); at least 99.5 % of
  every frame's pixels;
- text: ink is what the texts add to the frame drawn without them, in the
  rows a text may ink. An ink pixel of either picture counts as placed when
  the other picture has ink within one pixel of it; at least 99 % of all ink
  pixels of every frame.

A picture that matches no frame (the empty window before frame 1) is left
out while no frame has been matched yet; after that every picture must match.

--text-unchecked NAME reports that movie's text figure without holding it to
the bar: for a Wine whose DrawTextA wraps lines elsewhere (Wine 10 does not
break after a hyphen, where the renderer follows Wine 8, whose script breaker
does). Its shapes are still held to theirs.
"""
import argparse
import hashlib
import json
import os
import shlex
import subprocess
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
SHAPE_BAR = 99.5
TEXT_BAR = 99.0


def load(path):
    return Image.open(path).convert("RGB")


def digest(image):
    return hashlib.sha1(image.tobytes()).hexdigest()


def mask_of_differences(a, b):
    """White where the two pictures differ."""
    return ImageChops.difference(a, b).convert("L").point(lambda v: 255 if v else 0)


def count(mask):
    return mask.histogram()[255]


def header_of(vxa, movie):
    out = subprocess.run([vxa, "dump", movie], check=True, capture_output=True, text=True).stdout
    header = json.loads(out)["header"]
    return header.get("frameRate", 0), header.get("frameCount", 0), bool(header.get("loop", False))


def render(render_frames, movie, out, no_text=False):
    os.makedirs(out, exist_ok=True)
    args = [render_frames] + (["--no-text"] if no_text else []) + [movie, out]
    subprocess.run(args, check=True)
    frames = {}
    for name in sorted(os.listdir(out)):
        if name.endswith(".png"):
            frames[int(name[:-4])] = os.path.join(out, name)
    bands = {"unsettled": {}, "text": {}}
    for line in open(os.path.join(out, "bands.txt")):
        kind, n, top, bottom = line.split()
        bands[kind].setdefault(int(n), []).append((int(top), int(bottom)))
    return frames, bands


def record(vxaplay, movie, out, rate, frames, clicks):
    os.makedirs(out, exist_ok=True)
    for name in os.listdir(out):
        os.remove(os.path.join(out, name))
    # Every frame shown once, with room for a slow machine, after the last
    # click (a hold for a click only ends with it).
    period = 1000 // max(rate, 1)
    run_for = max(clicks, default=0) + 2000 + frames * max(period, 20) * 15 // 10
    command = shlex.split(vxaplay) + ["--record", out, "--for", str(run_for), "--batch"]
    for click in clicks:
        command += ["--click", str(click)]
    subprocess.run(command + [movie], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return [os.path.join(out, n) for n in sorted(os.listdir(out)) if n.endswith(".png")]


class Figures:
    def __init__(self):
        self.frames = 0
        self.exact = 0
        self.shape = []
        self.text = []
        self.unsettled = 0
        self.failures = []


def band_mask(size, bands):
    """White over the rows of the bands."""
    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    for top, bottom in bands:
        if bottom > top:
            draw.rectangle([0, top, size[0] - 1, bottom - 1], fill=255)
    return mask


def settled_only(picture, unsettled):
    """The picture with the rows Wine paints from unset memory blacked out:
    what two runs of the module must agree on."""
    black = Image.new("RGB", picture.size)
    return Image.composite(black, picture, band_mask(picture.size, unsettled))


def compare_frame(wine, mine, bare, unsettled, text_rows, figures, label, text_checked):
    width, height = mine.size
    settled = ImageChops.invert(band_mask(mine.size, unsettled))
    figures.unsettled += width * height - count(settled)
    # Ink: what the texts add, in the rows texts may ink, where Wine's
    # picture is settled.
    where_text = ImageChops.darker(band_mask(mine.size, text_rows), settled)
    ink_mine = ImageChops.darker(mask_of_differences(mine, bare), where_text)
    ink_wine = ImageChops.darker(mask_of_differences(wine, bare), where_text)
    # Shapes: everything settled and away from either picture's ink.
    compared_area = ImageChops.darker(settled,
                                      ImageChops.invert(ImageChops.lighter(ink_mine, ink_wine).filter(ImageFilter.MaxFilter(3))))
    compared = count(compared_area)
    differing = count(ImageChops.darker(mask_of_differences(wine, mine), compared_area))
    shape = 100.0 if compared == 0 else 100.0 * (compared - differing) / compared
    figures.shape.append(shape)
    if shape < SHAPE_BAR:
        figures.failures.append("%s: shapes %.3f %% identical" % (label, shape))
    # Text: ink placed within a pixel of the other picture's ink.
    ink_total = count(ink_mine) + count(ink_wine)
    if ink_total:
        placed = count(ImageChops.darker(ink_wine, ink_mine.filter(ImageFilter.MaxFilter(3)))) + \
            count(ImageChops.darker(ink_mine, ink_wine.filter(ImageFilter.MaxFilter(3))))
        text = 100.0 * placed / ink_total
        figures.text.append(text)
        if text < TEXT_BAR and text_checked:
            figures.failures.append("%s: text ink %.2f %% placed" % (label, text))


def compare_movie(args, name, movie, clicks):
    rate, frame_count, loops = header_of(args.vxa, movie)
    work = os.path.join(args.work, name)
    mine, bands = render(args.render, movie, os.path.join(work, "renderer"))
    bare, _ = render(args.render, movie, os.path.join(work, "renderer-no-text"), no_text=True)
    pictures = record(args.vxaplay, movie, os.path.join(work, "plugin"), rate, frame_count, clicks)

    by_digest = {}
    for n in sorted(mine):
        by_digest.setdefault(digest(load(mine[n])), n)
    figures = Figures()
    shown = {}
    seen = set()
    expected = min(mine) if mine else 0
    for path in pictures:
        wine = load(path)
        n = by_digest.get(digest(wine))
        if n is None:
            # The nearest frame at or after the one expected next.
            best = None
            for candidate in sorted(mine):
                if candidate < expected - 1 or candidate > expected + 3:
                    continue
                frame = load(mine[candidate])
                if frame.size != wine.size:
                    continue
                differing = count(mask_of_differences(wine, frame))
                if best is None or differing < best[0]:
                    best = (differing, candidate)
            if best is None or best[0] > wine.size[0] * wine.size[1] // 2:
                if seen:
                    figures.failures.append("%s: picture %s matches no frame" % (name, os.path.basename(path)))
                continue
            n = best[1]
        if n in seen:
            continue  # a looping movie shows its frames again
        seen.add(n)
        expected = n + 1
        figures.frames += 1
        unsettled = bands["unsettled"].get(n, [])
        shown[n] = {"settled": digest(settled_only(wine, unsettled)), "picture": path, "unsettled": unsettled}
        frame = load(mine[n])
        if digest(frame) == digest(wine):
            figures.exact += 1
        compare_frame(wine, frame, load(bare[n]), bands["unsettled"].get(n, []), bands["text"].get(n, []), figures,
                      "%s frame %d" % (name, n), name not in args.text_unchecked)
    with open(os.path.join(work, "plugin-frames.json"), "w") as f:
        json.dump(shown, f, indent=0, sort_keys=True)
    if not loops:
        missing = sorted(set(mine) - seen)
        if missing:
            figures.failures.append("%s: frames never shown by the plug-in: %s" % (name, missing[:10]))
    return figures


def summary(name, f):
    if not f.frames:
        return "%-14s no frames compared" % name
    text = ("text %6.2f %% min, %6.2f %% mean" % (min(f.text), sum(f.text) / len(f.text))) if f.text else "no text"
    return "%-14s %3d frames, %3d identical; shapes %7.3f %% min, %7.3f %% mean; %s; unsettled rows %d px" % (
        name, f.frames, f.exact, min(f.shape), sum(f.shape) / len(f.shape), text, f.unsettled)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vxa", required=True)
    parser.add_argument("--render", required=True)
    parser.add_argument("--vxaplay", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--kind", action="append", default=[],
                        help="NAME=MOVIE.vxa[@CLICK_MS,...]: clicks end a wait-for-click hold")
    parser.add_argument("--probes", action="store_true")
    parser.add_argument("--budget", action="store_true")
    parser.add_argument("--text-unchecked", action="append", default=[], metavar="NAME")
    args = parser.parse_args()

    movies = []
    for kind in args.kind:
        name, rest = kind.split("=", 1)
        movie, _, clicks = rest.partition("@")
        movies.append((name, movie, [int(c) for c in clicks.split(",") if c]))
    if args.probes:
        sources = os.path.join(args.work, "probes")
        subprocess.run([sys.executable, os.path.join(HERE, "make_probe_movies.py"), sources], check=True)
        for source in sorted(os.listdir(sources)):
            if source == "budget.json" and not args.budget:
                continue
            if source.endswith(".json"):
                movie = os.path.join(sources, source[:-5] + ".vxa")
                subprocess.run([args.vxa, "build", os.path.join(sources, source), "-o", movie], check=True)
                movies.append((source[:-5], movie, []))

    failures = []
    failed_movies = 0
    for name, movie, clicks in movies:
        figures = compare_movie(args, name, movie, clicks)
        print(summary(name, figures), flush=True)
        failures += figures.failures
        failed_movies += 1 if figures.failures else 0
    for failure in failures:
        print("FAIL " + failure)
    print("%d passed, %d failed" % (len(movies) - failed_movies, failed_movies))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
