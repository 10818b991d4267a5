#!/usr/bin/env python3
"""The last table of `make bench`: every figure of the performance goals against its goal.

Reads what the benchmarks left in a results folder: FIGURE lines in *.txt (bench_startup,
game_figures.sh) and google-benchmark JSON files (bench_frame). Usage: summary.py RESULTS-FOLDER."""
import glob
import json
import os
import sys

folder = sys.argv[1]
figures = {}
for path in glob.glob(os.path.join(folder, "*.txt")):
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "FIGURE":
                figures[parts[1]] = float(parts[2])

frames = {}
frame_json = os.path.join(folder, "bench_frame.json")
if os.path.exists(frame_json):
    with open(frame_json) as f:
        for b in json.load(f).get("benchmarks", []):
            frames[b["name"]] = b
paged = frames.get("BM_BusiestGameFrame")
own = frames.get("BM_BusiestGameFrameOwnTextures")
if paged:
    figures["frame_draw_calls"] = paged["draw_calls"]
    figures["frame_allocs"] = paged["allocs_per_frame"]
    figures["frame_cpu_us"] = paged["cpu_time"]
if own:
    figures["frame_cpu_us_own_textures"] = own["cpu_time"]
    figures["frame_draw_calls_own_textures"] = own["draw_calls"]


def show(value, fmt):
    return "n/a" if value is None else fmt % value


rows = []


def row(measure, was, key, fmt, goal_text, met):
    value = figures.get(key)
    verdict = "n/a" if value is None else ("met" if met(value) else "NOT MET")
    rows.append((measure, was, show(value, fmt), goal_text, verdict))


row("Launch to the level map, every key pressed", "5.1 s", "launch_to_map_s", "%.2f s", "<= 1.8 s",
    lambda v: v <= 1.8)
row("  of it loading work (bench_startup)", "-", "loading_wall_ms", "%.0f ms", "<= 500 ms",
    lambda v: v <= 500)
row("  processor time of the loading, all threads", "-", "loading_cpu_ms", "%.0f ms", "(count)",
    lambda v: True)
row("Draw calls of the busiest game frame", "67", "frame_draw_calls", "%.0f", "<= 30", lambda v: v <= 30)
row("  allocations per frame", "0", "frame_allocs", "%.0f", "0", lambda v: v == 0)
cpu_own = figures.get("frame_cpu_us_own_textures")
row("  CPU of the frame (own textures: %s)" % show(cpu_own, "%.0f us"), "-", "frame_cpu_us", "%.0f us",
    "no worse", lambda v: cpu_own is None or v <= cpu_own * 1.1)
row("CPU of the game's thread on the level map", "6.9 %", "map_thread_cpu_percent", "%.1f %%", "<= 3 %",
    lambda v: v <= 3)
row("Whole process on the level map", "104 %", "map_process_cpu_percent", "%.1f %%", "<= 50 %",
    lambda v: v <= 50)
row("Resident memory on the level map", "165 MB", "map_rss_mb", "%.0f MB", "<= 110 MB", lambda v: v <= 110)

widths = [max(len(r[i]) for r in rows + [("Measure", "Was", "Now", "Goal", "")]) for i in range(5)]
header = ("Measure", "Was", "Now", "Goal", "")
print()
print("  ".join(h.ljust(w) for h, w in zip(header, widths)))
print("  ".join("-" * w for w in widths))
for r in rows:
    print("  ".join(c.ljust(w) for c, w in zip(r, widths)))
