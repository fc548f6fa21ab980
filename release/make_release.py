#!/usr/bin/env python3
"""Builds the release zip from a built Verondel.exe, byte for byte the
same on every run: fixed times and attributes, entries in a fixed order.

Names are stored the way Windows' own zip folder reads them on a Chinese
system (code page 936), with the Unicode name beside them (the 0x7075 extra
field) for every other unzip program.

Usage: make_release.py VERONDEL_EXE VERSION_TEXT OUTPUT_ZIP
(the build's "release" target passes the project's version, as "1.00")"""
import struct
import sys
import zipfile
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
FIXED_TIME = (2026, 1, 1, 0, 0, 0)


class ChineseNameInfo(zipfile.ZipInfo):
    """A zip entry whose header name is GBK, with the UTF-8 name in 0x7075."""

    def __init__(self, name):
        super().__init__(name, FIXED_TIME)
        self.compress_type = zipfile.ZIP_DEFLATED
        self.external_attr = 0o100644 << 16
        self.create_system = 0  # MS-DOS: no Unix attributes to differ
        gbk = name.encode("gbk")
        if gbk != name.encode("ascii", "replace"):
            unicode_path = struct.pack("<BI", 1, zlib.crc32(gbk)) + name.encode("utf-8")
            self.extra = struct.pack("<HH", 0x7075, len(unicode_path)) + unicode_path

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits & ~0x800


def main():
    exe, version, output = Path(sys.argv[1]), sys.argv[2], Path(sys.argv[3])
    guide = (HERE / "quick-start.zh.txt").read_text("utf-8").replace("@VERSION@", version)
    guide = guide.replace("\n", "\r\n")
    entries = [
        ("Verondel.exe", exe.read_bytes()),
        ("Verondel设置.ini", "课程\r\n".encode("gbk")),
        # UTF-8 with a byte-order mark, which every Notepad since Windows 7 reads.
        ("快速入门.txt", b"\xef\xbb\xbf" + guide.encode("utf-8")),
    ]
    output.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(output, "w") as archive:
        for name, data in entries:
            archive.writestr(ChineseNameInfo(name), data, compresslevel=9)
    print(f"{output}: {output.stat().st_size} bytes")


if __name__ == "__main__":
    main()
