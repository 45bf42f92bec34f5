#!/usr/bin/env python3
"""Splits a MinGW-linked program's size into pictures, its own code, the runtime and the rest.

    size_split.py <program.exe> <link map>

Reads GNU ld's link map: every input section that lands in the file is counted for the
object it came from. Pictures: the embedded pictures' object and the resources (the icon).
Code: the objects of the program's own sources. Runtime: every other object
(the C and C++ runtime, libgcc, the thread library). The rest: headers, import tables,
alignment and debug information. Prints one line: total pictures code runtime rest (bytes).
"""
import os
import re
import sys

# Output sections whose contents are stored in the file (not .bss), and debug sections.
STORED = (".text", ".data", ".rdata", ".pdata", ".xdata", ".tls", ".CRT", ".ctors", ".dtors",
          ".eh_frame", ".rsrc")
INPUT = re.compile(r"^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
OUTPUT = re.compile(r"^(\.\S+|\S+)\s+0x[0-9a-f]+\s+0x[0-9a-f]+")


def split(exe, link_map):
    pictures = code = runtime = 0
    section = None
    with open(link_map, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            output = OUTPUT.match(line)
            if output and not line.startswith(" "):
                section = output.group(1)
                continue
            if section is None or not section.startswith(STORED):
                continue
            # A long input section name stands alone on its line, its figures on the next.
            entry = INPUT.match(line)
            if not entry:
                continue
            size = int(entry.group(3), 16)
            origin = entry.group(4)
            if section.startswith(".rsrc") or "pictures.cpp" in origin:
                pictures += size
            elif "twinova_" in origin or "BrevaneTwinova.dir" in origin:
                code += size
            else:
                runtime += size
    total = os.path.getsize(exe)
    return total, pictures, code, runtime, total - pictures - code - runtime


if __name__ == "__main__":
    print(*split(*sys.argv[1:3]))
