#!/usr/bin/env python3
"""Checks the modules as built, with a real PE reader, against what a browser
and a user's machine see of them: machine type, exports, version resource,
cursors, the pattern sheet, imports of system DLLs only, and that the module
ships stripped with its debug information in a file beside it that its
.gnu_debuglink names.

  check_module.py build/i686/zured16.dll build/x86_64/zured16.dll
"""
import os
import struct
import sys
import zlib

import pefile

HERE = os.path.dirname(os.path.abspath(__file__))
# The tiles as they must look, drawn as text art apart from the product's list.
TILE_ART = os.path.join(HERE, "..", "graphics", "pattern_tiles_art.inc")

MACHINES = {"i686": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"],
            "x86_64": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]}
EXPORTS = [("NP_GetEntryPoints", 1), ("NP_Initialize", 2), ("NP_Shutdown", 3)]
STRINGS = {
    "MIMEType": "video/vxa",
    "FileExtents": "vxa",
    "FileOpenName": "Tolvane Animation (*.vxa)",
    "FileDescription": "Tolvane Plugin file for Netscape Navigator",
    "InternalName": "Netscape's Tolvane Plugin",
    "ProductName": "Netscape's Tolvane Plugin",
    "OriginalFilename": "zured16.DLL",
    "FileVersion": "1.5.0.0",
    "ProductVersion": "1.5.0.0.us",
}
CURSORS = {103: (8, 16), 104: (1, 17), 109: (7, 23), 110: (7, 23)}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "advapi32.dll", "msvcrt.dll"}
RT_CURSOR, RT_BITMAP, RT_GROUP_CURSOR = 1, 2, 12


