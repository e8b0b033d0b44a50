#!/usr/bin/env python3
"""Writes the probe movies that the renderer is compared on with the plug-in:
one movie per kind of object, each frame a fresh random scene (a fixed seed,
so every run probes the same scenes), together covering every pattern number,
pen width, arc angle, corner size, font, style and justification; and a
movie whose frames ask for more drawing than a frame may do, cut by the
drawing budget at an object somewhere inside a group.

  make_probe_movies.py OUT_DIR     writes OUT_DIR/KIND.json for every kind
"""
import json
import os
import random
import sys

WIDTH, HEIGHT = 400, 300
FRAMES = 36
RATE = 10
PLACEMENTS = 10  # groups placed per frame

FONTS = ["Courier", "Geneva", "Heltvetica", "Monaco", "New York", "Symbol", "Times", "Chicago"]
WORDS = ("the quick brown fox jumps over lazy dogs; pack my box with five dozen liquor jugs! "
         "Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich. 3.14159 (a+b) "
         "don't co-operate? well-known \u0093quotes\u0094 \u0096 dash, 100% $5 #1 x/y ").split(" ")


class Cover:
    """Hands out every value of a range before repeating any, in a shuffled order."""

    def __init__(self, rng, values):
        self.rng, self.values, self.pool = rng, list(values), []

    def next(self):
        if not self.pool:
            self.pool = self.values[:]
            self.rng.shuffle(self.pool)
        return self.pool.pop()


class Probe:
    def __init__(self, kind, seed):
        self.kind = kind
        self.rng = random.Random(seed)
        r = self.rng
        self.patterns = Cover(r, range(256))
        self.line_patterns = Cover(r, [0, 12, 255] * 8 + list(range(1, 255)))
        self.widths = Cover(r, list(range(0, 41)) * 2 + [48, 64, 100, 128, 200, 255])
        self.colors = Cover(r, range(256))
        self.angles = Cover(r, list(range(0, 360, 5)) + [-720, -360, -90, -45, -1, 359, 360, 361, 450, 720, 1000])
        self.sweeps = Cover(r, [0, 1, 5, 45, 89, 90, 91, 135, 180, 270, 359, 360, 361, 720, -30, -90, -180, -400])
        self.corners = Cover(r, range(256))
        self.fonts = Cover(r, FONTS)
        self.styles = Cover(r, range(8))
        self.sizes = Cover(r, list(range(0, 31)) + [36, 40, 48, 60, 72, 96, 255])
        self.justifications = Cover(r, [0, 1, -1, -2, 7])

    def box(self, small=False):
        r = self.rng
        limit = 80 if small else 255
        left, top = r.randint(0, limit), r.randint(0, limit)
        right, bottom = r.randint(0, 255), r.randint(0, 255)
        if r.random() < 0.85:  # mostly the right way round
            left, right = min(left, right), max(left, right)
            top, bottom = min(top, bottom), max(top, bottom)
        return {"left": left, "top": top, "right": right, "bottom": bottom}

    def style(self):
        r = self.rng
        width = self.widths.next()
        if r.random() < 0.6:
            width = min(width, r.randint(0, 12))
        return {"fillColor1": self.colors.next(), "fillColor2": self.colors.next(),
                "lineColor1": self.colors.next(), "lineColor2": self.colors.next(),
                "fillPattern": self.patterns.next(), "linePattern": self.line_patterns.next(),
                "lineWidth": width}

    def text(self):
        r = self.rng
        words = [r.choice(WORDS) for _ in range(r.randint(1, 14))]
        if r.random() < 0.3:
            words.insert(r.randint(0, len(words)), "\r")
        if r.random() < 0.15:
            words.append("Supercalifragilisticexpialidocious-ly")
        return " ".join(words).replace(" \r ", "\r")

    def object(self):
        o = {"kind": self.kind}
        o.update(self.box())
        o.update(self.style())
        r = self.rng
        if self.kind == "polygon":
            n = r.choice([0, 1, 2, 3, 3, 4, 5, 6, 8, 12, 20])
            o["points"] = [[r.randint(0, 255), r.randint(0, 255)] for _ in range(n)]
            if n >= 4 and r.random() < 0.2:  # an axis-aligned rectangle, closed or not
                x0, y0, x1, y1 = o["points"][0] + o["points"][1]
                o["points"] = [[x0, y0], [x1, y0], [x1, y1], [x0, y1]] + ([[x0, y0]] if r.random() < 0.5 else [])
        elif self.kind == "roundrect":
            o["cornerWidth"], o["cornerHeight"] = self.corners.next(), self.corners.next()
        elif self.kind == "arc":
            o["startAngle"], o["sweep"] = self.angles.next(), self.sweeps.next()
            if o["linePattern"] == 255 and r.random() < 0.8:
                o["linePattern"] = 0
        elif self.kind == "line":
            if o["linePattern"] == 255 and r.random() < 0.8:
                o["linePattern"] = 12
        elif self.kind == "text":
            o.update({"textColor": self.colors.next(), "style": self.styles.next(), "size": self.sizes.next(),
                      "justification": self.justifications.next(), "font": self.fonts.next(),
                      "text": self.text()})
            if r.random() < 0.5:  # mostly plain boxes, so that the text shows
                o.update({"fillPattern": 255, "linePattern": r.choice([255, 0]), "lineWidth": r.randint(0, 3)})
        return o

    def movie(self):
        r = self.rng
        groups_per_frame = 4
        blocks = []
        for f in range(FRAMES):
            groups = []
            for g in range(groups_per_frame):
                count = 1 if self.kind == "text" else r.randint(1, 3)
                groups.append({"id": f * groups_per_frame + g + 1, "width": 256, "height": 256,
                               "objects": [self.object() for _ in range(count)]})
            items = []
            for _ in range(PLACEMENTS):
                items.append({"group": r.choice(groups)["id"],
                              "x": r.randint(-120, WIDTH - 40), "y": r.randint(-120, HEIGHT - 40)})
            blocks.append({"frame": {"number": f + 1, "items": items}, "groups": groups})
        return {"header": {"width": WIDTH, "height": HEIGHT, "background": self.colors.next(),
                           "frameRate": RATE, "groupCount": FRAMES * groups_per_frame, "frameCount": FRAMES},
                "blocks": blocks}


