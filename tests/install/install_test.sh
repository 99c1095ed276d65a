#!/usr/bin/env bash
# The game as players get it: installed with cmake --install, packed as a .deb, started
# from the command line. Only what an install shows is checked here; the files' own contents
# (icons' sizes, the man page, the desktop entry, the metadata) are lintian's, run on the
# package, and where the game looks for its catalogues is the core tests'.
# Each check is one CTest test:
#   install_test.sh files   BUILD_DIR             every file in place, none left over
#   install_test.sh run     BUILD_DIR             an installed copy runs under Xvfb, finds its
#                                                 sounds, and writes nothing into its
#                                                 prefix, even where it could
#   install_test.sh deb     BUILD_DIR VERSION     the Debian package: its version and
#                                                 dependencies, lintian, hardening
#   install_test.sh clone   SOURCE_DIR            the README's way: run.sh in a fresh copy,
#                                                 cpack, apt install, apt remove
#   install_test.sh cli     EXECUTABLE VERSION    --help, --version, a wrong option, no display
set -u
source "$(dirname "$0")/../support/harness.sh"

app_id=io.github.vorblin.VorblinCascade
sudo="sudo -n"
[ "$(id -u)" -ne 0 ] || sudo=
install_into() { cmake --install "$1" --prefix "$2" >/dev/null || die "cmake --install $1"; }

check_files() {
  local prefix=$work/prefix icons=share/icons/hicolor
  install_into "$1" "$prefix"
  # The shipped sounds: the files of the table of sounds' rows.
  mapfile -t sounds < <(sed -n 's|^ *X([A-Za-z0-9]*, *"\([a-z0-9]*\)".*|share/vorblin/sound/\1.WAV|p' \
    "$(dirname "$0")/../../src/core/rules/sound_board_table.h")
  [ ${#sounds[@]} -gt 1 ] || die "no sounds in sound_board_table.h"
  check "every file installed (the missing ones listed)" "" "$(cd "$prefix" && for f in games/vorblin "${sounds[@]}" \
    share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml $icons/scalable/apps/$app_id.svg \
    $icons/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$app_id.png share/man/man6/vorblin.6.gz \
    share/locale/en/LC_MESSAGES/vorblin.mo; do [ -s "$f" ] || echo "$f"; done)"
  check "no build leftovers installed" "" "$(find "$prefix" -path '*/include/*' -o -name '*.a' -o -name '*_tests')"
}

check_run() {
  local prefix=$work/prefix before
  install_into "$1" "$prefix"
  before=$(cd "$prefix" && find . | sort)
  start_x || die "no X server"
  # Started by whoever installed it (root in CI), who may write into the prefix: the background
  # tune switched on, at full volume, from the shipped file ("...") is heard; the hall of fame
  # goes to the player's data folder; a records folder given relative to where the game
  # starts, which does not exist, is said by its full path.
  new_player player
  printf '%s\r\n' 0 0 False False False False vorblin-music... ... True 0 | install -D /dev/stdin "$player/data/vorblin/VorbDieRect.ini"
  cd "$work" && start_game "$prefix/games/vorblin" --records-folder no-such-folder
  ok "the shipped music is heard" wait_for eval '[ "$(tr -d "\000" <"$player/audio.raw" | wc -c)" -gt 10000 ]'
  close_game
  ok "the hall of fame in the player's folder" test -s "$player/data/vorblin/VorblinFathers.txt"
  ok "the relative folder said" grep -q "$work/no-such-folder (from --records-folder) does not exist" "$work/game.log"
  check "the game wrote nothing into its prefix" "" "$(diff <(echo "$before") <(cd "$prefix" && find . | sort))"
}

check_deb() {
  local out=$work/package deb
  cpack --config "$1/CPackConfig.cmake" -G DEB -B "$out" >"$work/cpack.log" 2>&1 || die "cpack: $(cat "$work/cpack.log")"
  deb=$(echo "$out"/*.deb)
  check "the package's version" "$2" "$(dpkg-deb -f "$deb" Version)"
  # Computed from the executable's libraries, and the mixer it opens at run time.
  check "Depends names Qt and the mixer" 2 "$(dpkg-deb -f "$deb" Depends | grep -oE 'libqt6widgets6|libsdl2-mixer-2.0-0' | sort -u | wc -l)"
  # Errors and warnings fail; info and pedantic tags are shown (none is expected: the README
  # lists the ones accepted). The package's override, with its reason, is in cmake/debian/.
  ok "lintian: no error or warning" lintian --pedantic --fail-on error,warning "$deb"
  # The packed executable is the build's, stripped. Debian 12's C start files carry no
  # control-flow marking, so no program linked there has it (apt neither): that one check is
  # left out.
  ok "hardening-check" hardening-check --nocfprotection "$1/vorblin"
}

check_clone() {
  local clone=$work/clone
  $sudo true 2>/dev/null || skip "apt install needs root or sudo without a password"
  ! dpkg-query -W -f='${Status}' vorblin 2>/dev/null | grep -q 'ok installed' || skip "vorblin is installed here; it would go"
  # A fresh clone's files: the tracked ones and the new ones not ignored, no build folder.
  mkdir "$clone"
  git -C "$1" ls-files -z --cached --others --exclude-standard |
    tar -C "$1" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$clone" -xf -
  start_x || die "no X server"
  new_player clone
  # ./run.sh builds and starts the game; it is interrupted once the window is up.
  window_wait=1200 start_game "$clone/run.sh"
  halt "$game_pid"
  cd "$clone/build" || die "run.sh made no build folder"
  ok "cpack -G DEB" eval 'cpack -G DEB >"$work/cpack.log" 2>&1' || cat "$work/cpack.log"
  at_exit eval "dpkg-query -W vorblin && $sudo apt-get remove -y -qq vorblin"  # on the way out
  ok "apt install" $sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 ./vorblin_*_amd64.deb
}

check_cli() {
  local row want platform said args
  check "--version, with no display at all" "vorblin (Vorblin Cascade) $2" "$(env -u DISPLAY -u WAYLAND_DISPLAY "$1" --version)"
  # Refused before any window: status 2, nothing on standard output, the usage on standard
  # error. No display and no platform named: status 1 and a line that says so, no abort.
  for row in "2 xcb Usage: --no-such-option" "2 xcb Usage: -x" "2 xcb Usage: stray" \
    "2 xcb Usage: --records-folder" "1 - display"; do
    read -r want platform said args <<<"$row"
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="${platform#-}" "$1" $args >"$work/out" 2>"$work/err"
    check "'${args:-no display}': status, bytes on standard output, what standard error says" \
      "$want 0 $said" "$? $(wc -c <"$work/out") $(grep -o -m1 'Usage:\|display' "$work/err")"
  done
}

declare -F "check_${1:-}" >/dev/null || die "usage: $0 files|run|deb|clone|cli ..."
"check_$1" "${@:2}"
finish
