#!/usr/bin/env bash
# The layer check refuses each kind of include that would bend the house: upward, between
# neighbours, Qt or SDL in the core (its sources and its tests), a folder with no layer, an
# include from outside src/. (The tree as it is, with the window tests' Qt main, is the CMake
# test layers.)
set -u
source "$(dirname "$0")/../support/harness.sh"
here=$(cd "$(dirname "$0")/../.." && pwd)
# Each case: what it plants, the file it goes to, the line, and what the check must say.
# The faults are planted one after another into one copy; each says its own words.
mkdir -p "$work/tree"
cp -r "$here/src" "$here/app" "$here/tests" "$work/tree/"
while IFS='|' read -r what file line expected; do
  mkdir -p "$(dirname "$work/tree/$file")"
  echo "$line" >>"$work/tree/$file"
  out=$(python3 "$here/scripts/check_layers.py" "$work/tree" 2>&1) && out="passed (status 0)"
  check "$what: refused" "$expected" "$(grep -o -- "$expected" <<<"$out" | head -1)" || echo "$out"
done <<'CASES'
the well including the shell|src/core/rules/board.h|#include "core/shell/main_shell.h"|core/rules includes upward from core/shell
records including sound|src/core/records/hall_of_fame.cpp|#include "core/sound/sound_system.h"|includes its neighbour core/sound
Qt in the core|src/core/base/colours.cpp|#include <QString>|the core includes <QString>
SDL in a core test|tests/core/sound/settings_file_test.cpp|#include <SDL_mixer.h>|the core includes <SDL_mixer.h>
a folder with no layer|src/core/extra/thing.h|#pragma once|its folder has no layer
an include that is not in src/|src/core/shell/main_shell.cpp|#include "core/rules/no_such_file.h"|which is not in src/
CASES
finish
