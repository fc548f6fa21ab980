#!/usr/bin/env python3
"""Draw Verondel's clock icon and write it as resources/verondel.ico.

The window caption reads "time waits for no one", so the icon is a clock:
a blue disc, a white face, two dark hands showing three o'clock and a red
second hand.  It deliberately looks nothing like a folder, because USB worms
dress their exes up as folders and a launcher must not resemble them.

The icon holds five BMP images, which is what the Windows shell picks from:
  16x16 at 4 bpp (standard 16-colour palette) and 8 bpp (256 colours), both
  with a 1-bit AND mask for transparency, for old or low-colour displays;
  16x16, 32x32 and 48x48 at 32 bpp with an alpha channel.

Standard library only, and deterministic: the same bytes on every run, so the
committed .ico changes only when this file does.

Usage: python3 make_icon.py [output.ico]
"""

import math
import struct
import sys
from pathlib import Path

SUPERSAMPLE = 8  # 8x8 samples per pixel give smooth edges in the 32-bit images

# Colours as (red, green, blue).
RIM_TOP = (0x3A, 0xA6, 0xDE)      # the disc is lit from above...
RIM_BOTTOM = (0x15, 0x62, 0xA8)   # ...and darker below
RIM_EDGE = (0x10, 0x48, 0x80)     # thin outline keeps the disc crisp on white
FACE = (0xFF, 0xFF, 0xFF)
FACE_SHADOW = (0xC9, 0xD3, 0xDE)  # rim's shadow on the face
TICK = (0x4A, 0x55, 0x62)
HAND = (0x1B, 0x24, 0x30)
ACCENT = (0xE5, 0x39, 0x35)


def clock_geometry(size):
    """Measurements in pixels for one icon size.

    Small icons get whole-pixel widths and axis-aligned hands so that the
    16x16 images come out sharp instead of blurred.
    """
    half = size / 2
    big = size >= 32
    return {
        "centre": half,
        # At 16 px a radius of 7.2 gives a round 14-pixel outline; 7.5 would
        # leave one-pixel nubs sticking out at the top, bottom and sides.
        "disc": half - 0.5 if big else half - 0.8,
        "edge": 1.0 if big else 0.0,              # outline width
        "face": half * 0.76 if big else half - 2.2,
        "shadow": size / 24 if big else 0.0,      # width of the face's inner ring
        "ticks": 12 if size >= 48 else (4 if big else 0),
        "tick_width": max(1.0, round(size / 24)),
        "tick_length": size / 12,
        "hand_width": 2.0 * max(1, round(size / 24)),   # even: sits on the pixel grid
        "minute_length": half * 0.62,
        "hour_length": half * (0.42 if big else 0.50),
        "second": big,
        "second_width": max(1.0, size / 32),
        "second_length": half * 0.64,
        "dot": size / 14 if big else 1.0,
    }


def in_bar(x, y, cx, cy, angle, start, end, width):
    """True if (x, y) lies in a straight bar leaving (cx, cy) at `angle`.

    The angle is clockwise from twelve o'clock; the bar runs from `start`
    to `end` pixels along that direction.
    """
    dx, dy = math.sin(angle), -math.cos(angle)
    along = (x - cx) * dx + (y - cy) * dy
    across = (x - cx) * dy - (y - cy) * dx
    return start <= along <= end and abs(across) <= width / 2


def paint(x, y, size, g):
    """Colour (r, g, b) at a point of the icon, or None outside the disc.

    Later layers are drawn over earlier ones, as a painter would.
    """
    c = g["centre"]
    r = math.hypot(x - c, y - c)
    if r > g["disc"]:
        return None
    if r > g["face"]:
        if r > g["disc"] - g["edge"]:
            return RIM_EDGE
        t = y / size
        return tuple(round(a + (b - a) * t) for a, b in zip(RIM_TOP, RIM_BOTTOM))

    colour = FACE_SHADOW if r > g["face"] - g["shadow"] else FACE
    outer = g["face"] - g["shadow"] - g["tick_width"]
    for i in range(g["ticks"]):
        angle = 2 * math.pi * i / g["ticks"]
        length = g["tick_length"] * (1.0 if i % 3 == 0 or g["ticks"] == 4 else 0.6)
        if in_bar(x, y, c, c, angle, outer - length, outer, g["tick_width"]):
            colour = TICK
    hw = g["hand_width"]
    if in_bar(x, y, c, c, 0.0, -hw / 2, g["minute_length"], hw):          # twelve
        colour = HAND
    if in_bar(x, y, c, c, math.pi / 2, -hw / 2, g["hour_length"], hw):    # three
        colour = HAND
    if g["second"] and in_bar(x, y, c, c, math.radians(225), -g["second_length"] / 4,
                              g["second_length"], g["second_width"]):
        colour = ACCENT
    if r <= g["dot"] or (not g["second"] and abs(x - c) <= 1 and abs(y - c) <= 1):
        colour = ACCENT   # at 16 px the centre dot is a 2x2 square
    return colour


