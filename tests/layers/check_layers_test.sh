#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails on each kind of include that would
# bend the house: upward, between neighbours, Qt or SDL in the core, a folder with no layer.
set -u
source "$(dirname "$0")/../support/harness.sh"
here=$(cd "$(dirname "$0")/../.." && pwd)
# Each case: what it plants, the file it goes to, the line, and what the check must say
# (nothing: the tree passes).
while IFS='|' read -r what file line expected; do
  rm -rf "$work/tree"
  mkdir -p "$work/tree/tests"
  cp -r "$here/src" "$here/app" "$work/tree/"
  cp -r "$here/tests/core" "$here/tests/support" "$work/tree/tests/"
  if [ -n "$file" ]; then
    mkdir -p "$(dirname "$work/tree/$file")"
    echo "$line" >>"$work/tree/$file"
  fi
  out=$(python3 "$here/scripts/check_layers.py" "$work/tree" 2>&1)
  status=$?
  got=passes
  [ "$status" -eq 0 ] || got="refused: $(grep -o -- "$expected" <<<"$out" | head -1)"
  check "$what" "${expected:+refused: }${expected:-passes}" "$got" || echo "$out"
done <<'CASES'
the tree as it is|||
the well including the shell|src/core/rules/board.h|#include "core/shell/main_shell.h"|core/rules includes upward from core/shell
an adapter including the main window|src/desktop/toolkit/fonts.cpp|#include "desktop/main/frm_main_window.h"|desktop/toolkit includes upward from desktop/main
records including sound|src/core/records/hall_of_fame.cpp|#include "core/sound/sound_system.h"|includes its neighbour core/sound
Qt in the core|src/core/base/colours.cpp|#include <QString>|the core includes <QString>
SDL in a core test|tests/core/sound/sound_channel_test.cpp|#include <SDL_mixer.h>|the core includes <SDL_mixer.h>
Qt in a core fake|tests/support/fake_audio.h|#include <QObject>|the core includes <QObject>
the window tests' main using Qt|tests/support/qt_main.cpp|#include <QObject>|
a folder with no layer|src/core/extra/thing.h|#pragma once|its folder has no layer
an include that is not in src/|src/core/shell/main_shell.cpp|#include "core/rules/no_such_file.h"|which is not in src/
CASES
finish
