#!/usr/bin/env python3
"""Cuts a Liberation font file to the characters a movie's text can hold.

  cut_font.py --code-page core/tables/windows_1252.inc --parts web/fonts/font_parts.inc
              IN.ttf OUT_DIR [--ttf OUT.ttf]

Texts are stored in Windows-1252, so no text can show a character outside
it: every byte 0x00..0xFF as the code page maps it (the .inc file gives
0x80..0x9F). Everything FreeType reads to measure, hint and rasterize those
glyphs stays as it was: the hinting programs (fpgm, prep, cvt, each glyph's
instructions), gasp, the metrics and their header fields (no bounds or
average width recomputed) and the underline fields of post; .notdef keeps
its outline, since a character the face lacks draws it. What goes is what
the renderer never asks FreeType for: the OpenType layout tables, kern (text
is laid out without kerning), the glyph names, the name table's duplicate
Macintosh records (the Windows ones keep the copyright and licence), and
FontForge's timestamp.

The glyphs are then ordered by the part of the file whose text bytes they
draw (font_parts.inc), the glyph table last, so that each part is one run
of bytes: OUT_DIR/<face>.<n>.fontpart holds part n, compressed, after a
header of four big-endian 32-bit words: the file's length, where the run
starts, its length before compression, and the other parts its characters
need glyphs from (bit n for part n). Part 0 runs from the start of the
file through its own glyphs. A file put together from part 0 and the parts
a text needs draws that text as the whole file does.
"""
import argparse
import codecs
import io
import os
import re
import struct
import zlib

from fontTools import subset
from fontTools.ttLib import TTFont

MAX_PARTS = 32  # the dependency mask's bits


def code_page(inc_path):
    """The character of each of the 256 bytes of the code page."""
    with open(inc_path, encoding="ascii") as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    high = [int(value, 16) for value in re.findall(r"0x[0-9A-Fa-f]+", text)]
    if len(high) != 32:
        raise SystemExit(f"cut_font: {inc_path} gives {len(high)} characters for 0x80..0x9F, not 32")
    return list(range(0x80)) + high + list(range(0xA0, 0x100))


def part_of_bytes(inc_path):
    """The part of the file each text byte's glyph is in."""
    with open(inc_path, encoding="ascii") as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', text)
    parts = [0] * 256
    for number, string in enumerate(strings):
        for byte in codecs.decode(string, "unicode_escape").encode("latin-1"):
            if parts[byte]:
                raise SystemExit(f"cut_font: {inc_path} lists byte 0x{byte:02X} twice")
            parts[byte] = number
    if not 0 < len(strings) <= MAX_PARTS:
        raise SystemExit(f"cut_font: {inc_path} lists {len(strings)} parts, not 1 to {MAX_PARTS}")
    return parts, len(strings)


def cut(source, characters):
    options = subset.Options()
    options.drop_tables = ["GDEF", "GPOS", "GSUB", "FFTM", "kern"]
    options.layout_features = []
    options.notdef_outline = True
    options.notdef_glyph = True
    options.hinting = True
    options.legacy_kern = False
    options.glyph_names = False
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = False
    options.recalc_bounds = False
    options.recalc_timestamp = False
    options.recalc_average_width = False
    options.recalc_max_context = False
    options.prune_unicode_ranges = False
    options.canonical_order = False
    font = subset.load_font(source, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=characters)
    subsetter.subset(font)
    data = io.BytesIO()
    subset.save_font(font, data, options)
    return TTFont(io.BytesIO(data.getvalue()))


def components(glyf, name):
    glyph = glyf[name]
    return glyph.getComponentNames(glyf) if glyph.isComposite() else []


