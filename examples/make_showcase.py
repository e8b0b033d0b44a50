#!/usr/bin/env python3
"""Writes the source of the showcase movie (showcase.json), which `vxa build`
turns into showcase.vxa.

  make_showcase.py [OUT.json]     (default: showcase.json beside this script)

Frames 1-5 are a title card over a starry curtain, with a chime. From frame 6
on the movie shows a street scene that loops back to frame 6: a sun whose
rays turn, a drifting cloud, a bobbing kite, a house with smoke, trees, a car
driving across, a billboard that pages through the fonts and the three
justifications, and a strip of all 64 fill patterns.

Only the standard library is used, and the output depends on nothing but
this file, so rebuilding it gives the committed bytes.
"""
import json
import math
import os
import sys

WIDTH, HEIGHT, RATE = 480, 320, 12
FRAME_COUNT = 48
SCENE_START = 6  # the frame a looping movie returns to

# Colour-table indices. The cube holds red slowest over these levels.
LEVELS = (255, 204, 153, 102, 51, 0)


def cube(red, green, blue):
    index = LEVELS.index(red) * 36 + LEVELS.index(green) * 6 + LEVELS.index(blue)
    assert index < 215, "black lives at index 255, not in the cube"
    return index


WHITE, YELLOW, RED, GREEN, BLUE, BLACK = 0, 5, 35, 185, 210, 255
CREAM = cube(255, 255, 204)
SKY = cube(153, 204, 255)
ORANGE = cube(255, 153, 0)
BRICK = cube(204, 51, 0)
BROWN = cube(102, 51, 0)
TAN = cube(204, 153, 102)
LEAF = cube(51, 153, 51)
LIGHT_LEAF = cube(153, 204, 102)
SLATE = cube(102, 51, 51)
ROOF_RED = cube(153, 51, 51)
GLASS = cube(204, 255, 255)
NAVY = 213
DARK_RED = 219
DARK_GREEN = 229


def grey(level):
    """Greys 245..254 run from light (238) to dark (17)."""
    return 245 + (238, 221, 187, 170, 136, 119, 85, 68, 34, 17).index(level)


MORTAR = grey(187)
ASPHALT = grey(85)
INK = grey(34)

# Pattern numbers: 255 draws nothing, 0 and 12 are solid, others are tiles.
NONE, SOLID2, SOLID1 = 255, 0, 12


# --- objects -----------------------------------------------------------------


def shape(kind, box, fill=NONE, fill1=WHITE, fill2=WHITE, line=NONE,
          line1=BLACK, line2=BLACK, width=None, **extra):
    left, top, right, bottom = box
    if width is None:
        # Without a line, a shape's fill covers the rectangle shrunk by the
        # line width, so a width of 0 lets the fill reach the edges.
        width = 0 if line == NONE else 1
    record = {"kind": kind, "left": left, "top": top, "right": right, "bottom": bottom,
              "fillColor1": fill1, "fillColor2": fill2, "lineColor1": line1,
              "lineColor2": line2, "fillPattern": fill, "linePattern": line,
              "lineWidth": width}
    record.update(extra)
    return record


def rect(box, **style):
    return shape("rect", box, **style)


def oval(box, **style):
    return shape("oval", box, **style)


def roundrect(box, corner, **style):
    return shape("roundrect", box, cornerWidth=corner[0], cornerHeight=corner[1], **style)


def line(start, end, color, width=1):
    # Pattern 0 strokes in the second line colour.
    return shape("line", (start[0], start[1], end[0], end[1]), line=SOLID2,
                 line2=color, width=width)


def polygon(points, **style):
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return shape("polygon", (min(xs), min(ys), max(xs), max(ys)),
                 points=[list(p) for p in points], **style)


def arcs(box, start, sweep, color, width):
    """An arc clockwise from start through sweep degrees. Angles must stay in
    0..359, so an arc that crosses 12 o'clock is split in two."""
    start %= 360
    pieces = [(start, sweep)]
    if start + sweep > 359:
        pieces = [(start, 359 - start), (0, start + sweep - 360)]
    return [shape("arc", box, line=SOLID1, line1=color, width=width,
                  startAngle=a, sweep=s) for a, s in pieces if s > 0]


