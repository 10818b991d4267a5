#!/usr/bin/env python3
"""The last table of `make bench`: every figure of the performance goals against its goal.

Reads what the benchmarks left in a results folder: FIGURE lines in *.txt (bench_startup,
game_figures.sh) and google-benchmark JSON files (bench_frame). Usage: summary.py RESULTS-FOLDER."""
import glob
import json
import os
import sys

folder = sys.argv[1]


def read_figures(where):
    found = {}
    for path in glob.glob(os.path.join(where, "*.txt")):
        with open(path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 3 and parts[0] == "FIGURE":
                    found[parts[1]] = float(parts[2])
    # The processor time of the whole process per frame on the map, from its share of a core and the rate.
    if found.get("map_fps") and "map_process_cpu_percent" in found:
        found["map_cpu_ms_per_frame"] = found["map_process_cpu_percent"] * 10 / found["map_fps"]
    return found


figures = read_figures(folder)
# The figures of a build of earlier code measured in the same run (make bench BENCH_BEFORE=...), if any.
before = read_figures(os.path.join(folder, "before"))

def benchmarks(name):
    """The runs a benchmark wrote; none (and a line saying so) when it ended before finishing its file."""
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return []
    try:
        with open(path) as f:
            return json.load(f).get("benchmarks", [])
    except ValueError:
        print("summary: %s is unfinished (the benchmark stopped); its figures are left out" % name)
        return []


frames = {}
for b in benchmarks("bench_frame.json"):
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
for b in benchmarks("bench_autosave.json"):
    if b["name"].startswith("BM_AutosaveFrame"):
        figures["autosave_ms"] = b["real_time"]
        figures["autosave_longest_ms"] = b["longest_ms"]


def show(value, fmt):
    return "n/a" if value is None else fmt % value


rows = []


def row(measure, was, key, fmt, goal_text, met):
    value = figures.get(key)
    if value is None:
        verdict = "n/a"
    elif goal_text == "(count)":
        verdict = ""
    else:
        verdict = "met" if met(value) else "NOT MET"
    rows.append((measure, was, show(before.get(key), fmt), show(value, fmt), goal_text, verdict))


def no_worse_than_before(key, slack):
    return lambda v: key not in before or v <= before[key] * slack


row("Launch to the level map, every key pressed", "5.1 s", "launch_to_map_s", "%.2f s",
    "<= 1.8 s, no worse", lambda v: v <= 1.8 and no_worse_than_before("launch_to_map_s", 1.1)(v))
row("  of it loading work (bench_startup)", "-", "loading_wall_ms", "%.0f ms", "<= 500 ms",
    lambda v: v <= 500)
row("  processor time of the loading, all threads", "-", "loading_cpu_ms", "%.0f ms", "(count)",
    lambda v: True)
row("Draw calls of the busiest game frame", "67", "frame_draw_calls", "%.0f", "<= 30", lambda v: v <= 30)
row("  allocations per frame", "0", "frame_allocs", "%.0f", "0", lambda v: v == 0)
cpu_own = figures.get("frame_cpu_us_own_textures")
row("  CPU of the frame (own textures: %s)" % show(cpu_own, "%.0f us"), "-", "frame_cpu_us", "%.0f us",
    "no worse", lambda v: cpu_own is None or v <= cpu_own * 1.1)
row("An autosave's share of its frame (synced writes)", "-", "autosave_ms", "%.1f ms", "(count)",
    lambda v: True)
row("  the longest of them", "-", "autosave_longest_ms", "%.1f ms", "(count)", lambda v: True)
row("CPU of the game's thread on the level map", "6.9 %", "map_thread_cpu_percent", "%.1f %%", "<= 3 %",
    lambda v: v <= 3)
row("Whole process on the level map", "104 %", "map_process_cpu_percent", "%.1f %%", "<= 50 %",
    lambda v: v <= 50)
row("Frame rate on the level map, 1920 x 1080 full screen", "23 fps", "map_fps", "%.1f fps", ">= 60 fps",
    lambda v: v >= 60)
row("  processor time of the process per frame", "-", "map_cpu_ms_per_frame", "%.1f ms", "(count)",
    lambda v: True)
row("Frame rate of classic level 1, scenery moving", "-", "level_fps", "%.1f fps", ">= 45 fps",
    lambda v: v >= 45)
row("  processor time of the process per frame", "-", "level_cpu_ms_per_frame", "%.1f ms", "(count)",
    lambda v: True)
row("  resident memory in the level", "-", "level_rss_mb", "%.0f MB", "(count)", lambda v: True)
row("Edge rise of the main page's letters, 1920 x 1080", "5 px", "main_letters_edge_rise_1080_px", "%.2f px",
    "<= 2 px", lambda v: v <= 2)
row("  the same at 3840 x 2160", "9 px", "main_letters_edge_rise_2160_px", "%.2f px", "<= 3 px",
    lambda v: v <= 3)
row("Resident memory on the level map", "165 MB", "map_rss_mb", "%.0f MB", "<= 110 MB, no more",
    lambda v: v <= 110 and no_worse_than_before("map_rss_mb", 1.02)(v))
row("  of it mapped libraries (the driver's among them)", "-", "map_rss_libraries_mb", "%.0f MB", "(count)",
    lambda v: True)
row("  of it the process's own data", "-", "map_rss_data_mb", "%.0f MB", "(count)", lambda v: True)

header = ("Measure", "Was", "Before", "Now", "Goal", "")
widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
print()
print("  ".join(h.ljust(w) for h, w in zip(header, widths)))
print("  ".join("-" * w for w in widths))
for r in rows:
    print("  ".join(c.ljust(w) for c, w in zip(r, widths)))

# Where a goal is missed, what the profile of the level map says of the gap.
notes = []
game_share = figures.get("map_profile_game_percent")
raster_share = figures.get("map_profile_rasteriser_percent")
process = figures.get("map_process_cpu_percent")
if game_share is not None and raster_share is not None and process is not None:
    own = game_share * process / 100
    notes.append("Profile of the level map: %.1f %% of the samples in the software rasteriser (its compiled "
                 "shaders and driver), %.1f %% in the game's own code, %.1f %% in the kernel, %.1f %% in other "
                 "libraries; the game's code costs %.2f %% of a core." %
                 (raster_share, game_share, figures.get("map_profile_kernel_percent", 0),
                  figures.get("map_profile_other_percent", 0), own))
thread = figures.get("map_thread_cpu_percent")
thread_share = figures.get("map_thread_game_share_percent")
if thread is not None and thread_share is not None and thread > 3:
    notes.append("Of the game's thread (%.1f %% of a core), %.0f %% of the samples are the game's own code, "
                 "%.2f %% of a core; the rest is the driver's work on that thread (setting up the draws for "
                 "the rasteriser, the present)." % (thread, thread_share, thread * thread_share / 100))
launch = figures.get("launch_to_map_s")
loading = figures.get("loading_wall_ms")
if launch is not None and loading is not None and launch > 1.8:
    notes.append("Of the launch (%.2f s), 1.30 s are the fixed fades (the splash picture's last half second "
                 "and the 0.8 s fade to the map) and %.2f s the loading work; the remaining %.2f s are the "
                 "process's start (libraries, window, OpenGL) and frames at the rasteriser's pace." %
                 (launch, loading / 1000, launch - 1.3 - loading / 1000))
libraries = figures.get("map_rss_libraries_mb")
rss = figures.get("map_rss_mb")
if libraries is not None and rss is not None and rss > 110:
    notes.append("Of the %.0f MB resident, %.0f MB are the pages of mapped libraries (with software OpenGL "
                 "mostly the driver's LLVM); the process's own data, textures and the driver's buffers "
                 "included, is %.0f MB." % (rss, libraries, figures.get("map_rss_data_mb", rss - libraries)))
if before:
    notes.append("Before: the build given as BENCH_BEFORE, measured in this run right before this build's "
                 "figures, under the same load (load average at the end: %s)." %
                 " ".join("%.1f" % v for v in os.getloadavg()))
if notes:
    print()
    for n in notes:
        print("- " + n)
