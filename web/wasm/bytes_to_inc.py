#!/usr/bin/env python3
"""Writes a file's bytes as a C initializer list, to #include into an array.

  bytes_to_inc.py IN OUT.inc
"""
import sys

with open(sys.argv[1], "rb") as f:
    data = f.read()
lines = [",".join(str(byte) for byte in data[i:i + 32]) for i in range(0, len(data), 32)]
with open(sys.argv[2], "w", encoding="ascii") as f:
    f.write(",\n".join(lines) + "\n")