def text(box, words, font, size, color=BLACK, style=0, justify=0, **box_style):
    """A text without a box unless box_style asks for one."""
    look = {"fill": NONE, "line": NONE, "width": 0}
    look.update(box_style)
    return shape("text", box, textColor=color, style=style, size=size,
                 justification=justify, font=font, text=words, **look)


def comment(words):
    return {"kind": "comment", "comment": words}


# --- groups ------------------------------------------------------------------

GROUPS = {}
IDS = {}


def group(name, width, height, objects):
    IDS[name] = len(IDS) + 1
    GROUPS[name] = {"id": IDS[name], "width": width, "height": height, "objects": objects}


def star_points(cx, cy, outer, inner):
    points = []
    for k in range(10):
        radius = outer if k % 2 == 0 else inner
        angle = math.radians(k * 36)
        points.append((round(cx + radius * math.sin(angle)), round(cy - radius * math.cos(angle))))
    return points


# Title card.
group("curtain", 240, 160, [
    # Pattern 2 is a sparse dot: white stars on navy. The rectangle runs two
    # pixels past the extent so that placements side by side leave no seam.
    rect((0, 0, 242, 162), fill=2, fill1=WHITE, fill2=NAVY),
])
group("card", 240, 150, [
    comment("zured16 showcase: written by examples/make_showcase.py"),
    # A patterned line on a shape is a ring of lineWidth pixels.
    rect((0, 0, 239, 149), fill=SOLID1, fill1=CREAM, line=40, line1=DARK_RED,
         line2=YELLOW, width=8),
    # Times 24 is enlarged to 30 by the player's font mapping.
    text((12, 14, 227, 54), "Tolvane", "Times", 24, color=DARK_RED, style=1, justify=1),
    line((40, 58), (199, 58), DARK_RED, width=2),
    text((12, 64, 227, 84), "what a Tolvane movie can hold", "Heltvetica", 12,
         color=INK, style=2, justify=1),
    # Diamonds at the ends of the rule, in a checkerboard fill.
    polygon([(22, 58), (30, 50), (38, 58), (30, 66)], fill=22, fill1=DARK_RED, fill2=YELLOW,
            line=SOLID2, line2=DARK_RED),
    polygon([(201, 58), (209, 50), (217, 58), (209, 66)], fill=22, fill1=DARK_RED,
            fill2=YELLOW, line=SOLID2, line2=DARK_RED),
])
group("star", 40, 40, [
    polygon(star_points(20, 20, 19, 8), fill=SOLID1, fill1=YELLOW, line=SOLID2, line2=ORANGE),
])
group("tagline", 220, 40, [
    # A carriage return breaks the line.
    text((0, 0, 219, 39), "shapes, patterns, fonts and sounds\r"
         "streamed and played as they arrive", "Geneva", 10, color=NAVY, justify=1),
])

# Sun: the rays are arcs, drawn in three phases 15 degrees apart.
RAY_PHASES = 3
for phase in range(RAY_PHASES):
    rays = []
    for k in range(8):
        rays += arcs((2, 2, 98, 98), phase * 15 + 45 * k, 14, ORANGE, 6)
        rays += arcs((12, 12, 88, 88), phase * 15 + 45 * k + 22, 10, YELLOW, 4)
    group("rays%d" % phase, 100, 100, rays)
group("sun", 56, 56, [
    oval((0, 0, 55, 55), fill=SOLID1, fill1=YELLOW, line=SOLID1, line1=ORANGE, width=3),
    oval((12, 10, 28, 24), fill=3, fill1=WHITE, fill2=YELLOW),
])
group("cloud", 90, 40, [
    oval((0, 12, 50, 39), fill=56, fill1=WHITE, fill2=grey(238)),
    oval((45, 10, 89, 39), fill=56, fill1=WHITE, fill2=grey(238)),
    oval((22, 0, 70, 34), fill=56, fill1=WHITE, fill2=grey(238)),
])
group("kite", 64, 150, [
    # The string first, so the kite covers its end.
    line((30, 48), (62, 149), INK),
    # A polygon whose line is patterned is framed along its closed outline.
    polygon([(30, 0), (50, 22), (30, 50), (10, 22)], fill=22, fill1=RED, fill2=YELLOW,
            line=13, line1=BLACK, line2=WHITE, width=2),
    # A solid line and no fill leave the outline open: the tail.
    polygon([(30, 50), (24, 60), (34, 70), (24, 80), (34, 90), (28, 100)], line=SOLID1,
            line1=BLUE, width=2),
])
group("billboard", 210, 178, [
    rect((30, 140, 42, 178), fill=SOLID1, fill1=BROWN, line=SOLID2, line2=BLACK),
    rect((168, 140, 180, 178), fill=SOLID1, fill1=BROWN, line=SOLID2, line2=BLACK),
    rect((0, 0, 209, 150), fill=SOLID1, fill1=CREAM, line=47, line1=BROWN, line2=TAN,
         width=6),
])