def render(size, blend=True):
    """Rows of (r, g, b, a) pixels, top row first.

    With blend, each pixel averages its samples (smooth edges for 32-bit
    images).  Without it, each pixel takes its most common sample colour: a
    palette image has no alpha to soften edges, and mixed colours would only
    map to muddy greys.
    """
    g = clock_geometry(size)
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            samples = [paint(px + (sx + 0.5) / n, py + (sy + 0.5) / n, size, g)
                       for sy in range(n) for sx in range(n)]
            covered = [c for c in samples if c is not None]
            alpha = (len(covered) * 255 + n * n // 2) // (n * n)
            if not covered:
                row.append((0, 0, 0, 0))
            elif blend:
                # Average only the covered samples: alpha carries the coverage,
                # so edge pixels keep their true colour instead of fading to black.
                rgb = tuple((sum(c[k] for c in covered) + len(covered) // 2) // len(covered)
                            for k in range(3))
                row.append(rgb + (alpha,))
            else:
                # max() keeps the first of equally common colours: deterministic.
                row.append(max(covered, key=covered.count) + (alpha,))
        rows.append(row)
    return rows


# Palettes, index 0 black: transparent pixels use index 0 under a set mask bit.
WINDOWS_16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# 16 Windows colours + 6x6x6 colour cube + 24 greys = 256 entries.
PALETTE_256 = (
    WINDOWS_16
    + [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
    + [(v, v, v) for v in range(8, 248, 10)]
)
assert len(PALETTE_256) == 256


def nearest(colour, palette):
    """Index of the closest palette entry (first one on a tie, for determinism)."""
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask(rows):
    """1-bit mask, bottom row first: a set bit leaves the screen showing through."""
    out = b""
    for row in reversed(rows):
        bits = 0
        for px in row:
            bits = (bits << 1) | (1 if px[3] < 128 else 0)
        width = len(row)
        bits <<= -width % 8
        out += pad4(bits.to_bytes((width + 7) // 8, "big"))
    return out


def bitmap_header(size, bpp, image_bytes, colours):
    # Icon bitmaps state twice their height: the colour image plus the mask.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                       image_bytes, 0, 0, colours, 0)


def bmp_true_colour(rows):
    size = len(rows)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = and_mask(rows)
    return bitmap_header(size, 32, len(xor) + len(mask), 0) + xor + mask


def bmp_palette(rows, palette, bpp):
    size = len(rows)
    # Pixels under half covered count as outside the disc.
    indexes = [[nearest(px[:3], palette) if px[3] >= 128 else 0 for px in row]
               for row in rows]
    xor = b""
    for row in reversed(indexes):
        if bpp == 4:
            line = bytes((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2))
        else:
            line = bytes(row)
        xor += pad4(line)
    mask = and_mask(rows)
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return (bitmap_header(size, bpp, len(xor) + len(mask), len(palette))
            + colour_table + xor + mask)


def build_icon():
    flat = render(16, blend=False)
    images = [  # (size, bpp, colour count for the directory, BMP bytes)
        (16, 4, 16, bmp_palette(flat, WINDOWS_16, 4)),
        (16, 8, 0, bmp_palette(flat, PALETTE_256, 8)),
        (16, 32, 0, bmp_true_colour(render(16))),
        (32, 32, 0, bmp_true_colour(render(32))),
        (48, 32, 0, bmp_true_colour(render(48))),
    ]
    header = struct.pack("<HHH", 0, 1, len(images))   # reserved, type 1 = icon, count
    offset = len(header) + 16 * len(images)
    directory, data = b"", b""
    for size, bpp, colours, bmp in images:
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bpp,
                                 len(bmp), offset)
        offset += len(bmp)
        data += bmp
    return header + directory + data


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("verondel.ico")
    out.write_bytes(build_icon())
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
