#!/usr/bin/env python3
"""Draws the application icon as pixel art and writes it, scaled without smoothing, as PNG files in resources/."""
import os
import struct
import sys
import zlib

# Colours of the cells; a cell not listed is transparent.
PALETTE = {
    "#": (58, 46, 40, 255),     # frame
    "b": (248, 228, 216, 255),  # tile, the game's transparent colour
    "g": (86, 120, 62, 255),    # hull
    "h": (132, 168, 90, 255),   # hull light
    "d": (48, 70, 36, 255),     # hull shadow
    "k": (40, 40, 40, 255),     # tracks
    "w": (120, 120, 120, 255),  # wheels
    "r": (196, 52, 40, 255),    # flag
}


def picture():
    size = 32
    grid = [["." for _ in range(size)] for _ in range(size)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                grid[y][x] = c

    rect(2, 2, 29, 29, "#")
    rect(3, 3, 28, 28, "b")
    # tracks and wheels
    rect(5, 21, 26, 25, "k")
    for x in range(7, 26, 4):
        rect(x, 22, x + 1, 24, "w")
    # hull
    rect(6, 16, 25, 20, "g")
    rect(6, 16, 25, 16, "h")
    rect(6, 20, 25, 20, "d")
    # turret
    rect(11, 11, 19, 15, "g")
    rect(11, 11, 19, 11, "h")
    rect(11, 15, 19, 15, "d")
    # gun
    rect(20, 12, 28, 13, "d")
    # flag pole and flag
    rect(13, 5, 13, 10, "k")
    rect(14, 5, 18, 8, "r")
    return grid


def png(pixels, scale):
    size = len(pixels) * scale
    rows = []
    for row in pixels:
        line = bytearray([0])
        for cell in row:
            rgba = PALETTE.get(cell, (0, 0, 0, 0))
            line += bytes(rgba) * scale
        rows += [bytes(line)] * scale
    raw = b"".join(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    grid = picture()
    for scale in (1, 2, 4, 8):
        with open(os.path.join(out, "pixmond-%d.png" % (32 * scale)), "wb") as f:
            f.write(png(grid, scale))


if __name__ == "__main__":
    main()
