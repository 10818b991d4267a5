#!/usr/bin/env python3
"""Writes the seventy level files and the eight help boards into data/levels/.

The levels are described below as a table: one row per level with its shape, its
tiles, its chained balls and its rule parameters. Shapes are drawn on the part of the
board that the player can see between the progress bar on the left (layout column 0)
and the right panel (layout columns 16 to 19), that is on a grid of 15 by 15 cells.

Run from the source root:   python3 tools/levels/make_levels.py
Check without writing:      python3 tools/levels/make_levels.py --check

The output is deterministic: the same table always gives byte-identical files.
"""
import math
import os
import random
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "data", "levels")

LAYOUT_W, LAYOUT_H = 20, 15  # the layout grid of a level file
GRID_W, GRID_H = 15, 15      # the visible part: layout columns 1..15
FIRST_COL = 1                # layout column 0 lies under the progress bar

# ---------------------------------------------------------------- shapes
# A shape is a predicate over grid cells (x 0..14 from the left, y 0..14 from the top).


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, cut=1):
    def f(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = min(x - x0, x1 - x)
        dy = min(y - y0, y1 - y)
        return dx + dy >= cut
    return f


def diamond(cx, cy, r):
    return lambda x, y: abs(x - cx) + abs(y - cy) <= r


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 0.5


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out + 0.5


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, *holes):
    return lambda x, y: a(x, y) and not any(h(x, y) for h in holes)


def cells(*points):
    pts = set(points)
    return lambda x, y: (x, y) in pts


def pillars(x0, y0, step, x1=14, y1=14):
    """Single-cell holes every `step` cells: rocks that paths must go around."""
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1 and (x - x0) % step == 0 and (y - y0) % step == 0


def stairs(width, steps, x0=0, y0=0):
    """A staircase falling to the right."""
    def f(x, y):
        xx, yy = x - x0, y - y0
        if xx < 0 or yy < 0:
            return False
        k = xx // steps
        return k * steps - 1 <= yy <= k * steps + width - 1 and xx < 15
    return f


def band(y0, y1, x0=0, x1=14):
    return rect(x0, y0, x1, y1)


def tree(cx, top, height, trunk):
    def f(x, y):
        if top <= y < top + height:
            half = (y - top) // 2 + 1
            return abs(x - cx) <= half
        return top + height <= y < top + height + trunk and abs(x - cx) <= 1
    return f


def heart(cx, cy, s):
    def f(x, y):
        u = (x - cx) / s
        v = -(y - cy) / s
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0
    return f


