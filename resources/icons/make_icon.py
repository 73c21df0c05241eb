#!/usr/bin/env python3
"""Draws the program's icon: a sheet of paper with lines of text, a caret and
a vermilion seal bearing a "T". Writes tarnwick-editor.svg (scalable) and
tarnwick-editor-48.png beside itself from the same shapes, with no library
beyond Python's own. The files are committed; run this only after a change."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 48  # the drawing's own units

INK = "#34495e"
PAPER = "#fbfaf4"
FOLD = "#d6d1bf"
LINE = "#5b7190"
SEAL = "#c8402a"
WHITE = "#ffffff"

# (kind, colour, geometry): later shapes paint over earlier ones.
SHAPES = [
    ("poly", INK, [(9, 3), (31, 3), (41, 13), (41, 45), (9, 45)]),
    ("poly", PAPER, [(10.5, 4.5), (30.4, 4.5), (39.5, 13.6), (39.5, 43.5), (10.5, 43.5)]),
    ("poly", FOLD, [(30.4, 4.5), (30.4, 13.6), (39.5, 13.6)]),
    ("rect", LINE, (14, 12, 12, 2.4, 0)),
    ("rect", LINE, (14, 17, 22, 2.4, 0)),
    ("rect", LINE, (14, 22, 19, 2.4, 0)),
    ("rect", INK, (34.6, 20.8, 1.4, 4.8, 0)),  # the caret
    ("rect", LINE, (14, 27, 10, 2.4, 0)),
    ("rect", LINE, (14, 32, 9, 2.4, 0)),
    ("rect", LINE, (14, 37, 11, 2.4, 0)),
    ("rect", SEAL, (26, 28, 16, 16, 3)),
    ("rect", WHITE, (29.5, 31.5, 9, 2.4, 0)),
    ("rect", WHITE, (32.8, 31.5, 2.4, 9, 0)),
]


def svg():
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
           f'viewBox="0 0 {SIZE} {SIZE}">']
    for kind, colour, g in SHAPES:
        if kind == "poly":
            points = " ".join(f"{x:g},{y:g}" for x, y in g)
            out.append(f'  <polygon points="{points}" fill="{colour}"/>')
        else:
            x, y, w, h, r = g
            round_ = f' rx="{r:g}"' if r else ""
            out.append(f'  <rect x="{x:g}" y="{y:g}" width="{w:g}" height="{h:g}"{round_} '
                       f'fill="{colour}"/>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


def inside(kind, g, x, y):
    if kind == "poly":  # even-odd rule
        hit = False
        for (x1, y1), (x2, y2) in zip(g, g[1:] + g[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    rx, ry, w, h, r = g
    if not (rx <= x <= rx + w and ry <= y <= ry + h):
        return False
    cx = min(max(x, rx + r), rx + w - r)
    cy = min(max(y, ry + r), ry + h - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def png(pixels, samples=4):
    scale = SIZE / pixels
    rows = []
    for py in range(pixels):
        row = bytearray([0])  # no filter
        for px in range(pixels):
            total, covered = [0, 0, 0], 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for kind, c, g in SHAPES:
                        if inside(kind, g, x, y):
                            colour = c
                    if colour:
                        covered += 1
                        for i, v in enumerate(rgb(colour)):
                            total[i] += v
            n = samples * samples
            if covered:
                row += bytes(round(t / covered) for t in total) + bytes([round(255 * covered / n)])
            else:
                row += bytes(4)
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", pixels, pixels, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    with open(os.path.join(HERE, "tarnwick-editor.svg"), "w") as f:
        f.write(svg())
    with open(os.path.join(HERE, "tarnwick-editor-48.png"), "wb") as f:
        f.write(png(48))


if __name__ == "__main__":
    main()
