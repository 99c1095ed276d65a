#!/usr/bin/env python3
"""How big the tests are beside the code they test.

Counts the lines that are neither blank nor comment in every file under tests/ (C++, shell,
Python, CMake alike) and in src/ and app/, prints the ratio and the largest test files, and
exits 1 past the limit (0.40 unless given): our rule is a quarter to a third.

    scripts/test_ratio.py [--limit 0.40] [--top 8] [ROOT]
"""
import argparse
import pathlib
import re
import sys

HASH_COMMENTS = {".sh", ".py", ".cmake", ".txt", ""}


def code_lines(path: pathlib.Path) -> int:
    try:
        text = path.read_text(encoding="utf-8", errors="replace")
    except OSError:
        return 0
    if path.suffix in HASH_COMMENTS:
        return sum(1 for line in text.splitlines()
                   if line.strip() and not line.strip().startswith("#"))
    # C and C++: drop block comments (keeping their line breaks), then line comments.
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    return sum(1 for line in text.splitlines()
               if line.strip() and not line.strip().startswith("//"))


def count(root: pathlib.Path, folders):
    sizes = {}
    for folder in folders:
        for path in sorted((root / folder).rglob("*")):
            if path.is_file():
                sizes[path.relative_to(root).as_posix()] = code_lines(path)
    return sizes


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("root", nargs="?", default=pathlib.Path(__file__).resolve().parent.parent)
    parser.add_argument("--limit", type=float, default=0.40)
    parser.add_argument("--top", type=int, default=8)
    args = parser.parse_args()
    root = pathlib.Path(args.root)
    tests = count(root, ["tests"])
    code = count(root, ["src", "app"])
    test_total, code_total = sum(tests.values()), sum(code.values())
    ratio = test_total / code_total if code_total else float("inf")
    print(f"test code {test_total} lines, program code {code_total}: {ratio:.3f} "
          f"(limit {args.limit:.2f})")
    for name, lines in sorted(tests.items(), key=lambda item: -item[1])[:args.top]:
        print(f"  {lines:5d}  {name}")
    return 0 if ratio <= args.limit else 1


if __name__ == "__main__":
    sys.exit(main())
