#!/usr/bin/env python3
"""Picks the classic goal of every level so that the bot's p90 moves follow the classic curve.

In classic mode every removed piece takes the combo off the bar (from the seventh level on), so a
chain of removing moves empties a small bar at once and the moves a level lasts hardly follow its
goal. The bot's moves do not depend on the bar, so `classic-drain` plays each level once per seed on
a bar that never empties and reports how much the bar had lost after every move; the moves that any
goal needs with that seed follow from it. This script takes, per level, the goal whose p90 moves
(the ninth of ten games, as in BALANCE.md) and median moves fit `make_levels.classic_moves(index)`
best, without letting the wins fall below the level's target, and prints the table CLASSIC_GOALS
for make_levels.py. It plays thirty seeds by default, so that the goals do not follow the luck of the
ten that BALANCE.md shows.

Run from the source root after building the tool (cmake --build build --target classic-drain):
    python3 tools/levels/tune_classic.py [--levels 0-69] [--jobs 2] [--games 30]
"""
import argparse
import concurrent.futures
import json
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import balance  # noqa: E402
import make_levels  # noqa: E402

ROOT = make_levels.ROOT
NEVER = 10 ** 6
MEDIAN_SHARE = 0.6


def curves(tool, data, level, games, seed, moves):
    cmd = [tool, "--data", data, "--level", str(level), "--games", str(games), "--seed", str(seed),
           "--moves", str(moves)]
    out = subprocess.run(cmd, capture_output=True, text=True, timeout=3600, check=True)
    return [json.loads(line) for line in out.stdout.splitlines() if line.startswith("{")]


def moves_needed(curve, goal):
    """Moves after which the bar of `goal` is empty, NEVER when the board filled up first."""
    for m, lost in enumerate(curve["drain"]):
        if lost >= goal:
            return m
    return NEVER


def percentile(values, share):
    values = sorted(values)
    return values[max(0, -(-share * len(values) // 10) - 1)]


def pick_goal(games, want, need_wins):
    """The goal (a multiple of 5 from 50 on) that fits the curve best while keeping `need_wins` wins.

    A half-full board at the start lets a chain of combos drain a few hundred balls in the first dozen
    moves, so many levels end either at once or much later. The fit therefore asks for both: the p90
    moves near `want` and the median near MEDIAN_SHARE of it (what the steady play after the chain gives),
    measured as squared ratios.
    """
    best = None
    top = max(max(g["drain"]) for g in games)
    steps = list(range(5, 50)) + list(range(50, int(top) + 5, 5))  # fine steps on the small bars
    for goal in steps:
        needed = [moves_needed(g, goal) for g in games]
        wins = sum(1 for n in needed if n < NEVER)
        if wins < need_wins:
            break
        slow, middle = percentile(needed, 9), percentile(needed, 5)
        if slow >= NEVER:
            break
        miss = math.log(slow / want) ** 2 + math.log(middle / (MEDIAN_SHARE * want)) ** 2
        if best is None or miss < best[0]:
            best = (miss, goal, slow, middle, wins)
    return best


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tool", default=os.path.join(ROOT, "build", "classic-drain"))
    ap.add_argument("--data", default=os.path.join(ROOT, "data"))
    ap.add_argument("--levels", default="0-69")
    ap.add_argument("--games", type=int, default=30)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    args = ap.parse_args()
    if not os.access(args.tool, os.X_OK):
        sys.exit("classic-drain not found; build it (cmake --build build --target classic-drain)")
    levels = balance.parse_range(args.levels, 70)
    # Play on well past the wanted moves, so that a board that fills up late still counts as a loss.
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = {l: pool.submit(curves, args.tool, args.data, l, args.games, args.seed,
                                  2 * make_levels.classic_moves(l) + 40) for l in levels}
        results = {l: f.result() for l, f in futures.items()}
    goals = list(make_levels.CLASSIC_GOALS)
    for l in levels:
        want = make_levels.classic_moves(l)
        need = balance.target(l, args.games) + 1  # one game to spare: the bar lags the moves a little
        miss, goal, slow, middle, wins = pick_goal(results[l], want, need)
        goals[l] = goal
        print("%2d %-8s want %3d moves: goal %4d gives p90 %3d, median %3d, %2d/%d wins (was %4d)"
              % (l, balance.level_name(l), want, goal, slow, middle, wins, args.games,
                 make_levels.CLASSIC_GOALS[l]))
    print("\nCLASSIC_GOALS = [")
    for i in range(0, 70, 14):
        print("    " + ", ".join("%d" % g for g in goals[i:i + 14]) + ",")
    print("]")
    return 0


if __name__ == "__main__":
    sys.exit(main())