class Checker:
    def __init__(self, path):
        self.path = path
        self.failures = []

    def expect(self, condition, what):
        if not condition:
            self.failures.append(what)

    def run(self, arch):
        pe = pefile.PE(self.path)
        self.expect(pe.FILE_HEADER.Machine == MACHINES[arch],
                    "machine 0x%x, not %s" % (pe.FILE_HEADER.Machine, arch))
        if arch == "i686":
            self.expect(pe.OPTIONAL_HEADER.Magic == 0x10B, "not PE32")
        self.check_exports(pe)
        self.check_imports(pe)
        self.check_version(pe)
        resources = self.resources(pe)
        self.check_cursors(pe, resources)
        self.check_patterns(pe, resources)
        self.check_debug_split(pe)
        return self.failures

    def check_exports(self, pe):
        exports = pe.DIRECTORY_ENTRY_EXPORT
        self.expect(exports.name == b"ZURED16.dll", "export directory name %r" % exports.name)
        found = [((s.name or b"").decode(), s.ordinal) for s in exports.symbols]
        self.expect(sorted(found) == sorted(EXPORTS), "exports %r" % found)

    def check_imports(self, pe):
        for entry in pe.DIRECTORY_ENTRY_IMPORT:
            name = entry.dll.decode().lower()
            self.expect(name in SYSTEM_DLLS, "imports %s, which is not a system DLL" % name)

    def check_version(self, pe):
        fixed = pe.VS_FIXEDFILEINFO[0]
        self.expect((fixed.FileVersionMS, fixed.FileVersionLS) == (0x00010000, 0x00050000),
                    "fixed file version %x.%x" % (fixed.FileVersionMS, fixed.FileVersionLS))
        self.expect((fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x00010000, 0x00050000),
                    "fixed product version")
        self.expect(fixed.FileType == 2, "file type %d, not a dynamic library" % fixed.FileType)
        tables = {}
        for info in pe.FileInfo[0]:
            for table in getattr(info, "StringTable", []):
                tables[table.LangID.decode().upper()] = {
                    k.decode(): v.decode() for k, v in table.entries.items()}
        self.expect("040904E4" in tables, "no string table 040904E4 (found %s)" % list(tables))
        strings = tables.get("040904E4", {})
        self.expect(strings == STRINGS, "version strings %r" % strings)

    @staticmethod
    def resources(pe):
        found = {}
        for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
            for name in kind.directory.entries:
                for language in name.directory.entries:
                    data = language.data.struct
                    found[(kind.id, name.id)] = pe.get_data(data.OffsetToData, data.Size)
        return found

    def check_cursors(self, pe, resources):
        for group_id, hotspot in CURSORS.items():
            group = resources.get((RT_GROUP_CURSOR, group_id))
            self.expect(group is not None, "no cursor %d" % group_id)
            if group is None:
                continue
            _, kind, count = struct.unpack_from("<HHH", group)
            self.expect(kind == 2 and count == 1, "cursor %d: %d images of kind %d" % (group_id, count, kind))
            width, height, _, bits, _, image_id = struct.unpack_from("<HHHHIH", group, 6)
            self.expect((width, height, bits) == (32, 64, 1),
                        "cursor %d: %dx%d, %d bit" % (group_id, width, height // 2, bits))
            image = resources.get((RT_CURSOR, image_id), b"")
            x, y = struct.unpack_from("<HH", image)
            self.expect((x, y) == hotspot, "cursor %d: hot spot %d,%d, not %d,%d" % ((group_id, x, y) + hotspot))
            size, w, h, _, bpp = struct.unpack_from("<IiiHH", image, 4)
            self.expect((w, h, bpp) == (32, 64, 1), "cursor %d image %dx%d %d bit" % (group_id, w, h, bpp))

    def check_patterns(self, pe, resources):
        bitmap = resources.get((RT_BITMAP, 107))
        self.expect(bitmap is not None, "no bitmap 107")
        if bitmap is None:
            return
        size, width, height, _, bits = struct.unpack_from("<IiiHH", bitmap)
        self.expect((width, height, bits) == (64, 64, 1), "bitmap 107 is %dx%d, %d bit" % (width, height, bits))
        colours = struct.unpack_from("<8B", bitmap, size)
        self.expect(colours[0:3] == (255, 255, 255) and colours[4:7] == (0, 0, 0),
                    "bitmap 107 colours: entry 0 must be white, entry 1 black")
        pixels = bitmap[size + 8:]
        tiles = read_tiles()
        for t, rows in enumerate(tiles):
            for r, expected in enumerate(rows):
                y = 8 * (t // 8) + r
                stored_row = 63 - y if height > 0 else y
                actual = pixels[stored_row * 8 + (t % 8)]
                if actual != expected:
                    self.failures.append("bitmap 107: tile %d row %d is %02X, not %02X" % (t + 1, r, actual, expected))
                    return


    def check_debug_split(self, pe):
        names = section_names(pe)
        debug = [name for name in names if name.startswith(".debug")]
        self.expect(not debug, "debug sections left in the module: %s" % debug)
        self.expect(pe.FILE_HEADER.NumberOfSymbols == 0,
                    "%d symbols left in the module" % pe.FILE_HEADER.NumberOfSymbols)
        link = names.get(".gnu_debuglink")
        self.expect(link is not None, "no .gnu_debuglink section")
        if link is None:
            return
        data = link.get_data()
        name = data[:data.index(b"\0")].decode()
        crc_offset = (len(name) + 1 + 3) // 4 * 4
        (crc,) = struct.unpack_from("<I", data, crc_offset)
        expected = os.path.basename(self.path) + ".debug"
        self.expect(name == expected, ".gnu_debuglink names %r, not %r" % (name, expected))
        debug_path = os.path.join(os.path.dirname(self.path), name)
        if not os.path.exists(debug_path):
            self.failures.append("%s is missing" % debug_path)
            return
        with open(debug_path, "rb") as f:
            content = f.read()
        self.expect(zlib.crc32(content) == crc, "%s does not match the module's checksum" % debug_path)
        self.expect(".debug_info" in section_names(pefile.PE(data=content)), "%s has no .debug_info" % debug_path)


def section_names(pe):
    """Sections by name. Names longer than eight characters are stored as
    "/offset" into the COFF string table, which follows the symbols."""
    strings = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    data = pe.__data__
    found = {}
    for section in pe.sections:
        name = section.Name.rstrip(b"\0")
        if name.startswith(b"/") and strings:
            start = strings + int(name[1:])
            name = data[start:data.find(b"\0", start)]
        found[name.decode()] = section
    return found


def read_tiles():
    """The 64 tiles of the art, pattern 1 first, as row bytes."""
    text = open(TILE_ART).read()
    art = text[text.index('R"tiles(') + 8:text.index(')tiles"')]
    tiles, band, row = {}, [], 8
    for line in art.splitlines():
        words = line.split()
        if not words:
            continue
        if words[0].isdigit():
            assert row == 8, "a band of the tile art ends early"
            band, row = [int(w) for w in words], 0
            continue
        assert row < 8 and len(words) == len(band), "tile art row outside a band: %r" % line
        for number, bits in zip(band, words):
            assert len(bits) == 8 and set(bits) <= set("#."), "tile art: %r" % bits
            tiles.setdefault(number, []).append(int(bits.replace("#", "1").replace(".", "0"), 2))
        row += 1
    assert sorted(tiles) == list(range(1, 65)) and all(len(t) == 8 for t in tiles.values()), \
        "the tile art does not hold 64 tiles of 8 rows"
    return [tiles[n] for n in range(1, 65)]


def main(paths):
    status = 0
    for path in paths:
        arch = "i686" if "i686" in path else "x86_64"
        if not os.path.exists(path):
            print("FAIL %s: missing" % path)
            status = 1
            continue
        failures = Checker(path).run(arch)
        for failure in failures:
            print("FAIL %s: %s" % (path, failure))
        if not failures:
            print("ok   %s (%s)" % (path, arch))
        status |= bool(failures)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