# The billboard's three pages: every font, each page in one justification.
# Players map the first seven names to faces of their own; "Chicago" is in no
# mapping and shows the fallback face.
FONTS = ("Courier", "Geneva", "Heltvetica", "Monaco", "New York", "Symbol", "Times",
         "Chicago")
# Short names: a line wider than the page would wrap out of its box.
STYLES = ((0, "plain"), (1, "bold"), (2, "italic"), (4, "underlined"), (3, "bold italic"),
          (5, "bold+under"), (6, "italic+under"), (7, "all three"))
PAGES = ((0, "justification 0: left"), (1, "justification 1: centred"),
         (-1, "justification -1: right"))
for number, (justify, heading) in enumerate(PAGES):
    page = [
        # A text object paints the box of its header first.
        text((0, 0, 193, 15), heading, "Heltvetica", 10, color=WHITE, style=1, justify=justify,
             fill=SOLID1, fill1=NAVY, line=SOLID2, line2=NAVY, width=0),
    ]
    for row, font in enumerate(FONTS):
        bits, name = STYLES[(row + 3 * number) % len(STYLES)]
        words = "%s, %s" % (font, name)
        if font == "Symbol":
            words = "Symbol: abgdpqWS"  # Greek letters in the Symbol face
        if justify == -1:
            # The platform clips text at its rectangle, and right-justified
            # italics would lose the overhang of their last letter: a trailing
            # no-break space keeps it inside.
            words += "\u00a0"
        top = 18 + 14 * row
        page.append(text((2, top, 191, top + 14), words, font, 10,
                         color=(INK, DARK_RED, NAVY)[row % 3], style=bits, justify=justify))
    group("page%d" % number, 194, 138, page)

group("tree", 64, 112, [
    rect((26, 60, 38, 111), fill=55, fill1=BROWN, fill2=TAN, line=SOLID2, line2=BROWN),
    oval((0, 0, 63, 72), fill=44, fill1=DARK_GREEN, fill2=LEAF, line=5, line1=DARK_GREEN,
         line2=LIGHT_LEAF, width=3),
    oval((14, 10, 40, 30), fill=19, fill1=LEAF, fill2=LIGHT_LEAF),
])
group("grass", 240, 52, [
    rect((0, 0, 242, 54), fill=19, fill1=LEAF, fill2=LIGHT_LEAF),
])
group("house", 140, 122, [
    rect((100, 14, 114, 44), fill=SOLID1, fill1=BRICK, line=SOLID2, line2=BLACK),
    # Pattern 36 is a brick bond: mortar in the first colour.
    rect((10, 50, 130, 121), fill=36, fill1=MORTAR, fill2=BRICK, line=SOLID1, line1=BLACK),
    polygon([(0, 54), (70, 2), (139, 54)], fill=54, fill1=SLATE, fill2=ROOF_RED, line=SOLID1,
            line1=BLACK, width=2),
    roundrect((58, 78, 82, 121), (12, 12), fill=55, fill1=BROWN, fill2=TAN, line=SOLID2,
              line2=BLACK, width=2),
    oval((74, 98, 79, 103), fill=SOLID1, fill1=YELLOW),
    # A frame in a patterned line with no fill: the inside is the second fill
    # colour, so the ring stays visible.
    rect((20, 64, 48, 92), fill2=GLASS, line=22, line1=BROWN, line2=WHITE, width=3),
    # Blinds: horizontal stripes inside a solid frame.
    rect((92, 64, 120, 92), fill=49, fill1=TAN, fill2=GLASS, line=SOLID1, line1=BROWN,
         width=2),
])
group("smoke0", 30, 50, [
    polygon([(15, 49), (9, 40), (19, 30), (10, 20), (20, 10), (13, 0)], line=SOLID1,
            line1=grey(136), width=3),
])
group("smoke1", 30, 50, [
    polygon([(15, 49), (21, 40), (11, 30), (20, 20), (10, 10), (17, 0)], line=SOLID1,
            line1=grey(136), width=3),
])
group("road", 240, 44, [
    rect((0, 0, 242, 44), fill=SOLID1, fill1=ASPHALT),
    line((0, 1), (241, 1), WHITE, width=2),
    line((0, 42), (241, 42), WHITE, width=2),
] + [rect((x, 20, x + 30, 24), fill=SOLID1, fill1=WHITE) for x in (15, 75, 135, 195)])