def order_by_part(font, characters, part_of_byte, count):
    """Renumbers the glyphs part by part; gives where each part's glyphs
    start and the parts each part needs besides: those its composite glyphs
    take components from, and those holding a glyph its characters share
    with an earlier part's."""
    cmap = font.getBestCmap()
    glyf = font["glyf"]
    old_order = font.getGlyphOrder()
    part_of = {old_order[0]: 0}  # .notdef stays glyph 0
    for part in range(count):
        for byte in range(256):
            name = cmap.get(characters[byte])
            if part_of_byte[byte] == part and name and name not in part_of:
                part_of[name] = part

    # A component no character maps goes with the first glyph made of it.
    def place(name, part):
        for component in components(glyf, name):
            if component not in part_of:
                part_of[component] = part
                place(component, part)

    for name in list(part_of):
        place(name, part_of[name])
    for name in old_order:
        part_of.setdefault(name, 0)
    order = sorted(old_order, key=lambda name: (part_of[name], old_order.index(name)))

    depends = [0] * count
    for byte in range(256):  # a glyph two parts' characters share
        name = cmap.get(characters[byte])
        if name and part_of[name] != part_of_byte[byte]:
            depends[part_of_byte[byte]] |= 1 << part_of[name]
    for name in order:
        stack = list(components(glyf, name))
        while stack:
            component = stack.pop()
            if part_of[component] != part_of[name]:
                depends[part_of[name]] |= 1 << part_of[component]
            stack.extend(components(glyf, component))
    for part in range(count):
        depends[part] &= ~1  # part 0 always comes
    starts = [sum(1 for name in order if part_of[name] < part) for part in range(count + 1)]

    for tag in font.keys():
        font[tag]  # every table read in the old numbering before it changes
    font.setGlyphOrder(order)
    glyf.glyphOrder = order
    return starts, depends


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF


def sfnt_with_glyphs_last(font):
    """The font's file with the glyph table stored last; and where that is."""
    data = io.BytesIO()
    font.save(data, reorderTables=False)
    compiled = TTFont(io.BytesIO(data.getvalue()))
    tables = {tag: compiled.reader[tag] for tag in compiled.reader.keys()}
    tables["head"] = tables["head"][:8] + b"\0\0\0\0" + tables["head"][12:]
    count = len(tables)
    power = 1 << (count.bit_length() - 1)
    header = struct.pack(">IHHHH", 0x00010000, count, power * 16, power.bit_length() - 1, count * 16 - power * 16)
    offset = len(header) + 16 * count
    stored = sorted(tables, key=lambda tag: tag == "glyf")
    offsets = {}
    for tag in stored:
        offsets[tag] = offset
        offset += len(tables[tag]) + (-len(tables[tag]) % 4)
    directory = b"".join(
        struct.pack(">4sIII", tag.encode("latin-1"), checksum(tables[tag]), offsets[tag], len(tables[tag]))
        for tag in sorted(tables))
    body = b"".join(tables[tag] + b"\0" * (-len(tables[tag]) % 4) for tag in stored)
    whole = bytearray(header + directory + body)
    adjustment = (0xB1B0AFBA - checksum(bytes(whole))) & 0xFFFFFFFF
    whole[offsets["head"] + 8:offsets["head"] + 12] = struct.pack(">I", adjustment)
    return bytes(whole), offsets["glyf"]


def write_parts(source, out_dir, characters, part_of_byte, count, ttf_path=None):
    font = cut(source, sorted(set(characters)))
    starts, depends = order_by_part(font, characters, part_of_byte, count)
    whole, glyf_offset = sfnt_with_glyphs_last(font)
    glyphs = list(TTFont(io.BytesIO(whole))["loca"].locations)
    if glyf_offset + glyphs[-1] > len(whole):
        raise SystemExit(f"cut_font: {source}: the glyph table is not where it was laid out")
    stem = os.path.splitext(os.path.basename(source))[0]
    os.makedirs(out_dir, exist_ok=True)
    for part in range(count):
        begin = 0 if part == 0 else glyf_offset + glyphs[starts[part]]
        end = len(whole) if part == count - 1 else glyf_offset + glyphs[starts[part + 1]]
        run = whole[begin:end]
        with open(os.path.join(out_dir, f"{stem}.{part}.fontpart"), "wb") as f:
            f.write(struct.pack(">4I", len(whole), begin, len(run), depends[part]))
            f.write(zlib.compress(run, 9))
    if ttf_path:
        with open(ttf_path, "wb") as f:
            f.write(whole)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--code-page", required=True, help="the code page's .inc file")
    parser.add_argument("--parts", required=True, help="the parts' .inc file")
    parser.add_argument("--ttf", help="also write the whole cut file here")
    parser.add_argument("source")
    parser.add_argument("out_dir")
    args = parser.parse_args()
    part_of_byte, count = part_of_bytes(args.parts)
    write_parts(args.source, args.out_dir, code_page(args.code_page), part_of_byte, count, args.ttf)


if __name__ == "__main__":
    main()
