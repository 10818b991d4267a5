#!/usr/bin/env python3
"""Writes the default per-level records "hi_expert.txt" (classic), "hi_normal.txt" (puzzle)
and "hi_zen.txt" (action) into data/.

Each file holds, for level i = 1..70, the keys combo<i>=, score<i>=, time<i>= (minutes and
seconds written as m.ss) and move<i>=. The game softens them when it builds the records of
a new installation (two thirds of the score, twice the time, one and a half times the
moves), so the values here are what a good player reaches. They follow the levels: the classic
moves follow the classic curve of make_levels.py, bigger goals and more colours ask for more moves
and time and give bigger scores.

Run from the source root:   python3 tools/levels/make_records.py
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_levels  # noqa: E402

ROOT = make_levels.ROOT


def mss(seconds):
    seconds = int(round(seconds))
    return "%d.%02d" % (seconds // 60, seconds % 60)


def records(mode):
    _, boards, specs = make_levels.all_files()
    rng = random.Random(77 + mode)
    lines = []
    for index, spec in enumerate(specs):
        i = index + 1
        cells = boards[spec["name"]].count()
        tiles = sum(1 for r in boards[spec["name"]].rows() for c in r if c in "12ZABCDEFGH")
        colours = spec["colours"]
        wobble = 0.9 + 0.2 * rng.random()
        if mode == 0:  # classic: empty the bar; a removed ball scores ten times what it takes off it
            moves = make_levels.classic_moves(index) * 0.75
            combo = 2 + index // 14 + (1 if colours >= 6 else 0)
            score = make_levels.CLASSIC_GOALS[index] * 11 + 300 * (index // 10)
            secs = 45 + moves * 3.2
        elif mode == 1:  # puzzle: clean every tile
            moves = make_levels.PUZZLE_MOVES[index] * 0.55 + 4
            combo = 2 + index // 18
            balls = moves * 3.3
            score = balls * 10 * (1 + 0.1 * combo) + tiles * 100 + 400
            secs = 40 + moves * 3.0
        else:  # action: the goal grows with the board and the level
            goal = cells * math.sqrt(index + 1)
            balls = goal * 0.8
            moves = balls / 4.2
            combo = 3 + index // 12
            score = balls * 10 * (1 + 0.15 * combo)
            secs = 60 + moves * 2.2
        score *= 1 + index / 40.0  # later levels are played by practised players with longer combos
        moves = int(round(moves * wobble))
        score = int(round(score * wobble / 10.0)) * 10
        secs = secs * wobble
        lines.append("combo%d=%d" % (i, combo))
        lines.append("score%d=%d" % (i, score))
        lines.append("time%d=%s" % (i, mss(secs)))
        lines.append("move%d=%d" % (i, moves))
    return "\r\n".join(lines) + "\r\n"


def main():
    for mode, name in enumerate(["hi_expert.txt", "hi_normal.txt", "hi_zen.txt"]):
        with open(os.path.join(ROOT, "data", name), "wb") as f:
            f.write(records(mode).encode("latin-1"))
    print("wrote the default records")
    return 0


if __name__ == "__main__":
    sys.exit(main())