KINDS = ["rect", "oval", "roundrect", "polygon", "line", "arc", "text"]


def budget_movie(seed):
    """Frame 1 within the budget; frames 2 and 3 place a group of 200 mixed
    objects 255 times, far past it; frame 3 then names a group that never
    arrives, which the cut keeps from holding the frame back."""
    rng = random.Random(seed)
    probes = [Probe(kind, seed + i) for i, kind in enumerate(KINDS)]
    groups = [{"id": g, "width": 256, "height": 256,
               "objects": [rng.choice(probes).object() for _ in range(200)]} for g in (1, 2)]

    def items(group, count):
        return [{"group": group, "x": rng.randint(-60, WIDTH - 60), "y": rng.randint(-60, HEIGHT - 60)}
                for _ in range(count)]

    blocks = [{"groups": [groups[0]]}, {"groups": [groups[1]]},
              {"frame": {"number": 1, "items": items(1, 1)}},
              {"frame": {"number": 2, "items": items(1, 255)}},
              {"frame": {"number": 3, "items": items(2, 254) + [{"group": 3, "x": 0, "y": 0}]}}]
    return {"header": {"width": WIDTH, "height": HEIGHT, "background": 43, "frameRate": 2,
                       "groupCount": 3, "frameCount": 3},
            "blocks": blocks}


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    os.makedirs(argv[1], exist_ok=True)
    for seed, kind in enumerate(KINDS):
        with open(os.path.join(argv[1], kind + ".json"), "w") as out:
            json.dump(Probe(kind, 1000 + seed).movie(), out, ensure_ascii=False)
    with open(os.path.join(argv[1], "budget.json"), "w") as out:
        json.dump(budget_movie(2000), out, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv)
