#!/usr/bin/env python3
"""Makes the module's binary resources from their text sources.

  make_resources.py patterns TILES.inc OUT.bmp
      the 64 x 64 monochrome pattern sheet (bitmap 107) from the tile list
  make_resources.py cursor ART.txt OUT.cur
      a 32 x 32 monochrome cursor from its drawing
  make_resources.py css-cursors OUT.js ART.txt...
      the same cursors for the web player: a script constant CURSORS that maps
      each resource number to a CSS cursor value (PNG image and hot spot)
  make_resources.py cpp-cursors OUT.inc ART.txt...
      the same cursors for the desktop player: C++ rows of resource number,
      hot spot and the 32 rows of the drawing ('#' black, '.' white)
"""
import base64
import io
import os
import re
import struct
import sys


def read_tiles(path):
    tiles = []
    for line in open(path):
        m = re.match(r"\s*\{([^}]*)\}", line)
        if m:
            tiles.append([int(v, 16) for v in m.group(1).split(",")])
    if len(tiles) != 64 or any(len(t) != 8 for t in tiles):
        sys.exit("%s: expected 64 tiles of 8 rows" % path)
    return tiles


def pattern_sheet(tiles):
    """Tile t at (8 * (t mod 8), 8 * (t div 8)); colour 0 white, 1 black."""
    rows = []
    for y in range(64):
        row = bytearray(8)
        for column in range(8):
            row[column] = tiles[(y // 8) * 8 + column][y % 8]
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))  # bottom-up
    colours = struct.pack("<4B4B", 255, 255, 255, 0, 0, 0, 0, 0)
    info = struct.pack("<IiiHHIIiiII", 40, 64, 64, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colours + pixels


def read_cursor(path):
    hotspot, art = None, []
    for line in open(path):
        line = line.rstrip("\n")
        if line.startswith("hotspot"):
            hotspot = tuple(int(v) for v in line.split()[1:3])
        elif line.startswith("|"):
            art.append(line[1:-1])
    if hotspot is None or len(art) != 32 or any(len(r) != 32 for r in art):
        sys.exit("%s: expected a hot spot and 32 rows of 32 pixels" % path)
    return hotspot, art


def cursor_file(hotspot, art):
    """Monochrome cursor: AND 1 XOR 0 transparent, AND 0 XOR 0 black, AND 0 XOR 1 white."""
    def mask(pick):
        rows = []
        for row in art:
            bits = 0
            for ch in row:
                bits = (bits << 1) | pick(ch)
            rows.append(struct.pack(">I", bits))
        return b"".join(reversed(rows))

    xor = mask(lambda ch: 1 if ch == "." else 0)
    and_ = mask(lambda ch: 1 if ch == " " else 0)
    colours = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 2)
    image = info + colours + xor + and_
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def css_cursors(paths):
    """A browser shows the cursor images it is given and no .cur of this
    kind, so each drawing becomes a PNG with a transparent background."""
    from PIL import Image

    colours = {"#": (0, 0, 0, 255), ".": (255, 255, 255, 255), " ": (0, 0, 0, 0)}
    lines = ["// Made by tools/resources/make_resources.py from src/plugin/resources/*.txt.",
             "const CURSORS = {"]
    for path in paths:
        number = int(re.search(r"-(\d+)\.txt$", path).group(1))
        hotspot, art = read_cursor(path)
        image = Image.new("RGBA", (32, 32))
        image.putdata([colours[ch] for row in art for ch in row])
        png = io.BytesIO()
        image.save(png, "PNG", optimize=True)
        fallback = "wait" if os.path.basename(path).startswith("wait") else "default"
        lines.append('  %d: "url(data:image/png;base64,%s) %d %d, %s",' % (
            number, base64.b64encode(png.getvalue()).decode(), hotspot[0], hotspot[1], fallback))
    lines.append("};")
    return ("\n".join(lines) + "\n").encode()


def cpp_cursors(paths):
    lines = ["// Made by tools/resources/make_resources.py from src/plugin/resources/*.txt."]
    for path in paths:
        number = int(re.search(r"-(\d+)\.txt$", path).group(1))
        hotspot, art = read_cursor(path)
        rows = ", ".join('"%s"' % row for row in art)
        lines.append("{%d, %d, %d, {%s}}," % (number, hotspot[0], hotspot[1], rows))
    return ("\n".join(lines) + "\n").encode()


def main(argv):
    makers = {"css-cursors": css_cursors, "cpp-cursors": cpp_cursors}
    if len(argv) >= 4 and argv[1] in makers:
        data = makers[argv[1]](argv[3:])
        with open(argv[2], "wb") as out:
            out.write(data)
        return
    if len(argv) != 4 or argv[1] not in ("patterns", "cursor"):
        sys.exit(__doc__)
    if argv[1] == "patterns":
        data = pattern_sheet(read_tiles(argv[2]))
    else:
        data = cursor_file(*read_cursor(argv[2]))
    with open(argv[3], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv)
