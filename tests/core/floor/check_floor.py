#!/usr/bin/env python3
"""The floor the front ends stand on: the portable core under core/.

Two rules, checked over every file of core/:
- no platform header (Windows, or a POSIX one the other platforms lack) and
  no header from src/, tools/ or web/: a quoted include names core/LIB/...;
- a library uses only the libraries below it, in its includes and in the
  libraries its CMakeLists.txt links.

Exit status 1, with one line per breach, when a rule is broken.
"""
import pathlib
import re
import sys

# What each library may use besides itself.
ALLOWED = {
    "format": set(),
    "tables": {"format"},
    "model": {"format"},
    "timeline": {"format", "tables", "model"},
    "raster": {"format", "tables", "model"},
}
# The CMake target each library builds.
TARGETS = {"vxa_format": "format", "vxa_tables": "tables", "vxa_model": "model",
           "vxa_timeline": "timeline", "vxa_raster_core": "raster", "vxa_raster": "raster"}
# Libraries from outside the project a core library may link.
THIRD_PARTY = {"Freetype::Freetype"}

PLATFORM_HEADER = re.compile(
    r"^(windows|win\w*|mmsystem|mmreg|commctrl|commdlg|shellapi|shlobj|objbase|ole2|"
    r"tchar|direct|io|process|conio|unistd|pthread|dlfcn|fcntl|sys/.*|emscripten.*)\.h$", re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
LINK = re.compile(r"target_link_libraries\s*\(\s*(\S+)([^)]*)\)", re.S)


def include_breaches(lib, relative, text):
    for number, line in enumerate(text.splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        kind, name = match.groups()
        where = f"{relative}:{number}"
        if kind == "<":
            if PLATFORM_HEADER.match(name):
                yield f"{where}: includes the platform header <{name}>"
            continue
        parts = name.split("/")
        if parts[0] != "core" or len(parts) < 3:
            yield f'{where}: includes "{name}", which is not a core header'
        elif parts[1] != lib and parts[1] not in ALLOWED.get(lib, set()):
            yield f'{where}: {lib} includes "{name}" from {parts[1]}, which is not below it'


def link_breaches(lib, relative, text):
    for match in LINK.finditer(text):
        for name in match.group(2).split():
            if name in ("PUBLIC", "PRIVATE", "INTERFACE") or name in THIRD_PARTY:
                continue
            used = TARGETS.get(name)
            if used is None:
                yield f"{relative}: {match.group(1)} links {name}, which is not a core library"
            elif used != lib and used not in ALLOWED.get(lib, set()):
                yield f"{relative}: {match.group(1)} links {name} from {used}, which is not below it"


def breaches(core):
    for path in sorted(core.rglob("*")):
        if not path.is_file():
            continue
        relative = path.relative_to(core.parent)
        parts = path.relative_to(core).parts
        if len(parts) < 2:
            continue  # core/CMakeLists.txt only lists the libraries
        lib = parts[0]
        if lib not in ALLOWED:
            yield f"{relative}: core/{lib} is not one of the core libraries {sorted(ALLOWED)}"
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        if path.name == "CMakeLists.txt":
            yield from link_breaches(lib, relative, text)
        else:
            yield from include_breaches(lib, relative, text)


def main():
    core = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "core").resolve()
    found = list(breaches(core))
    for line in found:
        print(line)
    files = sum(1 for p in core.rglob("*") if p.is_file())
    print(f"core floor: {files} files, {len(found)} breaches")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
