#!/usr/bin/env python3
"""The floor check finds each kind of breach in a core of its own making,
and the real core has none."""
import pathlib
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).parent
CHECK = HERE / "check_floor.py"

CASES = [  # (file below core/, its text, a piece of the line the check prints; None: no breach)
    ("raster/a.cpp", '#include "core/model/frame_budget.h"\n#include <vector>\n', None),
    ("raster/b.cpp", "#include <windows.h>\n", "platform header <windows.h>"),
    ("tables/c.h", "#include <WinGDI.h>\n", "platform header <WinGDI.h>"),
    ("model/d.cpp", "#include <unistd.h>\n", "platform header <unistd.h>"),
    ("format/e.cpp", '#include "movie/movie.h"\n', "not a core header"),
    ("timeline/f.cpp", '#include "../../src/window/pump.h"\n', "not a core header"),
    ("format/g.cpp", '#include "core/model/movie_model.h"\n', "format includes"),
    ("model/h.cpp", '#include "core/raster/image.h"\n', "model includes"),
    ("tables/i.cpp", '#include "core/timeline/timeline.h"\n', "tables includes"),
    ("model/CMakeLists.txt", "target_link_libraries(vxa_model PUBLIC vxa_timeline)\n", "which is not below it"),
    ("raster/CMakeLists.txt", "target_link_libraries(vxa_raster PUBLIC zured16_win32)\n", "not a core library"),
    ("raster/CMakeLists.txt", "target_link_libraries(vxa_raster PUBLIC vxa_model Freetype::Freetype)\n", None),
    ("player/j.cpp", "int x;\n", "not one of the core libraries"),
]


def run(core):
    result = subprocess.run([sys.executable, str(CHECK), str(core)], capture_output=True, text=True)
    return result.returncode, result.stdout


def main():
    failures = 0
    for relative, text, expected in CASES:
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder, "core", relative)
            path.parent.mkdir(parents=True)
            path.write_text(text)
            status, out = run(pathlib.Path(folder, "core"))
        ok = (status == 0) if expected is None else (status == 1 and expected in out)
        if not ok:
            failures += 1
            print(f"FAIL {relative}: expected {expected!r}, got status {status}:\n{out}")
    status, out = run(HERE.parents[2] / "core")
    if status != 0:
        failures += 1
        print(f"FAIL the project's core breaks the floor:\n{out}")
    print(out.strip().splitlines()[-1])
    print(f"{len(CASES) + 1 - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
