#!/usr/bin/env python3
"""Draws the plug-in's 32x32 icon (RGBA PNG): a white "V" on a blue disc,
with soft edges through the alpha channel.

Usage: make_icon.py OUTPUT.png
The committed vexa_icon.png was made by this script; run it again after
changing the drawing."""
import math
import struct
import sys
import zlib

SIZE = 32


def coverage(distance):
    """Alpha of a pixel whose centre lies `distance` pixels inside an edge."""
    return max(0.0, min(1.0, distance + 0.5))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixel(x, y):
    px, py = x + 0.5, y + 0.5
    disc = coverage(15.0 - math.hypot(px - 16.0, py - 16.0))
    stroke = max(coverage(2.2 - segment_distance(px, py, 9.0, 10.0, 16.0, 23.0)),
                 coverage(2.2 - segment_distance(px, py, 16.0, 23.0, 23.0, 10.0)))
    blue = (30, 96, 200)
    rgb = [round(c + (255 - c) * stroke) for c in blue]
    return bytes(rgb + [round(255 * disc)])


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png():
    rows = b"".join(b"\x00" + b"".join(pixel(x, y) for x in range(SIZE)) for y in range(SIZE))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(png())
