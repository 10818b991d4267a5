#!/usr/bin/env python3
"""How sharp the main page's letters are on a screenshot of the whole screen: the median edge rise.

The picture is the largest centred 4:3 rectangle of the screen. Inside it, the panel of the main page's
items (light letters on dark wood) is read row by row; every rising or falling run of brightness whose
step is a glyph's (at least STEP levels, its bright end a letter's) counts as an edge, and its rise is
the distance from 10 % to 90 % of its step, in screen pixels, with the crossings interpolated between
pixels. Prints the median over every edge of every row. Usage: edge_rise.py SHOT.png"""
import statistics
import subprocess
import sys

STEP = 90   # levels of grey between a letter's stroke and the wood around it
BRIGHT = 150  # a letter's stroke is at least this bright
# The panel's inside in screen units of the 800 x 600 picture (x from the left, y from the top).
PANEL = (520, 65, 728, 425)


def grey_picture(path):
    pgm = subprocess.run(["convert", path, "-colorspace", "gray", "-depth", "8", "pgm:-"],
                         check=True, capture_output=True).stdout
    fields = []
    at = 0
    while len(fields) < 4:  # magic, width, height, maximum, separated by white space
        while pgm[at:at + 1].isspace():
            at += 1
        start = at
        while not pgm[at:at + 1].isspace():
            at += 1
        fields.append(pgm[start:at])
    width, height = int(fields[1]), int(fields[2])
    return width, height, pgm[at + 1:]


def crossing(row, start, level, rising):
    """The position (with a fraction) where the run from start first reaches level."""
    i = start
    while (row[i + 1] < level) if rising else (row[i + 1] > level):
        i += 1
    a, b = row[i], row[i + 1]
    return i + (level - a) / (b - a) if b != a else i


def edges(row):
    """Rises of every glyph step along one row."""
    rises = []
    i = 0
    n = len(row)
    while i < n - 1:
        if row[i + 1] == row[i]:
            i += 1
            continue
        rising = row[i + 1] > row[i]
        j = i
        # The run goes on while brightness keeps its direction (two levels of noise allowed).
        while j < n - 1 and ((row[j + 1] - row[j] >= -2) if rising else (row[j + 1] - row[j] <= 2)):
            j += 1
        low, high = (row[i], row[j]) if rising else (row[j], row[i])
        step = high - low
        if step >= STEP and high >= BRIGHT:
            start = i
            lo, hi = (low + 0.1 * step, low + 0.9 * step) if rising else (high - 0.1 * step, low + 0.1 * step)
            ten = crossing(row, start, lo, rising)
            ninety = crossing(row, start, hi, rising)
            rises.append(abs(ninety - ten))
        i = j
    return rises


def main():
    width, height, pixels = grey_picture(sys.argv[1])
    scale = min(width / 800, height / 600)
    left = (width - 800 * scale) / 2
    top = (height - 600 * scale) / 2
    x0, y0, x1, y1 = (int(left + PANEL[0] * scale), int(top + PANEL[1] * scale),
                      int(left + PANEL[2] * scale), int(top + PANEL[3] * scale))
    rises = []
    for y in range(y0, y1):
        rises += edges(pixels[y * width + x0:y * width + x1])
    if rises:
        print("%.2f" % statistics.median(rises))


main()
