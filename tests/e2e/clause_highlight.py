#!/usr/bin/env python3
"""Finds the highlighted clause of an input-method composition in two window
dumps (xwd) taken before and after the active clause moved one clause right.

    clause_highlight.py BEFORE.xwd AFTER.xwd

Only the rows that differ between the two dumps are looked at: the row of
the composition. In each dump the highlighted clause is the one run of
columns holding highlight-blue pixels where the other dump has none (the
frame's own blue is in both). Exits 0 when each dump has one such
run, and the run of AFTER lies right of the run of BEFORE; prints both runs.
"""
import struct
import sys


def read_xwd(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    ncolors = fields[19]
    if bits_per_pixel != 32:
        sys.exit(f"{path}: {bits_per_pixel} bits per pixel, expected 32")
    start = header_size + 12 * ncolors
    order = "<" if byte_order == 0 else ">"
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line : start + y * bytes_per_line + 4 * width]
        pixels = struct.unpack(f"{order}{width}I", line)
        rows.append([tuple((p & m) >> s for m, s in zip(masks, shifts)) for p in pixels])
    return rows


def highlighted(pixel):
    r, g, b = pixel
    return b >= 150 and b - r >= 80


def runs(columns):
    """Groups sorted column numbers into runs, bridging gaps of 2 pixels."""
    found = []
    for x in columns:
        if found and x - found[-1][1] <= 3:
            found[-1][1] = x
        else:
            found.append([x, x])
    return found


def highlight_runs(rows, other, band):
    """Runs of columns with highlight pixels that the other dump lacks."""
    width = len(rows[0])
    columns = [
        x
        for x in range(width)
        if any(highlighted(rows[y][x]) and rows[y][x] != other[y][x] for y in band)
    ]
    return runs(columns)


def main():
    before, after = read_xwd(sys.argv[1]), read_xwd(sys.argv[2])
    if len(before) != len(after) or len(before[0]) != len(after[0]):
        sys.exit("the two dumps differ in size")
    band = [y for y in range(len(before)) if before[y] != after[y]]
    if not band:
        sys.exit("the dumps are alike: moving the active clause changed nothing")
    first, second = highlight_runs(before, after, band), highlight_runs(after, before, band)
    print(f"rows {band[0]}..{band[-1]}: highlighted before {first}, after {second}")
    if len(first) != 1 or len(second) != 1:
        sys.exit("expected exactly one highlighted clause in each dump")
    if first[0][1] - first[0][0] < 10 or second[0][1] - second[0][0] < 10:
        sys.exit("a highlighted clause is narrower than one character")
    if second[0][0] < first[0][1]:
        sys.exit("the highlight did not move to the next clause")


if __name__ == "__main__":
    main()
