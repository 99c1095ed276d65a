#!/usr/bin/env python3
"""Keeps the includes pointing down the layers.

Every folder of src/ belongs to one layer. A file may include from its own folder and
from folders of lower layers; folders that share a layer stay independent of each other.
The core tree (src/core, and the tests and fakes built with it) includes no Qt and no SDL
header, so the core builds and is tested without either.

Usage: check_layers.py [project root]   (exit 1 and one line per fault when the house leans)
"""

import pathlib
import re
import sys

# The layers, lowest first. The first word of each line is the rank's name, the rest are the
# folders below src/ that live on it.
LAYERS = """
helpers    core/base
rules      core/rules
subsystems core/records core/sound
session    core/session
help       core/help
shell      core/shell
adapters   desktop/toolkit
windows    desktop/records desktop/sound desktop/help
main       desktop/main
app        app
"""

CORE_TREES = ("src/core/", "tests/core/", "tests/support/", "bench/core_bench",
              "bench/records_bench", "bench/store_times")
# The test support that only the window tests build.
NOT_CORE = ("tests/support/qt_main.cpp",)
FOREIGN_HEADER = re.compile(r"^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|SDL.*|SDL2/.*)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_table():
    rank = {}
    for number, line in enumerate(l for l in LAYERS.splitlines() if l.strip()):
        for folder in line.split()[1:]:
            rank[folder] = number
    return rank


def folder_of(path, rank):
    """The declared folder a path below src/ (or app/) lies in, or None."""
    for folder in sorted(rank, key=len, reverse=True):
        if path == folder or path.startswith(folder + "/"):
            return folder
    return None


def check(root):
    root = pathlib.Path(root)
    rank = layer_table()
    faults = []
    sources = [p for p in root.glob("src/**/*") if p.suffix in (".h", ".cpp")]
    sources += [p for p in root.glob("app/**/*") if p.suffix in (".h", ".cpp")]
    for path in sources:
        rel = path.relative_to(root).as_posix()
        own = folder_of(rel[len("src/"):] if rel.startswith("src/") else rel, rank)
        if own is None:
            faults.append(f"{rel}: its folder has no layer; declare it in {LAYERS_FILE}")
            continue
        for line_no, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m or m.group(1) != '"':
                continue
            target = m.group(2)
            if not (root / "src" / target).exists():
                faults.append(f"{rel}:{line_no}: includes \"{target}\", which is not in src/")
                continue
            theirs = folder_of(target, rank)
            if theirs is None:
                faults.append(f"{rel}:{line_no}: \"{target}\" lies in a folder with no layer")
            elif rank[theirs] > rank[own]:
                faults.append(f"{rel}:{line_no}: {own} includes upward from {theirs} "
                              f"(\"{target}\")")
            elif rank[theirs] == rank[own] and theirs != own:
                faults.append(f"{rel}:{line_no}: {own} includes its neighbour {theirs} "
                              f"(\"{target}\"); folders on one layer stay apart")

    core_files = [p for p in root.glob("**/*") if p.suffix in (".h", ".cpp")
                  and p.relative_to(root).as_posix().startswith(CORE_TREES)
                  and p.relative_to(root).as_posix() not in NOT_CORE]
    for path in core_files:
        rel = path.relative_to(root).as_posix()
        for line_no, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(2)
            if m.group(1) == "<" and FOREIGN_HEADER.match(target):
                faults.append(f"{rel}:{line_no}: the core includes <{target}>; "
                              "Qt and SDL stay in src/desktop")
            elif m.group(1) == '"' and target.startswith("desktop/"):
                faults.append(f"{rel}:{line_no}: the core includes \"{target}\"")
    return faults


LAYERS_FILE = "scripts/check_layers.py"

if __name__ == "__main__":
    here = sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    found = check(here)
    for fault in found:
        print(fault)
    if found:
        print(f"{len(found)} include(s) against the layers", file=sys.stderr)
        sys.exit(1)
    print("layers: every include points down")
