#!/usr/bin/env python3
"""The layers of the game's code, checked: every include runs downward.

    platform <- engine <- player <- game <- visuals <- ui <- gameplay <- app

A folder may include its own files and the files of any folder below it. An include of a folder above is
reported, and so is any include circle that spans two folders. Prints what it finds and exits with 1 when
it finds anything; `--self-test` checks on a small made-up tree that an upward include is caught.
"""

import os
import re
import sys
import tempfile

LAYERS = ["platform", "engine", "player", "game", "visuals", "ui", "gameplay", "app"]
RANK = {name: rank for rank, name in enumerate(LAYERS)}
INCLUDE = re.compile(r'^\s*#\s*include\s+"(([a-z_]+)/[^"]+)"', re.MULTILINE)


def folder_includes(root):
    """Yield (folder, file, included file, its folder) for every include of a layer folder's file."""
    for folder in LAYERS:
        base = os.path.join(root, folder)
        for dirpath, _, names in os.walk(base):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for included, target in INCLUDE.findall(text):
                    if target in RANK:
                        yield folder, os.path.relpath(path, root), included, target


def circles(edges):
    """Groups of two or more folders that reach one another through their includes (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(edges.get(node, ())):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                group.append(top)
                if top == node:
                    break
            if len(group) > 1:
                found.append(sorted(group, key=RANK.get))

    for node in LAYERS:
        if node not in index:
            visit(node)
    return found


def check(root):
    """The problems of the tree at root, one line each."""
    problems, edges = [], {}
    for folder, path, included, target in folder_includes(root):
        if target != folder:
            edges.setdefault(folder, set()).add(target)
        if RANK[target] > RANK[folder]:
            problems.append(f"{path}: includes {included}, from {target}/, a layer above {folder}/")
    for group in circles(edges):
        problems.append("include circle between " + ", ".join(g + "/" for g in group))
    return problems


def self_test():
    with tempfile.TemporaryDirectory() as root:
        for folder in ("engine", "ui"):
            os.makedirs(os.path.join(root, folder))
        with open(os.path.join(root, "ui", "a.cpp"), "w") as f:
            f.write('#include "engine/b.h"\n')
        with open(os.path.join(root, "engine", "b.h"), "w") as f:
            f.write('#pragma once\n')
        clean = check(root)
        with open(os.path.join(root, "engine", "b.h"), "a") as f:
            f.write('#include "ui/a.h"\n')
        broken = check(root)
    if clean or len(broken) != 2:
        print("layer check self-test failed:", clean, broken)
        return 1
    print("layer check self-test: an upward include and its circle are caught")
    return 0


def main(argv):
    if "--self-test" in argv:
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    problems = check(root)
    for line in problems:
        print(line)
    if problems:
        print(f"{len(problems)} layer problem(s); the layers: " + " <- ".join(LAYERS))
        return 1
    print("layers: every include runs downward (" + " <- ".join(LAYERS) + ")")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
