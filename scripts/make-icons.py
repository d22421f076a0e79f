#!/usr/bin/env python3
"""Draws Morvane's own icons (32x32, 32-bit) into res/. Run again only to change the pictures."""
import math
import os
import struct
import sys

S = 32


def ico(pixels):
    """pixels: S*S (r, g, b, a) rows from the top; returns the bytes of a one-image .ico."""
    xor = b""
    for y in range(S - 1, -1, -1):  # bottom-up
        for x in range(S):
            r, g, b, a = pixels[y * S + x]
            xor += bytes((b, g, r, a))
    and_mask = b"\0" * (S * 4)  # 32 bits a row, all opaque: alpha decides
    header = struct.pack("<IiiHHIIiiII", 40, S, S * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", S, S, 0, 0, 1, 32, len(image), 22) + image


def canvas():
    return [(0, 0, 0, 0)] * (S * S)


def disc(px, cx, cy, r, colour):
    for y in range(S):
        for x in range(S):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                px[y * S + x] = colour


def rect(px, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(S, y1)):
        for x in range(max(0, x0), min(S, x1)):
            px[y * S + x] = colour


def line(px, x0, y0, x1, y1, w, colour):
    for y in range(S):
        for x in range(S):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x + 0.5 - x0) * dx + (y + 0.5 - y0) * dy) / (dx * dx + dy * dy)))
            if math.hypot(x + 0.5 - (x0 + t * dx), y + 0.5 - (y0 + t * dy)) <= w / 2:
                px[y * S + x] = colour


NAVY, GOLD, WHITE = (28, 44, 92, 255), (236, 178, 40, 255), (250, 250, 250, 255)
GREEN, RED, GREY = (40, 150, 60, 255), (200, 40, 40, 255), (120, 120, 130, 255)


def morvane():
    px = canvas()
    disc(px, 16, 16, 15, NAVY)
    for x0, y0, x1, y1 in ((9, 23, 9, 9), (9, 9, 16, 17), (16, 17, 23, 9), (23, 9, 23, 23)):
        line(px, x0, y0, x1, y1, 3.2, GOLD)
    return px


def uncache():
    px = canvas()
    rect(px, 3, 14, 21, 29, GREY)
    rect(px, 5, 16, 19, 27, WHITE)
    line(px, 12, 21, 26, 7, 3.5, GREEN)
    line(px, 26, 7, 18, 7, 3.5, GREEN)
    line(px, 26, 7, 26, 15, 3.5, GREEN)
    return px


def delete():
    px = canvas()
    line(px, 7, 7, 25, 25, 5, RED)
    line(px, 25, 7, 7, 25, 5, RED)
    return px


def logo():
    px = morvane()
    disc(px, 25, 25, 6, WHITE)
    line(px, 25, 21, 25, 26, 2.4, RED)
    disc(px, 25, 28.6, 1.3, RED)
    return px


def fix_tool():
    """The fixer's first picture: an index sheet with a spanner across it."""
    px = canvas()
    rect(px, 4, 2, 22, 30, GREY)
    rect(px, 5, 3, 21, 29, WHITE)
    for y in (7, 11, 15, 19, 23):
        rect(px, 8, y, 18, y + 2, NAVY)
    line(px, 12, 27, 24, 15, 4, GOLD)
    disc(px, 25, 11, 5.5, GOLD)
    disc(px, 27.5, 8.5, 2.8, (0, 0, 0, 0))
    return px


def fix_check():
    """The fixer's second picture: a magnifying glass over a check mark."""
    px = canvas()
    line(px, 20, 20, 28.5, 28.5, 4.5, NAVY)
    disc(px, 13, 13, 11, NAVY)
    disc(px, 13, 13, 8.5, WHITE)
    line(px, 8.5, 13.5, 12, 17, 2.6, GREEN)
    line(px, 12, 17, 18, 9.5, 2.6, GREEN)
    return px


def about():
    """The about box's picture: the program's mark with a gold information dot beside it."""
    px = morvane()
    disc(px, 25, 7, 6, GOLD)
    rect(px, 24, 6, 26, 11, NAVY)
    rect(px, 24, 3, 26, 5, NAVY)
    return px


out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
for name, draw in (("Morvane", morvane), ("Uncache", uncache), ("Delete", delete), ("Logo", logo),
                   ("FixTool", fix_tool), ("FixCheck", fix_check), ("About", about)):
    with open(os.path.join(out, name + ".ico"), "wb") as f:
        f.write(ico(draw()))
