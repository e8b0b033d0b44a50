#!/usr/bin/env python3
"""Lays the pictures a recorded run produced (NNNNN-MS.png) out on one sheet,
each with the time at which it appeared.

  contact_sheet.py RECORD_DIR OUT.png [--columns N] [--title TEXT]
"""
import argparse
import os
import re
import sys

from PIL import Image, ImageDraw, ImageFont

NAME = re.compile(r"^(\d{5})-(\d+)\.png$")


def pictures(folder):
    found = []
    for name in os.listdir(folder):
        m = NAME.match(name)
        if m:
            found.append((int(m.group(1)), int(m.group(2)), os.path.join(folder, name)))
    return sorted(found)


def label_font():
    for path in ("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                 "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"):
        if os.path.exists(path):
            return ImageFont.truetype(path, 13)
    return ImageFont.load_default()


def make_sheet(shots, columns, title, max_shots):
    if len(shots) > max_shots:  # keep the first and an even spread of the rest
        step = (len(shots) - 1) / (max_shots - 1)
        shots = [shots[round(i * step)] for i in range(max_shots)]
    images = [Image.open(path).convert("RGB") for _, _, path in shots]
    width = max(i.width for i in images)
    height = max(i.height for i in images)
    scale = min(1.0, 240 / width)
    cell_w, cell_h = int(width * scale), int(height * scale)
    label_h, pad, title_h = 18, 8, 28
    rows = (len(images) + columns - 1) // columns
    sheet = Image.new("RGB", (pad + columns * (cell_w + pad),
                              title_h + pad + rows * (cell_h + label_h + pad)), (40, 40, 44))
    draw = ImageDraw.Draw(sheet)
    font = label_font()
    draw.text((pad, 6), title, fill=(235, 235, 235), font=font)
    for k, ((number, ms, _), image) in enumerate(zip(shots, images)):
        x = pad + (k % columns) * (cell_w + pad)
        y = title_h + pad + (k // columns) * (cell_h + label_h + pad)
        sheet.paste(image.resize((int(image.width * scale), int(image.height * scale))), (x, y))
        draw.text((x, y + cell_h + 2), "#%d  %.2f s" % (number, ms / 1000.0), fill=(220, 220, 220), font=font)
    return sheet


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("out")
    parser.add_argument("--columns", type=int, default=6)
    parser.add_argument("--max", type=int, default=48, help="most pictures on the sheet")
    parser.add_argument("--title", default="")
    args = parser.parse_args()
    shots = pictures(args.folder)
    if not shots:
        sys.exit("contact_sheet: no recorded pictures in %s" % args.folder)
    title = args.title or "%s: %d pictures" % (os.path.basename(os.path.normpath(args.folder)), len(shots))
    make_sheet(shots, args.columns, title, args.max).save(args.out)


if __name__ == "__main__":
    main()
