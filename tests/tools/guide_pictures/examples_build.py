#!/usr/bin/env python3
"""Every JSON source shown in the documents builds with vxa, and its stream
reads back: a person copying an example from the guide or the README gets a
movie, not an error.

    examples_build.py VXA DOCUMENT.md...
"""
import pathlib
import re
import subprocess
import sys
import tempfile


def main():
    vxa, documents = sys.argv[1], sys.argv[2:]
    faults = 0
    count = 0
    with tempfile.TemporaryDirectory() as scratch:
        for document in documents:
            text = pathlib.Path(document).read_text()
            for number, block in enumerate(re.findall(r"```json\n(.*?)```", text, re.S)):
                if '"header"' not in block:
                    continue  # a fragment, not a whole source
                count += 1
                source = pathlib.Path(scratch, f"example{count}.json")
                movie = source.with_suffix(".vxa")
                source.write_text(block)
                for command in ([vxa, "build", str(source), "-o", str(movie)], [vxa, "dump", str(movie)]):
                    run = subprocess.run(command, capture_output=True, text=True)
                    if run.returncode != 0 or run.stderr:
                        print(f"{document}: JSON example {number + 1}: {' '.join(command[1:2])}: "
                              f"status {run.returncode}: {run.stderr.strip()}")
                        faults += 1
                        break
    if count == 0:
        print("no JSON examples found")
        faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
