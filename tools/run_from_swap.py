#!/usr/bin/env python3
"""Marks an exe IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP, which GNU ld cannot set.

Windows then copies the program to the page file before it runs it from a
removable drive: a page not yet read (the code of an error box, say) can
still be read after the stick is pulled. It does not let the stick be
removed while the program runs.   Usage: run_from_swap.py PROGRAM.exe"""
import struct
import sys

REMOVABLE_RUN_FROM_SWAP = 0x0400

with open(sys.argv[1], "r+b") as exe:
    exe.seek(0x3C)
    (header,) = struct.unpack("<I", exe.read(4))
    exe.seek(header)
    if exe.read(4) != b"PE\0\0":
        sys.exit(f"{sys.argv[1]}: not a PE file")
    exe.seek(header + 22)  # the file header's Characteristics
    (characteristics,) = struct.unpack("<H", exe.read(2))
    exe.seek(header + 22)
    exe.write(struct.pack("<H", characteristics | REMOVABLE_RUN_FROM_SWAP))
