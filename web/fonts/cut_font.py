#!/usr/bin/env python3
"""Cuts a Liberation font file to the characters a movie's text can hold.

  cut_font.py --code-page core/tables/windows_1252.inc IN.ttf OUT.ttf

Texts are stored in Windows-1252, so no text can show a character outside
it: every byte 0x00..0xFF as the code page maps it (the .inc file gives
0x80..0x9F). Everything FreeType reads to measure, hint and rasterize those
glyphs stays as it was: the hinting programs (fpgm, prep, cvt, each glyph's
instructions), gasp, the metrics and their header fields (no bounds or
average width recomputed), kern, post and name; .notdef keeps its outline,
since a character the face lacks draws it. Only the OpenType layout tables
go, which FreeType does not read, and FontForge's timestamp.
"""
import argparse
import re

from fontTools import subset


def code_page_characters(inc_path):
    """The characters of the 256 bytes of the code page."""
    with open(inc_path, encoding="ascii") as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    high = [int(value, 16) for value in re.findall(r"0x[0-9A-Fa-f]+", text)]
    if len(high) != 32:
        raise SystemExit(f"cut_font: {inc_path} gives {len(high)} characters for 0x80..0x9F, not 32")
    return sorted(set(range(0x00, 0x80)) | set(high) | set(range(0xA0, 0x100)))


def cut(source, target, characters):
    options = subset.Options()
    options.drop_tables = ["GDEF", "GPOS", "GSUB", "FFTM"]
    options.layout_features = []
    options.notdef_outline = True
    options.notdef_glyph = True
    options.hinting = True
    options.legacy_kern = True
    options.glyph_names = True
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
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
    subset.save_font(font, target, options)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--code-page", required=True, help="the code page's .inc file")
    parser.add_argument("source")
    parser.add_argument("target")
    args = parser.parse_args()
    cut(args.source, args.target, code_page_characters(args.code_page))


if __name__ == "__main__":
    main()