def car(phase):
    wheels = []
    for left in (12, 68):
        cx, cy = left + 10, 35
        wheels.append(oval((left, 26, left + 20, 44), fill=SOLID1, fill1=BLACK))
        wheels.append(oval((left + 5, 31, left + 15, 40), fill=SOLID1, fill1=grey(170)))
        # The spokes turn by 45 degrees between the two phases.
        for k in range(2):
            angle = math.radians(45 * phase + 90 * k)
            dx, dy = round(4 * math.cos(angle)), round(4 * math.sin(angle))
            wheels.append(line((cx - dx, cy - dy), (cx + dx, cy + dy), BLACK))
    return [
        roundrect((22, 0, 74, 20), (16, 16), fill=SOLID1, fill1=RED, line=SOLID2, line2=BLACK),
        rect((28, 4, 46, 14), fill=50, fill1=WHITE, fill2=GLASS, line=SOLID2, line2=BLACK),
        rect((50, 4, 68, 14), fill=50, fill1=WHITE, fill2=GLASS, line=SOLID2, line2=BLACK),
        roundrect((0, 14, 99, 36), (12, 12), fill=SOLID1, fill1=RED, line=SOLID2, line2=BLACK),
        oval((92, 18, 99, 25), fill=SOLID1, fill1=YELLOW),
        rect((0, 20, 4, 26), fill=SOLID1, fill1=DARK_RED),
    ] + wheels


group("car0", 100, 45, car(0))
group("car1", 100, 45, car(1))

# All 64 tiles, sixteen to a strip, each strip in its own colour pair.
SWATCH_COLOURS = ((BLUE, WHITE), (DARK_RED, CREAM), (DARK_GREEN, LIGHT_LEAF), (BLACK, YELLOW))
for strip, (first, second) in enumerate(SWATCH_COLOURS):
    group("swatches%d" % strip, 240, 19, [
        rect((15 * i, 0, 15 * i + 15, 19), fill=16 * strip + i + 1, fill1=first, fill2=second,
             line=SOLID2, line2=grey(85))
        for i in range(16)
    ])


# --- frames ------------------------------------------------------------------


def place(name, x, y):
    return {"group": IDS[name], "x": x, "y": y}


def title_items(frame):
    stars = [(96, 66), (344, 66), (344, 214), (96, 214), (220, 44)]
    items = [place("curtain", x, y) for x, y in ((0, 0), (240, 0), (0, 160), (240, 160))]
    items += [place("card", 120, 85), place("star", *stars[frame - 1])]
    if frame >= 3:
        items.append(place("tagline", 130, 188))
    return items


