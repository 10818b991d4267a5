#!/usr/bin/env python3
"""Plays every level in every mode with the simulator's bot and writes data/levels/BALANCE.md.

Each level is played by `pebblecraft-sim bot` with ten seeds per mode. The table shows how many of
the ten games the bot won and the moves it needed in nine of them, and marks the levels below their
target: the tutorials should be won in 9 of 10 games, the pack levels in 6 of 10 at the start of the
pack, falling evenly to 2 of 10 on the last level. It also marks the classic results far from the
classic curve of make_levels.py (the moves the classic goals are tuned for).

Run from the source root after building the simulator:
    python3 tools/levels/balance.py [--sim build/pebblecraft-sim] [--games 10] [--jobs 2]
    python3 tools/levels/balance.py --levels 0-9 --modes 0   # a part, printed only
"""
import argparse
import concurrent.futures
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_levels  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MODES = ["classic", "puzzle", "action"]


def level_name(level):
    return "tut1_%02d" % (level + 1) if level < 4 else "pack1_%02d" % (level - 3)


def target(level, games):
    """Wins the bot should reach in `games` games."""
    if level < 4:
        share = 0.9
    else:
        share = 0.6 - 0.4 * (level - 4) / 65.0
    return max(1, int(share * games + 0.5))


def off_curve(level, p90):
    """The classic p90 moves stray from the classic curve by more than half (or a third below it)."""
    want = make_levels.classic_moves(level)
    return p90 > want * 1.5 or p90 < want / 1.5


def find_sim(given):
    candidates = [given] if given else []
    candidates += [os.path.join(ROOT, "build", "tools", "sim", "pebblecraft-sim"),
                   os.path.join(ROOT, "build", "pebblecraft-sim")]
    for c in candidates:
        if c and os.path.isfile(c) and os.access(c, os.X_OK):
            return c
    sys.exit("pebblecraft-sim not found; build it (cmake --build build --target pebblecraft-sim) or pass --sim")


def play(sim, data, mode, level, games, seed):
    cmd = [sim, "bot", "--data", data, "--mode", str(mode), "--level", str(level), "--games", str(games),
           "--seed", str(seed)]
    out = subprocess.run(cmd, capture_output=True, text=True, timeout=3600)
    if out.returncode != 0:
        return dict(mode=mode, level=level, error=(out.stderr or out.stdout).strip()[:200])
    lines = [l for l in out.stdout.splitlines() if l.strip().startswith("{")]
    per_game = [json.loads(l) for l in lines[:-1]]
    summary = json.loads(lines[-1]) if lines else {}
    moves = sorted(g.get("movesMade", 0) for g in per_game)
    # The moves needed in 9 of 10 games: the puzzle clocks are measured from it.
    p90 = moves[max(0, -(-9 * len(moves) // 10) - 1)] if moves else 0
    median = moves[max(0, -(-len(moves) // 2) - 1)] if moves else 0
    return dict(mode=mode, level=level, wins=int(summary.get("wins", 0)), games=int(summary.get("games", games)),
                score=summary.get("meanScore", 0), p90=p90, median=median)


def parse_range(text, top):
    out = []
    for part in text.split(","):
        if "-" in part:
            a, b = part.split("-")
            out.extend(range(int(a), int(b) + 1))
        else:
            out.append(int(part))
    return [x for x in out if 0 <= x < top]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--sim")
    ap.add_argument("--data", default=os.path.join(ROOT, "data"))
    ap.add_argument("--games", type=int, default=10)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--levels", default="0-69")
    ap.add_argument("--modes", default="0-2")
    args = ap.parse_args()
    sim = find_sim(args.sim)
    levels = parse_range(args.levels, 70)
    modes = parse_range(args.modes, 3)
    whole = len(levels) == 70 and len(modes) == 3

    jobs = [(m, l) for l in levels for m in modes]
    results = {}
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = {pool.submit(play, sim, args.data, m, l, args.games, args.seed): (m, l) for (m, l) in jobs}
        for f in concurrent.futures.as_completed(futures):
            r = f.result()
            results[(r["mode"], r["level"])] = r
            if "error" in r:
                print("level %d mode %d: %s" % (r["level"], r["mode"], r["error"]), file=sys.stderr)

    rows = []
    short = 0
    strays = 0
    for l in levels:
        cells = []
        for m in modes:
            r = results[(m, l)]
            if "error" in r:
                cells.append("error")
                short += 1
                continue
            need = target(l, r["games"])
            mark = "" if r["wins"] >= need else " **low**"
            if mark:
                short += 1
            if m == 0 and off_curve(l, r["p90"]):
                mark += " *off*"
                strays += 1
            if m == 0:  # the classic goals are fitted to the median as well
                cells.append("%d/%d, %d (%d)%s" % (r["wins"], r["games"], r["p90"], r["median"], mark))
            else:
                cells.append("%d/%d, %d%s" % (r["wins"], r["games"], r["p90"], mark))
        rows.append("| %d | %s | %d/%d | %d | %s |" % (l + 1, level_name(l), target(l, args.games), args.games,
                                                       make_levels.classic_moves(l), " | ".join(cells)))
    header = ["| # | Level | Target | Classic moves | " +
              " | ".join("%s: wins, p90 moves%s" % (MODES[m], " (median)" if m == 0 else "") for m in modes) + " |",
              "|---|---|---|---|" + "---|" * len(modes)]
    table = "\n".join(header + rows)
    print(table)
    print("\n%d of %d results below target, %d classic levels off the curve" % (short, len(jobs), strays))
    if whole:
        text = ("# Level balance\n\n"
                "Wins of the simulator's bot in %d games per level and mode (seeds %d to %d), and the moves it\n"
                "needed in 9 of 10 games (p90 moves). Targets: 9 of 10 on the tutorials, 6 of 10 on pack1_01 falling evenly to 2 of 10 on\n"
                "pack1_66; results below target are marked **low**. Classic moves: the p90 moves the classic\n"
                "goals are tuned for (`tools/levels/tune_classic.py`, which fits the median to three fifths\n"
                "of them as well); a classic p90 more than half above or a third below them is marked *off*.\n"
                "Regenerate with\n"
                "`python3 tools/levels/balance.py` after building `pebblecraft-sim`.\n\n%s\n\n"
                "%d of %d results below target, %d classic levels off the curve.\n"
                % (args.games, args.seed, args.seed + args.games - 1, table, short, len(jobs), strays))
        with open(os.path.join(ROOT, "data", "levels", "BALANCE.md"), "w") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
