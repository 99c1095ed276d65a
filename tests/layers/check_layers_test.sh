#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails on each kind of include that would
# bend the house: upward, between neighbours, Qt or SDL in the core, a folder with no layer.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
check=$here/scripts/check_layers.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fresh() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/tests"
  cp -r "$here/src" "$here/app" "$work/tree/"
  cp -r "$here/tests/core" "$here/tests/support" "$work/tree/tests/"
}

expect_fault() {
  local what=$1 pattern=$2
  if out=$(python3 "$check" "$work/tree" 2>&1); then
    echo "FAIL: $what passed the check"
    exit 1
  fi
  if ! grep -q -- "$pattern" <<<"$out"; then
    echo "FAIL: $what: expected '$pattern' in:"
    echo "$out"
    exit 1
  fi
  echo "ok: $what -> $(head -1 <<<"$out")"
}

fresh
python3 "$check" "$work/tree"

fresh
sed -i '0,/#include "/s//#include "core\/shell\/main_shell.h"\n#include "/' "$work/tree/src/core/rules/board.h"
expect_fault "the well including the shell" "core/rules includes upward from core/shell"

fresh
echo '#include "desktop/main/frm_main_window.h"' >>"$work/tree/src/desktop/toolkit/fonts.cpp"
expect_fault "an adapter including the main window" "desktop/toolkit includes upward from desktop/main"

fresh
echo '#include "core/sound/sound_system.h"' >>"$work/tree/src/core/records/hall_of_fame.cpp"
expect_fault "records including sound" "includes its neighbour core/sound"

fresh
echo '#include <QString>' >>"$work/tree/src/core/base/colours.cpp"
expect_fault "Qt in the core" "the core includes <QString>"

fresh
echo '#include <SDL_mixer.h>' >>"$work/tree/tests/core/sound/sound_channel_test.cpp"
expect_fault "SDL in a core test" "the core includes <SDL_mixer.h>"

fresh
echo '#include <QObject>' >>"$work/tree/tests/support/fake_audio.h"
expect_fault "Qt in a core fake" "the core includes <QObject>"

fresh
echo '#include <QObject>' >>"$work/tree/tests/support/qt_main.cpp"
python3 "$check" "$work/tree" >/dev/null || { echo "FAIL: the window tests' main may use Qt"; exit 1; }

fresh
mkdir -p "$work/tree/src/core/extra"
echo '#pragma once' >"$work/tree/src/core/extra/thing.h"
expect_fault "a folder with no layer" "its folder has no layer"

fresh
echo '#include "core/rules/no_such_file.h"' >>"$work/tree/src/core/shell/main_shell.cpp"
expect_fault "an include that is not in src/" "which is not in src/"
