#!/usr/bin/env python3
"""Draws Morvane's own icons into res/: each picture at 16, 20, 24, 30, 32, 36, 40 and 48 px (32-bit,
smooth edges), so that every window finds the size its DPI needs drawn, never stretched: at 96, 120
and 144 DPI, small window icons are 16, 20 and 24 px, button pictures 24, 30 and 36 px, window icons
and the windows' pictures 32, 40 and 48 px. Run again only to change the pictures."""
import math
import os
import struct
import sys

SIZES = (16, 20, 24, 30, 32, 36, 40, 48)
GRID = 32  # the pictures are drawn on a 32-unit grid and scaled to each size
SUB = 4    # samples a pixel takes along each axis


def ico(images):
    """images: (size, pixels) pairs, pixels as (r, g, b, a) rows from the top; the bytes of an .ico."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, pixels in images:
        xor = b""
        for y in range(size - 1, -1, -1):  # bottom-up
            for x in range(size):
                r, g, b, a = pixels[y * size + x]
                xor += bytes((b, g, r, a))
        and_mask = b"\0" * (((size + 31) // 32) * 4 * size)  # all opaque: alpha decides
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
        blob = header + xor + and_mask
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


# Shapes on the grid: each a test of a point and a colour; later shapes lie on earlier ones.
def disc(cx, cy, r, colour):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)


def rect(x0, y0, x1, y1, colour):
    return (lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)


def line(x0, y0, x1, y1, w, colour):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w / 2
    return (inside, colour)


CLEAR = (0, 0, 0, 0)


def render(shapes, size):
    """The shapes at `size` px, each pixel the mean of SUB x SUB samples (alpha premultiplied)."""
    pixels = []
    scale = GRID / size
    for py in range(size):
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUB):
                for sx in range(SUB):
                    x, y = (px + (sx + 0.5) / SUB) * scale, (py + (sy + 0.5) / SUB) * scale
                    colour = CLEAR
                    for inside, c in shapes:
                        if inside(x, y):
                            colour = c
                    a = colour[3] / 255
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            n = SUB * SUB
            alpha = acc[3] / n
            if alpha == 0:
                pixels.append(CLEAR)
            else:
                pixels.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(alpha * 255),))
    return pixels


NAVY, GOLD, WHITE = (28, 44, 92, 255), (236, 178, 40, 255), (250, 250, 250, 255)
GREEN, RED, GREY = (40, 150, 60, 255), (200, 40, 40, 255), (120, 120, 130, 255)


def morvane():
    shapes = [disc(16, 16, 15, NAVY)]
    for x0, y0, x1, y1 in ((9, 23, 9, 9), (9, 9, 16, 17), (16, 17, 23, 9), (23, 9, 23, 23)):
        shapes.append(line(x0, y0, x1, y1, 3.2, GOLD))
    return shapes


def uncache():
    return [rect(3, 14, 21, 29, GREY), rect(5, 16, 19, 27, WHITE), line(12, 21, 26, 7, 3.5, GREEN),
            line(26, 7, 18, 7, 3.5, GREEN), line(26, 7, 26, 15, 3.5, GREEN)]


def delete():
    return [line(7, 7, 25, 25, 5, RED), line(25, 7, 7, 25, 5, RED)]


def logo():
    return morvane() + [disc(25, 25, 6, WHITE), line(25, 21, 25, 26, 2.4, RED), disc(25, 28.6, 1.3, RED)]


def fix_tool():
    """The fixer's first picture: an index sheet with a spanner across it."""
    shapes = [rect(4, 2, 22, 30, GREY), rect(5, 3, 21, 29, WHITE)]
    shapes += [rect(8, y, 18, y + 2, NAVY) for y in (7, 11, 15, 19, 23)]
    return shapes + [line(12, 27, 24, 15, 4, GOLD), disc(25, 11, 5.5, GOLD), disc(27.5, 8.5, 2.8, CLEAR)]


def fix_check():
    """The fixer's second picture: a magnifying glass over a check mark."""
    return [line(20, 20, 28.5, 28.5, 4.5, NAVY), disc(13, 13, 11, NAVY), disc(13, 13, 8.5, WHITE),
            line(8.5, 13.5, 12, 17, 2.6, GREEN), line(12, 17, 18, 9.5, 2.6, GREEN)]


def about():
    """The about box's picture: the program's mark with a gold information dot beside it."""
    return morvane() + [disc(25, 7, 6, GOLD), rect(24, 6, 26, 11, NAVY), rect(24, 3, 26, 5, NAVY)]


out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
for name, draw in (("Morvane", morvane), ("Uncache", uncache), ("Delete", delete), ("Logo", logo),
                   ("FixTool", fix_tool), ("FixCheck", fix_check), ("About", about)):
    with open(os.path.join(out, name + ".ico"), "wb") as f:
        f.write(ico([(size, render(draw(), size)) for size in SIZES]))