def star(cx, cy, r_out, r_in, points=5):
    def f(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < 0.01:
            return True
        a = math.atan2(dx, -dy) % (2 * math.pi / points)
        seg = 2 * math.pi / points
        t = abs(a - seg / 2) / (seg / 2)  # 1 at a point, 0 between points
        return d <= r_in + (r_out - r_in) * t + 0.3
    return f


def hourglass(cx, top, bottom, waist):
    mid = (top + bottom) / 2

    def f(x, y):
        if not (top <= y <= bottom):
            return False
        half = waist + abs(y - mid)
        return abs(x - cx) <= half
    return f


# ---------------------------------------------------------------- tiles and balls


class Board:
    def __init__(self, shape):
        self.cell = [["." for _ in range(GRID_W)] for _ in range(GRID_H)]
        for y in range(GRID_H):
            for x in range(GRID_W):
                if shape(x, y):
                    self.cell[y][x] = "0"

    def exists(self, x, y):
        return 0 <= x < GRID_W and 0 <= y < GRID_H and self.cell[y][x] != "."

    def all_cells(self):
        return [(x, y) for y in range(GRID_H) for x in range(GRID_W) if self.cell[y][x] != "."]

    def count(self):
        return len(self.all_cells())

    def rows(self):
        out = []
        for y in range(LAYOUT_H):
            row = "." * FIRST_COL + "".join(self.cell[y]) + "." * (LAYOUT_W - FIRST_COL - GRID_W)
            out.append(row)
        return out


def open_cell(board, x, y):
    """A line of three can pass through the cell in all four directions, so it can be washed."""
    for dx, dy in ((1, 0), (0, 1), (1, 1), (1, -1)):
        if not any(all(board.exists(x + (k + i) * dx, y + (k + i) * dy) for i in range(3)) for k in (-2, -1, 0)):
            return False
    return True


def apply_squares(board, pattern, layers, rng, amount):
    """Marks busy squares (puzzle mode only) in a pattern that suits the shape."""
    if pattern is None:
        return
    pts = [p for p in board.all_cells() if open_cell(board, *p)]
    if not pts:
        return
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    cx = (min(xs) + max(xs)) / 2
    cy = (min(ys) + max(ys)) / 2
    chosen = []
    if pattern == "centre":
        pts.sort(key=lambda p: ((p[0] - cx) ** 2 + (p[1] - cy) ** 2, p[1], p[0]))
        chosen = pts[:amount]
    elif pattern == "edge":
        pts.sort(key=lambda p: (-((p[0] - cx) ** 2 + (p[1] - cy) ** 2), p[1], p[0]))
        chosen = pts[:amount]
    elif pattern == "rows":
        chosen = [p for p in pts if p[1] % 3 == 1]
    elif pattern == "columns":
        chosen = [p for p in pts if p[0] % 3 == 1]
    elif pattern == "checker":
        chosen = [p for p in pts if (p[0] + p[1]) % 4 == 0]
    elif pattern == "diagonal":
        chosen = [p for p in pts if (p[0] - p[1]) % 5 == 0]
    elif pattern == "cross":
        chosen = [p for p in pts if abs(p[0] - cx) < 1 or abs(p[1] - cy) < 1]
    elif pattern == "scatter":
        chosen = rng.sample(sorted(pts), min(amount, len(pts)))
    else:
        raise ValueError(pattern)
    if amount and len(chosen) > amount:
        chosen = sorted(rng.sample(sorted(chosen), amount))
    for i, (x, y) in enumerate(sorted(chosen)):
        board.cell[y][x] = str(layers if layers in (1, 2) else 1 + (i % 2))


def apply_chains(board, count, colours, rng, where="spread"):
    """Chained balls sit on two-layer tiles; their colours are always in play."""
    if not count:
        return
    pts = [p for p in board.all_cells() if board.cell[p[1]][p[0]] in "012" and open_cell(board, *p)]
    pts.sort()
    if where == "spread":
        rng.shuffle(pts)
        picked = []
        for p in pts:
            if all(abs(p[0] - q[0]) + abs(p[1] - q[1]) >= 3 for q in picked):
                picked.append(p)
            if len(picked) == count:
                break
    else:  # "line": a row of chains through the middle
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        cy = (min(ys) + max(ys)) // 2
        row = sorted(p for p in pts if p[1] == cy)
        step = max(1, len(row) // count)
        picked = row[step // 2::step][:count]
    for i, (x, y) in enumerate(picked):
        board.cell[y][x] = "ABCDEFGH"[(i * 2 + rng.randrange(colours)) % colours]


def place_balls(board, balls):
    for (x, y, ch) in balls:
        assert board.exists(x, y), (x, y)
        board.cell[y][x] = ch


# ---------------------------------------------------------------- the seventy levels
# Each row: name, shape, then the parameters. Keys:
#   colours, addballs (classic), joker (1 in n), time (puzzle, minutes,
#   scaled up by the game for early levels), downtime (action, ms; set to keep the colours),
#   squares (pattern, layers, amount), chains (count, where), hammer, balls (fixed balls), bonus.

TUTORIALS = [
    dict(  # moving a ball: three pairs wait for their third ball
        name="tut1_01", shape=rounded(3, 3, 11, 11, 2),
        balls=[(5, 5, "Z"), (6, 5, "Z"), (9, 6, "a"),
               (5, 9, "b"), (6, 9, "b"), (9, 8, "b"),
               (8, 11, "c"), (9, 11, "c"), (5, 7, "c")],
        squares=("cells", [(7, 5), (7, 9), (7, 11)]),
        colours=3, addballs=2, joker=12, time=4, downtime=4000, hammer=False,
        bonus=["...", ".1.", "..."]),
    dict(  # lines in every direction, and new balls arriving
        name="tut1_02", shape=rounded(2, 2, 12, 12, 2),
        balls=[(4, 4, "Z"), (5, 5, "Z"), (10, 4, "b"), (9, 5, "b"), (7, 10, "c"), (7, 11, "c"),
               (11, 9, "a"), (3, 10, "d"), (4, 10, "d"), (11, 5, "b"), (3, 6, "c"), (9, 11, "d")],
        squares=("cells", [(6, 6), (8, 6), (7, 12), (5, 10)]),
        colours=4, addballs=2, joker=12, time=4, downtime=4000, hammer=False,
        bonus=["1.1", "...", "1.1"]),
    dict(  # bonus pieces: a line of four earns a bomb
        name="tut1_03", shape=union(rounded(1, 2, 13, 12, 2)),
        balls=[(3, 7, "Z"), (4, 7, "Z"), (6, 7, "Z"), (10, 10, "a"),
               (9, 3, "b"), (9, 4, "b"), (9, 6, "b"), (12, 7, "b")],
        squares=("centre", 1, 12),
        colours=4, addballs=3, joker=12, time=4, downtime=3500, hammer=False,
        bonus=[".1.", "1.1", ".1."]),
    dict(  # the hammer, and a first chained ball
        name="tut1_04", shape=rounded(1, 1, 13, 13, 3),
        squares=("cross", 1, 14), chains=(2, "spread"),
        colours=4, addballs=3, joker=12, time=4, downtime=3500,
        bonus=["111", ".1.", "..."]),
]

# Stage themes, five levels each (the first stage holds the four tutorials and pack1_01).
PACK = [
    # 1 Pebble Beach: round open boards
    dict(shape=circle(7, 7, 6.2), squares=("centre", 1, 16), colours=4, addballs=3,
         joker=14, time=4, downtime=3000),  # the clock is not stretched before the sixth level
    # 2 Mossy Steps: staircases and ledges
    dict(shape=union(stairs(6, 3), rect(0, 0, 4, 5)), squares=("rows", 1, 16), colours=4, addballs=3,
         joker=15, time=1.2, downtime=3000),
    dict(shape=minus(rounded(0, 1, 14, 13, 2), pillars(3, 4, 4, 12, 12)), squares=("checker", 1, 16),
         colours=5, addballs=3, joker=15, time=1.2, downtime=2800),
    dict(shape=union(stairs(7, 3, 0, 1), rect(10, 8, 14, 14)), squares=("diagonal", 1, 18), colours=5,
         addballs=3, joker=16, time=1.2, downtime=2800),
    dict(shape=union(rect(0, 8, 14, 13), rect(2, 4, 12, 8), rect(5, 1, 9, 4)), squares=("rows", 1, 20),
         colours=5, addballs=3, joker=16, time=1.3, downtime=2600),
    dict(shape=minus(rect(0, 0, 14, 14), cells((4, 4), (10, 4), (4, 10), (10, 10), (7, 7))),
         squares=("scatter", 1, 22), colours=5, addballs=3, joker=17, time=1.4, downtime=2600),
    # 3 Fern Hollow: leafy shapes, the first chained balls
    dict(shape=union(circle(5, 6, 4.3), circle(9, 8, 4.3)), squares=("centre", 1, 16), chains=(2, "spread"),
         colours=4, addballs=3, joker=15, time=1.3, downtime=2800),
    dict(shape=union(diamond(7, 4, 4), diamond(4, 9, 4), diamond(10, 9, 4)), squares=("edge", 1, 18),
         chains=(3, "spread"), colours=5, addballs=3, joker=16, time=1.3, downtime=2600),
    dict(shape=minus(rounded(0, 0, 14, 14, 3), cells(*[(7, y) for y in range(2, 13, 2)])),
         squares=("columns", 1, 20), chains=(3, "spread"), colours=5, addballs=3, joker=17,
         time=1.4, downtime=2500),
    dict(shape=union(circle(7, 4, 3.3), circle(3, 10, 3.3), circle(11, 10, 3.3), rect(6, 6, 8, 10)),
         squares=("scatter", 1, 20), chains=(4, "spread"), colours=5, addballs=3, joker=17,
         time=1.4, downtime=2500),
    dict(shape=minus(circle(7, 7, 7.2), circle(7, 7, 1.2)), squares=("edge", 1, 24), chains=(4, "spread"),
         colours=5, addballs=4, joker=18, time=1.5, downtime=2400),
    # 4 Rushing Falls: tall channels and mossy double tiles
    dict(shape=union(rect(2, 0, 5, 14), rect(9, 0, 12, 14), rect(2, 6, 12, 8)), squares=("columns", 2, 12),
         colours=5, addballs=3, joker=16, time=1.6, downtime=2400),
    dict(shape=union(rect(0, 0, 3, 14), rect(5, 0, 9, 14), rect(11, 0, 14, 14), band(0, 1), band(13, 14)),
         squares=("centre", 2, 14), chains=(2, "line"), colours=5, addballs=3, joker=17,
         time=1.6, downtime=2300),
    dict(shape=minus(rect(1, 0, 13, 14), rect(4, 3, 4, 11), rect(10, 3, 10, 11)),
         squares=("scatter", 2, 14), chains=(3, "spread"), colours=5, addballs=4, joker=18,
         time=1.7, downtime=2200),
    dict(shape=union(hourglass(7, 0, 14, 2), band(6, 8)), squares=("cross", 2, 14), chains=(3, "spread"),
         colours=5, addballs=4, joker=18, time=1.7, downtime=2200),
    dict(shape=minus(rect(0, 0, 14, 14), pillars(2, 2, 3, 12, 12)), squares=("checker", 2, 18),
         chains=(4, "spread"), colours=5, addballs=4, joker=20, time=1.8, downtime=2000),
    # 5 Sunstone Ridge: a breather of bright diamonds
    dict(shape=diamond(7, 7, 7), squares=("centre", 1, 18), colours=4, addballs=3, joker=16,
         time=1.8, downtime=2400),
    dict(shape=union(diamond(4, 7, 4), diamond(10, 7, 4)), squares=("edge", 1, 18), chains=(2, "spread"),
         colours=5, addballs=3, joker=18, time=1.8, downtime=2200),
    dict(shape=minus(diamond(7, 7, 7), diamond(7, 7, 1)), squares=("diagonal", 1, 20), chains=(2, "spread"),
         colours=5, addballs=4, joker=18, time=1.9, downtime=2100),
    dict(shape=union(diamond(7, 3, 3), diamond(3, 10, 3), diamond(11, 10, 3), rect(4, 6, 10, 8)),
         squares=("scatter", 2, 14), chains=(3, "spread"), colours=5, addballs=4, joker=18,
         time=2.0, downtime=2000),
    dict(shape=minus(rect(0, 0, 14, 14), diamond(7, 7, 2)), squares=("rows", 1, 24), chains=(4, "spread"),
         colours=5, addballs=4, joker=20, time=2.1, downtime=1900),
    # 6 Twin Pools: two basins and a bridge
    dict(shape=union(circle(3.5, 7, 3.6), circle(10.5, 7, 3.6), band(6, 8, 3, 11)), squares=("centre", 2, 14),
         chains=(2, "spread"), colours=5, addballs=3, joker=18, time=2.0, downtime=2000),
    dict(shape=union(rect(0, 0, 6, 6), rect(8, 8, 14, 14), rect(5, 5, 9, 9)), squares=("edge", 2, 14),
         chains=(3, "spread"), colours=5, addballs=4, joker=18, time=2.1, downtime=1900),
    dict(shape=union(rect(0, 1, 5, 13), rect(9, 1, 14, 13), band(3, 3, 5, 9), band(11, 11, 5, 9)),
         squares=("scatter", 2, 16), chains=(3, "spread"), colours=5, addballs=4, joker=20,
         time=2.2, downtime=1800),
    dict(shape=union(circle(7, 3.5, 3.6), circle(7, 10.5, 3.6), rect(6, 6, 8, 8)), squares=("cross", 2, 16),
         chains=(4, "spread"), colours=6, addballs=3, joker=16, time=2.3, downtime=2000),
    dict(shape=minus(union(circle(4, 7, 4.3), circle(10, 7, 4.3)), cells((4, 7), (10, 7))),
         squares=("checker", 2, 18), chains=(4, "spread"), colours=6, addballs=4, joker=18,
         time=2.4, downtime=1800),
    # 7 Lantern Caves: rooms and corridors, six colours
    dict(shape=union(rect(0, 0, 5, 5), rect(9, 0, 14, 5), rect(0, 9, 5, 14), rect(9, 9, 14, 14),
                     band(2, 3), band(11, 12), rect(2, 0, 3, 14), rect(11, 0, 12, 14)),
         squares=("edge", 1, 20), chains=(3, "spread"), colours=5, addballs=4, joker=18,
         time=2.3, downtime=1800),
    dict(shape=minus(rect(0, 0, 14, 14), rect(3, 3, 5, 5), rect(9, 3, 11, 5), rect(3, 9, 5, 11),
                     rect(9, 9, 11, 11)),
         squares=("rows", 2, 16), chains=(3, "spread"), colours=6, addballs=3, joker=16,
         time=2.4, downtime=1900),
    dict(shape=minus(rounded(0, 0, 14, 14, 2), band(4, 4, 0, 10), band(9, 9, 4, 14)),
         squares=("scatter", 2, 18), chains=(4, "spread"), colours=6, addballs=3, joker=16,
         time=2.5, downtime=1800),
    dict(shape=union(ring(7, 7, 7.1, 4.2), rect(6, 0, 8, 14), rect(0, 6, 14, 8)), squares=("cross", 2, 18),
         chains=(4, "spread"), colours=6, addballs=4, joker=18, time=2.6, downtime=1700),
    dict(shape=minus(rect(0, 0, 14, 14), pillars(2, 2, 4, 13, 13), pillars(4, 4, 4, 13, 13)),
         squares=("checker", 2, 20), chains=(5, "spread"), colours=6, addballs=4, joker=20,
         time=2.7, downtime=1600),
    # 8 Amber Meadow: a breather on wide open fields
    dict(shape=rect(0, 1, 14, 13), squares=("scatter", 1, 22), colours=5, addballs=3, joker=15,
         time=2.5, downtime=1900),
    dict(shape=rounded(0, 0, 14, 14, 2), squares=("rows", 1, 24), chains=(2, "spread"), colours=5,
         addballs=4, joker=16, time=2.6, downtime=1800),
    dict(shape=union(circle(7, 7, 7.3), rect(0, 5, 14, 9)), squares=("diagonal", 1, 24), chains=(3, "spread"),
         colours=5, addballs=4, joker=16, time=2.7, downtime=1700),
    dict(shape=minus(rect(0, 0, 14, 14), cells((7, 3), (3, 7), (11, 7), (7, 11))), squares=("scatter", 2, 16),
         chains=(3, "spread"), colours=6, addballs=4, joker=16, time=2.8, downtime=1700),
    dict(shape=rect(0, 0, 14, 14), squares=("checker", 2, 20), chains=(4, "spread"), colours=6, addballs=4,
         joker=18, time=3.0, downtime=1600),
    # 9 Whispering Pines: trees with chained trunks
    dict(shape=union(tree(4, 1, 10, 3), tree(10, 1, 10, 3), band(12, 14, 1, 13)), squares=("centre", 2, 16),
         chains=(3, "line"), colours=6, addballs=3, joker=16, time=2.8, downtime=1700),
    dict(shape=union(tree(7, 0, 11, 4), rect(0, 10, 14, 14)), squares=("edge", 2, 18), chains=(4, "spread"),
         colours=6, addballs=4, joker=18, time=2.9, downtime=1600),
    dict(shape=union(tree(3, 2, 9, 3), tree(7, 0, 11, 3), tree(11, 2, 9, 3), band(13, 14)),
         squares=("scatter", 2, 18), chains=(4, "spread"), colours=6, addballs=4, joker=18,
         time=3.0, downtime=1500),
    dict(shape=minus(rect(0, 0, 14, 14), tree(7, 3, 8, 0)), squares=("columns", 2, 20), chains=(5, "spread"),
         colours=6, addballs=4, joker=18, time=3.1, downtime=1500),
    dict(shape=union(tree(7, 0, 12, 3), rect(0, 12, 14, 14), rect(0, 0, 2, 14), rect(12, 0, 14, 14)),
         squares=("checker", 2, 22), chains=(5, "spread"), colours=6, addballs=4, joker=20,
         time=3.2, downtime=1400),
    # 10 Crystal Brook: rings and crystal frames
    dict(shape=ring(7, 7, 7.2, 2.5), squares=("scatter", 1, 16), chains=(3, "spread"), colours=6, addballs=3,
         joker=16, time=3.0, downtime=1600),
    dict(shape=union(ring(7, 7, 7.2, 4.5), circle(7, 7, 2.3)), squares=("centre", 2, 18), chains=(4, "spread"),
         colours=6, addballs=4, joker=18, time=3.1, downtime=1500),
    dict(shape=minus(rect(0, 0, 14, 14), rect(3, 3, 11, 11)) if False else
         union(minus(rect(0, 0, 14, 14), rect(3, 3, 11, 11)), rect(5, 5, 9, 9)),
         squares=("scatter", 2, 20), chains=(4, "spread"), colours=6, addballs=4, joker=18,
         time=3.2, downtime=1400),
    dict(shape=union(diamond(7, 7, 7), minus(rect(2, 2, 12, 12), diamond(7, 7, 4))), squares=("diagonal", 2, 20),
         chains=(5, "spread"), colours=6, addballs=4, joker=20, time=3.3, downtime=1400),
    dict(shape=minus(circle(7, 7, 7.3), ring(7, 7, 4.2, 3.2)), squares=("checker", 2, 22), chains=(5, "spread"),
         colours=6, addballs=4, joker=20, time=3.4, downtime=1300),
    # 11 Misty Terraces: bands with gaps
    dict(shape=union(band(0, 3, 0, 11), band(5, 8, 3, 14), band(10, 13, 0, 11), rect(0, 0, 1, 13)),
         squares=("rows", 2, 18), chains=(4, "spread"), colours=6, addballs=4, joker=18,
         time=3.2, downtime=1400),
    dict(shape=minus(rect(0, 0, 14, 14), band(3, 3, 2, 14), band(7, 7, 0, 12), band(11, 11, 2, 14)),
         squares=("scatter", 2, 20), chains=(4, "spread"), colours=6, addballs=4, joker=18,
         time=3.3, downtime=1300),
    dict(shape=union(stairs(5, 2, 0, 0), stairs(5, 2, 0, 5)), squares=("diagonal", 2, 20), chains=(5, "spread"),
         colours=6, addballs=4, joker=20, time=3.4, downtime=1300),
    dict(shape=minus(rect(0, 0, 14, 14), band(4, 4, 0, 5), band(4, 4, 9, 14), band(10, 10, 3, 11)),
         squares=("rows", 2, 22), chains=(5, "spread"), colours=6, addballs=5, joker=20,
         time=3.5, downtime=1200),
    dict(shape=minus(rect(0, 0, 14, 14), pillars(0, 3, 2, 14, 3), pillars(1, 7, 2, 14, 7), pillars(0, 11, 2, 14, 11)),
         squares=("centre", 2, 24), chains=(6, "spread"), colours=6, addballs=5, joker=20,
         time=3.6, downtime=1200),
    # 12 Ember Canyon: a winding canyon and islands, seven colours
    dict(shape=union(rect(0, 0, 14, 4), rect(0, 10, 14, 14), rect(5, 4, 9, 10)), squares=("edge", 2, 20),
         chains=(4, "spread"), colours=6, addballs=4, joker=18, time=3.4, downtime=1300),
    dict(shape=minus(rect(0, 0, 14, 14), diamond(3, 7, 2), diamond(11, 7, 2)), squares=("scatter", 2, 22),
         chains=(5, "spread"), colours=7, addballs=3, joker=14, time=3.5, downtime=1400),
    dict(shape=union(circle(3, 3, 3.3), circle(11, 3, 3.3), circle(3, 11, 3.3), circle(11, 11, 3.3),
                     circle(7, 7, 3.3), rect(3, 6, 11, 8)),
         squares=("centre", 2, 22), chains=(5, "spread"), colours=7, addballs=3, joker=14,
         time=3.6, downtime=1300),
    dict(shape=minus(rect(0, 0, 14, 14), rect(6, 2, 8, 12), band(7, 7, 2, 12)) if False else
         minus(rect(0, 0, 14, 14), rect(6, 3, 8, 11)),
         squares=("columns", 2, 24), chains=(6, "spread"), colours=7, addballs=4, joker=16,
         time=3.7, downtime=1200),
    dict(shape=minus(rect(0, 0, 14, 14), pillars(2, 2, 4, 12, 12), cells((7, 7))), squares=("checker", 2, 26),
         chains=(6, "spread"), colours=7, addballs=4, joker=16, time=3.8, downtime=1100),
    # 13 Starfall Peaks: stars and many chains
    dict(shape=star(7, 7.5, 7.4, 3.6), squares=("centre", 2, 22), chains=(5, "spread"), colours=6, addballs=4,
         joker=18, time=3.6, downtime=1200),
    dict(shape=union(star(7, 7.5, 7.4, 3.6), circle(7, 7.5, 4.5)), squares=("edge", 2, 24), chains=(6, "spread"),
         colours=6, addballs=5, joker=18, time=3.7, downtime=1100),
    dict(shape=union(star(4, 4, 4.3, 2.1), star(10, 4, 4.3, 2.1), star(7, 10, 4.6, 2.3), rect(3, 4, 11, 8)),
         squares=("scatter", 2, 24), chains=(6, "spread"), colours=7, addballs=4, joker=16,
         time=3.8, downtime=1100),
    dict(shape=minus(rect(0, 0, 14, 14), star(7, 7.5, 3.3, 1.5)), squares=("diagonal", 2, 26), chains=(6, "spread"),
         colours=7, addballs=4, joker=16, time=3.9, downtime=1000),
    dict(shape=union(star(7, 7.5, 7.6, 4.2), rect(0, 12, 14, 14)), squares=("checker", 2, 28), chains=(7, "spread"),
         colours=7, addballs=4, joker=16, time=4.0, downtime=1000),
    # 14 Heart of the Mountain: the finale
    dict(shape=heart(7, 6.2, 6.6), squares=("centre", 2, 24), chains=(5, "spread"), colours=6, addballs=4,
         joker=18, time=3.8, downtime=1000),
    dict(shape=minus(rounded(0, 0, 14, 14, 3), heart(7, 6.5, 2.2)), squares=("centre", 2, 26), chains=(6, "spread"),
         colours=7, addballs=4, joker=16, time=3.9, downtime=950),
    dict(shape=union(heart(4, 5, 3.6), heart(10, 9, 3.6), rect(4, 6, 10, 8)), squares=("scatter", 2, 26),
         chains=(6, "spread"), colours=7, addballs=4, joker=16, time=4.0, downtime=900),
    dict(shape=minus(rect(0, 0, 14, 14), ring(7, 7, 3.2, 2.2), pillars(1, 1, 6, 13, 13)), squares=("checker", 2, 28),
         chains=(7, "spread"), colours=7, addballs=5, joker=16, time=4.2, downtime=850),
    dict(shape=union(heart(7, 6.5, 6.9), rect(0, 0, 14, 1)), squares=("cross", 2, 30), chains=(8, "spread"),
         colours=7, addballs=5, joker=18, time=4.5, downtime=800),
]

STAGE_NAMES = ["Pebble Beach", "Mossy Steps", "Fern Hollow", "Rushing Falls", "Sunstone Ridge", "Twin Pools",
               "Lantern Caves", "Amber Meadow", "Whispering Pines", "Crystal Brook", "Misty Terraces",
               "Ember Canyon", "Starfall Peaks", "Heart of the Mountain"]

BONUS_FIGURES = [["1.1", ".1.", "1.1"], [".1.", "111", ".1."], ["111", "1.1", "111"], ["11.", "1.1", ".11"],
                 ["...", "111", "..."], ["1..", ".1.", "..1"], [".1.", "1.1", ".1."]]

# ---------------------------------------------------------------- writing


# Difficulty in waves: a base per stage (the fifth and eighth stages are breathers) plus a rise over
# the five levels of a stage, the fifth a little harder still.
STAGE_BASE = [0.0, 0.08, 0.16, 0.26, 0.2, 0.34, 0.44, 0.36, 0.52, 0.6, 0.68, 0.76, 0.84, 0.92]


def difficulty(index):
    stage, place = divmod(index, 5)
    return min(1.0, STAGE_BASE[stage] + 0.025 * place + (0.03 if place == 4 else 0.0))


def tile_weight(index):
    """Tile layers to wash in puzzle mode (a chained ball counts three: a chain and two layers)."""
    return int(round(7 + 14 * difficulty(index)))


# The classic curve: the moves the bot should need in 9 of 10 classic games of each level. The
# tutorials are short; the pack rises from about twenty moves to about a hundred in the same waves
# as the other modes, every stage opening with a breather and closing with a harder fifth level.
TUTORIAL_CLASSIC_MOVES = [7, 8, 9, 10]
CLASSIC_STEP = 0.035   # each level of a stage a little longer than the one before
CLASSIC_FIFTH = 0.04   # and the fifth longer again


def classic_moves(index):
    if index < len(TUTORIAL_CLASSIC_MOVES):
        return TUTORIAL_CLASSIC_MOVES[index]
    stage, place = divmod(index, 5)
    wave = STAGE_BASE[stage] + CLASSIC_STEP * place + (CLASSIC_FIFTH if place == 4 else 0.0)
    return int(round(8 + 52 * wave))


# The classic goal (balls4destroy) of every level. Every removed piece takes the combo off the bar,
# so a chain of removing moves empties a bar at once, and what a goal asks for depends on the board
# more than on its size: python3 tools/levels/tune_classic.py plays every level with the bot and
# prints this table, the goals whose p90 and median moves fit classic_moves(index) best.
CLASSIC_GOALS = [
    5, 14, 60, 70, 120, 75, 285, 150, 225, 385, 135, 150, 345, 175,
    330, 215, 405, 360, 410, 445, 160, 100, 165, 160, 385, 125, 205, 335,
    145, 230, 350, 425, 450, 340, 515, 385, 445, 355, 535, 500, 365, 285,
    395, 410, 470, 325, 205, 380, 300, 360, 355, 485, 270, 545, 525, 445,
    510, 390, 560, 550, 245, 275, 275, 540, 380, 330, 510, 200, 490, 435,
]


# Moves the bot needed in 9 of 10 puzzle games of each level (python3 tools/levels/balance.py prints them
# as "p90 moves"). A person thinks between moves and the clock runs while nobody moves, so the clock
# allows a minute plus three seconds for each of those moves.
PUZZLE_MOVES = [
    3, 4, 35, 55, 48, 34, 82, 36, 48, 74, 33, 90, 70, 49,
    95, 82, 88, 53, 85, 81, 25, 44, 47, 41, 83, 82, 75, 111,
    48, 61, 102, 74, 90, 61, 47, 121, 57, 86, 115, 91, 78, 167,
    117, 76, 96, 76, 68, 84, 67, 78, 81, 101, 52, 97, 90, 105,
    109, 84, 113, 94, 90, 180, 71, 101, 97, 80, 99, 76, 102, 72,
]


def puzzle_minutes(index):
    seconds = 60 + 3.0 * PUZZLE_MOVES[index]
    if index < 15:  # newcomers get half as much again
        seconds *= 1.5
    if index >= 5:  # the game stretches the clock of the early levels itself
        q = (70 - index) / 65.0
        seconds /= 1 + 5 * q ** 3
    return max(0.5, math.ceil(seconds / 6.0) / 10.0)


def level_text(index, spec):
    rng = random.Random(1000 + index)
    board = Board(spec["shape"])
    sq = spec.get("squares")
    ch = spec.get("chains")
    if sq and sq[0] == "cells":
        for (x, y) in sq[1]:
            board.cell[y][x] = "1"
    elif sq:
        chains = min(ch[0], 1 + index // 25) if ch else 0
        layers = sq[1]
        amount = max(4, (tile_weight(index) - 3 * chains) // layers)
        apply_squares(board, sq[0], layers, rng, amount)
        ch = (chains, ch[1]) if ch else None
    if ch:
        apply_chains(board, ch[0], spec["colours"], rng, ch[1])
    place_balls(board, spec.get("balls", []))
    lines = []
    if spec.get("hammer", True) is False:
        lines.append("hammer=no")
    lines.append("colors=%d" % spec["colours"])
    if spec.get("downtime"):
        lines.append("leveldowntime=%d" % spec["downtime"])
    lines.append("addballs=%d" % spec["addballs"])
    lines.append("balls4destroy=%d" % CLASSIC_GOALS[index])
    lines.append("jockerfrequency=%d" % spec["joker"])
    lines.append("level=")
    lines.extend(board.rows())
    # The layout ends at an empty line; the keys below it must not be read as cells.
    lines.append("")
    lines.append("time4level=%s" % fmt(spec["time"] if index < 4 else puzzle_minutes(index)))
    lines.append("bonusfigure=")
    lines.extend(spec.get("bonus") or BONUS_FIGURES[index % len(BONUS_FIGURES)])
    return "\r\n".join(lines) + "\r\n", board


def fmt(v):
    s = ("%.2f" % v).rstrip("0").rstrip(".")
    return s


# Help boards. Marks: u/y the demonstrated piece (moved first / second), v/z their targets,
# x the cursor's resting point (a hole). Lower-case letters are balls on clean squares,
# upper-case letters balls on a tile (shown in puzzle mode). Boards 5..8 move plain balls,
# boards 1..4 a special piece; in both the move u -> v (and y -> z) completes a line.
HELP = {
    # special pieces: the piece at u completes a pair next to v; y waits out of the blast
    1: ["x......",
        "0b0c0d0",
        "0bBv0u0",
        "c0d00b0",
        "0c00d0y",
        "00b0z00"],
    2: ["x0c0d00",
        "00d0c00",
        "cCv0u00",
        "0d00b00",
        "00b000y",
        "0c0dz00"],
    3: ["x00b000",
        "0dC0d00",
        "00v0u00",
        "0bc0b00",
        "0b000cy",
        "c00d0z0"],
    4: ["x0b0c00",
        "0d0b0d0",
        "0bBv0u0",
        "00c0d00",
        "0c00b0y",
        "0d0c0z0"],
    # plain balls: u (the colour of 'a') completes a pair at v, then y completes one at z
    5: ["x000000",
        "0aAv0u0",
        "00b0c00",
        "0y0d0b0",
        "zaA0c00",
        "0c0b0d0"],
    6: ["x0b0000",
        "0c0a0c0",
        "0d0A0u0",
        "b00v000",
        "0y00b00",
        "0zaA0d0"],
    7: ["x000c00",
        "0a0b0d0",
        "00A0u00",
        "0b0v0c0",
        "c0000y0",
        "0d0zaA0"],
    8: ["x0c0b00",
        "0a0c0d0",
        "0A0b000",
        "0v000u0",
        "0c0y0c0",
        "zAa0d00"],
}


def help_text(number):
    rows = HELP[number]
    grid = [["." for _ in range(LAYOUT_W)] for _ in range(LAYOUT_H)]
    # Centre the small board on the middle of the screen (layout column 9, row 7).
    top = 7 - len(rows) // 2
    left = 9 - len(rows[0]) // 2
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            grid[top + j][left + i] = ch
    lines = ["level="] + ["".join(r) for r in grid]
    return "\r\n".join(lines) + "\r\n"


def find_lines(grid, wild):
    """Cells in runs of three or more of one colour (wild pieces join any colour and each other)."""
    h, w = len(grid), len(grid[0])
    marked = set()
    for y in range(h):
        for x in range(w):
            k = grid[y][x]
            if k is None:
                continue
            for dx, dy in ((1, 1), (1, -1), (1, 0), (0, 1)):
                def match(xx, yy):
                    if not (0 <= xx < w and 0 <= yy < h) or grid[yy][xx] is None:
                        return False
                    v = grid[yy][xx]
                    return v == k or v == wild if k != wild else v == wild
                sx, sy = x, y
                while match(sx - dx, sy - dy):
                    sx, sy = sx - dx, sy - dy
                run = []
                while match(sx, sy):
                    run.append((sx, sy))
                    sx, sy = sx + dx, sy + dy
                if len(run) >= 3 and match(x, y):
                    marked.update(run)
    return marked


def reachable(rows, grid, start, goal):
    seen, todo = {start}, [start]
    while todo:
        x, y = todo.pop()
        if (x, y) == goal:
            return True
        for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
            if 0 <= ny < len(rows) and 0 <= nx < len(rows[0]) and (nx, ny) not in seen \
                    and rows[ny][nx] not in ".x" and grid[ny][nx] is None:
                seen.add((nx, ny))
                todo.append((nx, ny))
    return False


def check_help(number):
    """Both demonstration moves are possible and each completes a line; nothing is lined up at load."""
    rows = HELP[number]
    special = number <= 4
    wild = "W"
    grid = [[None] * len(rows[0]) for _ in rows]
    marks = {}
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c in "uvxyz":
                marks[c] = (x, y)
            if c.isalpha() and c.lower() in "abcdefghijklmnop" and c not in "uvxyz":
                grid[y][x] = c.lower()
            elif c in "uy":
                grid[y][x] = wild if special else "a"
    problems = []
    if find_lines(grid, wild):
        problems.append("help%d: a line stands at load" % number)
    moves = [("u", "v")] + ([] if special else [("y", "z")])
    for a, b in moves:
        (ax, ay), (bx, by) = marks[a], marks[b]
        if not reachable(rows, grid, (ax, ay), (bx, by)):
            problems.append("help%d: %s cannot reach %s" % (number, a, b))
            continue
        grid[by][bx], grid[ay][ax] = grid[ay][ax], None
        lines = find_lines(grid, wild)
        if (bx, by) not in lines:
            problems.append("help%d: moving %s to %s makes no line" % (number, a, b))
        if special and marks["y"] in lines:
            problems.append("help%d: y is taken by the first line" % number)
        for (x, y) in lines:
            grid[y][x] = None
    if special:
        (vx, vy), (yx, yy) = marks["v"], marks["y"]
        if (vx - yx) ** 2 + (vy - yy) ** 2 < 8:
            problems.append("help%d: y stands inside the blast" % number)
    return problems


def all_files():
    files = {}
    boards = {}
    specs = TUTORIALS + [dict(p, name="pack1_%02d" % (i + 1)) for i, p in enumerate(PACK)]
    assert len(specs) == 70, len(specs)
    assert len(CLASSIC_GOALS) == 70 and min(CLASSIC_GOALS) > 0, "one classic goal per level"
    for index, spec in enumerate(specs):
        text, board = level_text(index, spec)
        files[spec["name"] + ".lvl"] = text
        boards[spec["name"]] = board
    for n in range(1, 9):
        files["help%d.lvl" % n] = help_text(n)
    return files, boards, specs


def check(files, boards, specs):
    problems = []
    for n in HELP:
        problems.extend(check_help(n))
    for index, spec in enumerate(specs):
        board = boards[spec["name"]]
        rows = board.rows()
        n = board.count()
        squares = sum(1 for r in rows for c in r if c in "12AZBCDEFGH")
        if n < 30:
            problems.append("%s: only %d cells" % (spec["name"], n))
        if squares == 0:
            problems.append("%s: no tiles, puzzle mode would be won at once" % spec["name"])
        grid = [[(c.lower() if c in "abcdefghABCDEFGH" else "a" if c == "Z" else None) for c in r] for r in rows]
        if find_lines(grid, "W"):
            problems.append("%s: balls of the layout stand in a line at load" % spec["name"])
        for r in rows:
            if r[0] != "." or any(c != "." for c in r[16:]):
                problems.append("%s: a cell lies under the progress bar or the panel" % spec["name"])
        for r in rows:
            for c in r:
                if c in "ABCDEFGH" and "ABCDEFGH".index(c) >= spec["colours"]:
                    problems.append("%s: chained ball of a colour not in play" % spec["name"])
    return problems


def main():
    files, boards, specs = all_files()
    problems = check(files, boards, specs)
    for p in problems:
        print("problem:", p)
    if "--check" in sys.argv:
        for index, spec in enumerate(specs):
            b = boards[spec["name"]]
            print("%2d %-8s cells %3d colours %d" % (index, spec["name"], b.count(), spec["colours"]))
            if "--show" in sys.argv:
                print("\n".join(b.rows()))
        return 1 if problems else 0
    if problems:
        return 1
    os.makedirs(OUT, exist_ok=True)
    for name, text in sorted(files.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(text.encode("latin-1"))
    print("wrote %d files to %s" % (len(files), OUT))
    return 0


if __name__ == "__main__":
    sys.exit(main())