def scene_items(frame):
    t = frame - SCENE_START
    span = FRAME_COUNT - SCENE_START
    bob = round(8 * math.sin(2 * math.pi * 2 * t / (span + 1)))
    page = sum(frame >= first for first in PAGE_TURNS)
    return [
        place("rays%d" % (t // 2 % RAY_PHASES), 10, -5),
        place("sun", 32, 17),
        place("cloud", 96 + 3 * t, 22),
        place("kite", 128 + bob // 2, 16 + bob),
        place("billboard", 262, 12),
        place("page%d" % page, 270, 20),
        place("tree", 8, 80),
        place("grass", 0, 188),
        place("grass", 240, 188),
        place("house", 96, 70),
        place("smoke%d" % (t // 3 % 2), 189, 36),
        place("tree", 50, 86),
        place("road", 0, 238),
        place("road", 240, 238),
        place("car%d" % (t % 2), -100 + round(t * 580 / span), 229),
        place("swatches0", 0, 282),
        place("swatches1", 240, 282),
        place("swatches2", 0, 301),
        place("swatches3", 240, 301),
    ]


# The billboard turns to the centred page on frame 20 and to the right-
# justified one on frame 34.
PAGE_TURNS = (20, 34)

# Sounds: the chime under the title, then the sweep, the pop and the
# arpeggio at moments of the scene.
SOUNDS = {1: 1, 14: 2, 27: 3, 20: 4, 34: 4}


def frame_record(number, items, previous):
    # An item that equals the one at the same index of the frame before costs
    # one byte as a repeat. The scene's first frame follows the title (and the
    # last frame on a loop), so it is spelt out in full.
    written = []
    for index, item in enumerate(items):
        same = previous is not None and index < len(previous) and previous[index] == item
        written.append("repeat" if same and number != SCENE_START else item)
    record = {"number": number}
    if number in SOUNDS:
        record["sound"] = SOUNDS[number]
    record["items"] = written
    return record


def groups(*names):
    return [GROUPS[n] for n in names]


def blocks():
    """Stream order. Some groups come after the frames that first place them,
    so a player fed progressively waits for them."""
    late = {
        # block after frame 3: the tagline that frame 3 already shows
        3: groups("tagline"),
        # after frame 10: the ground, the house, the trees, the road and the car
        10: groups("tree", "grass", "house", "smoke0", "smoke1", "road", "car0", "car1"),
        # after frame 12: the pattern strip
        12: groups("swatches0", "swatches1", "swatches2", "swatches3"),
        # after frame 22: the centred page, first shown on frame 20
        22: groups("page1"),
        # after frame 34: the right-justified page, first shown on frame 34
        34: groups("page2"),
    }
    early = {
        1: groups("curtain", "card", "star"),
        SCENE_START: groups("rays0", "rays1", "rays2", "sun", "cloud", "kite", "billboard",
                            "page0"),
    }
    result = []
    previous = None
    for number in range(1, FRAME_COUNT + 1):
        items = title_items(number) if number < SCENE_START else scene_items(number)
        block = {"frame": frame_record(number, items, previous)}
        if number in early:
            block["groups"] = early[number]
        result.append(block)
        if number in late:
            result.append({"groups": late[number]})
        previous = items
    return result


def movie():
    every = set(GROUPS)
    sent = set()
    stream = blocks()
    for block in stream:
        for g in block.get("groups", []):
            sent.add(next(n for n, v in GROUPS.items() if v is g))
    assert sent == every, "groups never sent: %s" % sorted(every - sent)
    return {
        "header": {"width": WIDTH, "height": HEIGHT, "background": SKY, "frameRate": RATE,
                   "groupCount": len(GROUPS), "frameCount": FRAME_COUNT, "loop": True},
        "blocks": stream,
    }


# --- output ------------------------------------------------------------------


def dumps(value, indent=""):
    """JSON with one object record, frame or placement list per line."""
    inner = indent + "  "
    if isinstance(value, dict) and ("objects" in value or "blocks" in value or "frame" in value
                                    or "groups" in value):
        lines = ["%s%s: %s" % (inner, json.dumps(k), dumps(v, inner)) for k, v in value.items()]
        return "{\n" + ",\n".join(lines) + "\n" + indent + "}"
    if isinstance(value, list) and value and isinstance(value[0], dict) \
            and ("id" in value[0] or "frame" in value[0] or "groups" in value[0]
                 or "kind" in value[0]):
        lines = [inner + dumps(v, inner) for v in value]
        return "[\n" + ",\n".join(lines) + "\n" + indent + "]"
    return json.dumps(value, ensure_ascii=True)


def main(argv):
    if len(argv) > 2:
        sys.exit(__doc__)
    out = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                      "showcase.json")
    with open(out, "w", encoding="ascii", newline="\n") as f:
        f.write(dumps(movie()) + "\n")


if __name__ == "__main__":
    main(sys.argv)
