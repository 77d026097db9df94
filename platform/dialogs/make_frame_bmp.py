#!/usr/bin/env python3
"""Draws the frame's bitmap (a disc rising out of a CD-ROM drive) into frame.bmp
beside this script.

The build uses the committed frame.bmp; run this only to change the picture:
    python3 make_frame_bmp.py [output.bmp]
The output is the same byte for byte on every run.
"""
import colorsys
import math
import os
import struct
import sys

SIZE = 96
SAMPLES = 4  # per axis, for smooth edges

DISC_CENTRE = (48.0, 40.0)
DISC_RADIUS = 30.0
HUB_RADIUS = 11.0
HOLE_RADIUS = 4.5
DRIVE_TOP, DRIVE_BOTTOM = 58.0, 86.0
DRIVE_LEFT, DRIVE_RIGHT = 8.0, 88.0


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def background(x, y):
    return mix((24, 48, 104), (8, 20, 52), y / SIZE)


def drive(x, y):
    """Colour of the drive's front panel at (x, y), or None outside it."""
    if not (DRIVE_LEFT <= x < DRIVE_RIGHT and DRIVE_TOP <= y < DRIVE_BOTTOM):
        return None
    if y < DRIVE_TOP + 1.5 or x < DRIVE_LEFT + 1.5:
        return (238, 236, 226)  # lit edge
    if y >= DRIVE_BOTTOM - 1.5 or x >= DRIVE_RIGHT - 1.5:
        return (92, 90, 84)  # shadowed edge
    if 64.0 <= y < 67.0 and 14.0 <= x < 82.0:
        return (40, 40, 44)  # tray slot
    if 74.0 <= y < 79.0 and 66.0 <= x < 80.0:
        return (150, 148, 140) if y < 76.0 else (120, 118, 112)  # eject button
    if math.hypot(x - 20.0, y - 76.5) < 2.2:
        return (60, 220, 90)  # busy light
    return mix((212, 209, 198), (178, 175, 164), (y - DRIVE_TOP) / (DRIVE_BOTTOM - DRIVE_TOP))


def disc(x, y):
    """Colour of the disc at (x, y), or None off the disc and in its hole."""
    dx, dy = x - DISC_CENTRE[0], y - DISC_CENTRE[1]
    r = math.hypot(dx, dy)
    if r > DISC_RADIUS or r < HOLE_RADIUS:
        return None
    if r > DISC_RADIUS - 1.0:
        return (120, 126, 140)  # rim
    if r < HUB_RADIUS:
        return (214, 220, 228) if r > HOLE_RADIUS + 1.5 else (150, 156, 168)
    angle = math.atan2(dy, dx)
    # The rainbow sheen of the data side turns twice around the disc.
    hue = (angle / (2 * math.pi) * 2.0 + 0.15) % 1.0
    sheen = tuple(c * 255 for c in colorsys.hsv_to_rgb(hue, 0.55, 1.0))
    light = 0.5 + 0.5 * math.cos(2 * angle + 0.8)
    silver = mix((168, 174, 188), (236, 240, 246), light)
    return mix(silver, sheen, 0.35 * (r - HUB_RADIUS) / (DISC_RADIUS - HUB_RADIUS))


def pixel(px, py):
    total = [0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            # The disc stands in front of the drive, as if ejected from its tray.
            colour = disc(x, y) or drive(x, y) or background(x, y)
            for i in range(3):
                total[i] += colour[i]
    n = SAMPLES * SAMPLES
    return tuple(min(255, max(0, int(round(c / n)))) for c in total)


def bmp_bytes():
    row_size = (SIZE * 3 + 3) & ~3
    rows = []
    for py in reversed(range(SIZE)):  # BMP rows run bottom-up
        row = bytearray()
        for px in range(SIZE):
            r, g, b = pixel(px, py)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels),
                              2835, 2835, 0, 0)
    return file_header + info_header + pixels


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "frame.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes())


if __name__ == "__main__":
    main()
