#!/usr/bin/env bash
# The game as players get it: installed with cmake --install, packed as a .deb, started
# from the command line. Each check is one CTest test:
#   install_test.sh files   BUILD_DIR             what the desktop and man read is valid
#   install_test.sh run     BUILD_DIR             an installed copy runs under Xvfb, and
#                                                 writes nothing into its writable prefix
#   install_test.sh deb     BUILD_DIR VERSION     the Debian package: lintian, hardening,
#                                                 unpacked it runs
#   install_test.sh clone   SOURCE_DIR            the README's way: run.sh in a fresh copy,
#                                                 cpack, apt install, run as root, apt remove
#   install_test.sh cli     EXECUTABLE VERSION    --help, --version, a wrong option, no display
set -u
source "$(dirname "$0")/../support/harness.sh"

app_id=io.github.vorblin.VorblinCascade
icon_sizes=(16 22 24 32 48 64 128 256)
# The shipped sounds: the files of the table of sounds' rows.
mapfile -t sounds < <(sed -n 's/^ *X([A-Za-z0-9]*, *"\([a-z0-9]*\)".*/\1/p' \
  "$(dirname "$0")/../../src/core/rules/sound_board_table.h")
[ ${#sounds[@]} -gt 1 ] || { echo "FAIL: no sounds in sound_board_table.h" >&2; exit 1; }

# The copy must not be able to write into its own tree. Permission bits do not stop root,
# so as root the game runs as the unprivileged user nobody (which owns nothing there);
# anyone else is stopped by the bits themselves.
sudo="sudo -n"
if [ "$(id -u)" -eq 0 ]; then
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all --)
  sudo=
fi
player_folder() { mkdir -p "$1" && { [ "$(id -u)" -ne 0 ] || chown nobody:nogroup "$1"; }; }
install_into() { cmake --install "$1" --prefix "$2" >/dev/null || die "cmake --install $1"; }
appears() { wait_for test -s "$1"; }

# The background tune switched on, at full volume, from the shipped file ("..."). The lines
# after these stay as the game holds them.
seed_music_settings() {  # FOLDER
  player_folder "$1"
  printf '%s\r\n' 0 0 False False False False vorblin-music... ... True 0 >"$1/VorbDieRect.ini"
  [ "$(id -u)" -ne 0 ] || chown nobody:nogroup "$1/VorbDieRect.ini"
}
# The sound output has heard something other than silence.
heard() { [ "$(tr -d '\000' <"$player/audio.raw" 2>/dev/null | wc -c)" -gt 10000 ]; }
expect_sound() { ok "the shipped music is heard" wait_for heard; }

check_files() {
  local prefix=$work/prefix size missing
  install_into "$1" "$prefix"
  local desktop=$prefix/share/applications/$app_id.desktop
  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  local man=$prefix/share/man/man6/vorblin.6.gz
  ok "desktop-file-validate" desktop-file-validate "$desktop"
  ok "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
  # One application id everywhere: entry name, its icon, the metadata and its launchable.
  ok "the desktop entry's icon is $app_id" grep -qx "Icon=$app_id" "$desktop"
  ok "the metadata's id is $app_id" grep -q "<id>$app_id</id>" "$metainfo"
  ok "the metadata launches $app_id.desktop" \
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"
  ok "the entry starts vorblin from PATH" grep -qx 'Exec=vorblin' "$desktop"
  ok "an executable in games/" test -x "$prefix/games/vorblin"
  missing=$(for s in "${sounds[@]}"; do [ -s "$prefix/share/vorblin/sound/$s.WAV" ] || echo "$s.WAV"; done)
  check "every sound installed (missing ones listed)" "" "$missing"
  ok "the English catalogue installed" grep -aqF 'Start a new game?' \
    "$prefix/share/locale/en/LC_MESSAGES/vorblin.mo"
  ok "a scalable icon" grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"
  # PNG: width and height, 32 bits each, big-endian, from byte 16.
  check "every icon of its size (the wrong ones listed)" "" "$(for size in "${icon_sizes[@]}"; do
    od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png" 2>&1 |
      awk -v want="${size}x${size}" '$3*256+$4 "x" $7*256+$8 != want {print want ": " $0}'; done)"
  # The page renders without a single warning, and mandb finds its name line.
  check "man -l renders the page without a warning" "" \
    "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >"$work/man.txt" || echo "man -l failed")"
  for text in ^NAME ^SYNOPSIS ^DESCRIPTION ^KEYS ^OPTIONS ^FILES --records-folder --language; do
    ok "the man page has $text" grep -q -- "$text" "$work/man.txt"
  done
  ok "lexgrog reads the NAME line" eval 'lexgrog "$man" | grep -q "vorblin - "'
}

check_run() {
  local prefix=$work/prefix before exe=$work/prefix/games/vorblin bad
  install_into "$1" "$prefix"
  before=$(cd "$prefix" && find . | sort)
  start_x || die "no X server"
  # First start, by whoever runs the test (root in CI), who may write into the prefix: the
  # written files go to the player's data folder all the same.
  new_player first
  as_player=env start_game "$exe"  # env: no other user
  for f in VorblinFathers.txt VorbDieRect.ini; do ok "$f written to the player's folder" appears "$player/data/vorblin/$f"; done
  halt "$game_pid"

  # The shipped music found relative to the executable and heard; the hall of fame in the
  # folder the option names; the settings written at closing, still in the player's folder.
  new_player second
  seed_music_settings "$player/data/vorblin"
  player_folder "$work/shared"
  start_game "$exe" --records-folder "$work/shared"
  expect_sound
  close_game
  ok "the hall of fame in --records-folder" test -s "$work/shared/VorblinFathers.txt"
  ok "no table in the own folder too" test ! -e "$player/data/vorblin/VorblinFathers.txt"
  ok "the settings written at closing" test "$(wc -l <"$player/data/vorblin/VorbDieRect.ini")" -gt 10
  ok "the shipped music still written as ..." grep -q '^\.\.\.' "$player/data/vorblin/VorbDieRect.ini"

  # An administrator's configuration names the folder; the player's own names a bad one,
  # which is said, and the game starts anyway with the table in the player's folder.
  new_player third
  mkdir -p "$work/site/vorblin"
  player_folder "$work/shared2"
  echo "records-folder=$work/shared2" >"$work/site/vorblin/vorblin.conf"
  site_config=$work/site start_game "$exe"
  ok "the table in the configured folder" appears "$work/shared2/VorblinFathers.txt"
  halt "$game_pid"
  mkdir -p "$player/config/vorblin"
  echo "records-folder=$work/no-such-folder" >"$player/config/vorblin/vorblin.conf"
  site_config=$work/site start_game "$exe"
  ok "a bad folder of the player's: the table in the own folder" appears "$player/data/vorblin/VorblinFathers.txt"
  halt "$game_pid"
  ok "the player's bad folder reported" grep -q "$work/no-such-folder.*does not exist" "$work/game.log"
  # A relative folder is taken from where the game was started.
  player_folder "$work/shared3"
  pushd "$work/shared3" >/dev/null && start_game "$exe" --records-folder .
  popd >/dev/null
  ok "--records-folder . is where the game started" appears "$work/shared3/VorblinFathers.txt"
  halt "$game_pid"
  # Folders the player may not read, or may read but not write into, are refused too.
  mkdir -m 000 "$work/locked"
  mkdir -m 555 "$work/read-only"
  for bad in "no-such-folder) does not exist" "locked) cannot be read" "read-only) cannot be written"; do
    start_game "$exe" --records-folder "$work/${bad%%)*}"
    halt "$game_pid"
    ok "--records-folder ${bad%%)*}: reported" grep -q "$work/${bad%%)*} (from --records-folder)${bad#*)}" "$work/game.log"
  done
  check "the game wrote nothing into its prefix" "" "$(diff <(echo "$before") <(cd "$prefix" && find . | sort))"
}

check_deb() {
  local out=$work/package deb depends
  cpack --config "$1/CPackConfig.cmake" -G DEB -B "$out" >"$work/cpack.log" 2>&1 || die "cpack: $(cat "$work/cpack.log")"
  local debs=("$out"/*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "no single .deb: ${debs[*]}"
  deb=${debs[0]}
  dpkg-deb -c "$deb" >"$work/contents"
  for path in ./usr/games/vorblin ./usr/share/vorblin/sound/bkgmusic.WAV \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/"{scalable/apps/$app_id.svg,16x16/apps/$app_id.png,256x256/apps/$app_id.png} \
    ./usr/share/man/man6/vorblin.6.gz ./usr/share/locale/en/LC_MESSAGES/vorblin.mo; do
    ok "$path in the package" grep -q " $path\$" "$work/contents"
  done
  check "no build leftovers packed" "" "$(grep -e '/include/' -e '\.a$' -e '_tests$' "$work/contents")"
  for field in "Package vorblin" "Section games" "Architecture $(dpkg --print-architecture)" "Version $2"; do
    check "the package's ${field% *}" "${field#* }" "$(dpkg-deb -f "$deb" "${field% *}")"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  # Computed from the executable's libraries, and the mixer it opens at run time.
  for dep in libsdl2-mixer-2.0-0 libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
    ok "Depends names $dep" eval '[[ ", $depends," == *", $dep"[\ ,]* ]]'
  done
  # Errors and warnings fail; info and pedantic tags are shown (none is expected: the README
  # lists the ones accepted). The package's override, with its reason, is in cmake/debian/.
  ok "lintian: no error or warning" eval 'lintian --pedantic --fail-on error,warning "$deb" >"$work/lintian" 2>&1' ||
    cat "$work/lintian"
  grep -E '^[A-Z]: ' "$work/lintian"
  dpkg-deb -x "$deb" "$work/root"
  # Debian 12's C start files carry no control-flow marking, so no program linked there has
  # it (apt neither): that one check is left out.
  ok "hardening-check" eval 'hardening-check --nocfprotection "$work/root/usr/games/vorblin" >"$work/hardening"' ||
    cat "$work/hardening"
  chmod -R a-w "$work/root"
  start_x || die "no X server"
  new_player deb
  seed_music_settings "$player/data/vorblin"
  start_game "$work/root/usr/games/vorblin"
  expect_sound
  close_game
  ok "unpacked and read-only, it keeps its table in the player's folder" test -s "$player/data/vorblin/VorblinFathers.txt"
  echo "deb: $(basename "$deb"), Depends: $depends"
}

check_clone() {
  local clone=$work/clone
  $sudo true 2>/dev/null || skip "apt install needs root or sudo without a password"
  ! dpkg-query -W -f='${Status}' vorblin 2>/dev/null | grep -q 'ok installed' ||
    skip "vorblin is installed here; this test would replace and remove it"
  # A fresh clone's files: the tracked ones and the new ones not ignored, no build folder.
  mkdir "$clone"
  git -C "$1" ls-files -z --cached --others --exclude-standard |
    (cd "$1" && while IFS= read -r -d '' f; do [ ! -e "$f" ] || printf '%s\0' "$f"; done) |
    tar -C "$1" --null -T - -cf - | tar -C "$clone" -xf -
  start_x || die "no X server"
  new_player clone
  # ./run.sh builds and starts the game; it is interrupted once the window is up.
  as_player=env window_wait=1200 start_game "$clone/run.sh"
  halt "$game_pid"
  (cd "$clone/build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || die "cpack: $(cat "$work/cpack.log")"
  at_exit eval "dpkg-query -W vorblin && $sudo apt-get remove -y -qq vorblin"
  (cd "$clone/build" && $sudo apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=300 ./vorblin_*_amd64.deb) >"$work/apt.log" 2>&1 || die "apt install: $(cat "$work/apt.log")"
  dpkg -L vorblin >"$work/package-files"
  # Root may write anywhere, and the prefix is the system's: nothing of the game's goes there,
  # not even a file made and removed again (its folder's time would tell).
  touch "$work/stamp"
  new_player root
  as_player=env start_game PATH=/usr/games:/usr/bin:/bin vorblin
  close_game
  for f in VorblinFathers.txt VorbDieRect.ini; do ok "run by root: $f in the player's folder" test -s "$player/data/vorblin/$f"; done
  check "nothing written into /usr by the game run as root" "" "$(find /usr -xdev -newer "$work/stamp")"
  $sudo apt-get remove -y -qq vorblin >"$work/apt.log" 2>&1 || die "apt remove: $(cat "$work/apt.log")"
  check "apt remove leaves no file of the package" "" "$(while read -r f; do [ ! -f "$f" ] || echo "$f"; done <"$work/package-files")"
}

check_cli() {
  local exe=$1 args status
  # No display at all: these must not need one.
  local -a nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$exe")
  ok "--help" eval '"${nodisplay[@]}" --help >"$work/help"'
  ok "--help: the usage" grep -q 'Usage: vorblin \[options\]' "$work/help"
  ok "--help lists the option" grep -q -- '--records-folder <folder>' "$work/help"
  ok "--help lists --language" grep -q -- '--language <code>' "$work/help"
  ok "-h is --help" eval '"${nodisplay[@]}" -h | cmp -s - "$work/help"'
  check "--version" "vorblin (Vorblin Cascade) $2" "$("${nodisplay[@]}" --version)"
  # Qt's own options are left to Qt, not refused.
  ok "-platform accepted" eval '"${nodisplay[@]}" -platform offscreen --version >/dev/null'
  # Refused before any window: without a display Qt would abort long before status 2.
  for args in "--no-such-option" "-x" "stray" "--records-folder"; do
    status=0
    # shellcheck disable=SC2086
    "${nodisplay[@]}" $args >"$work/out" 2>"$work/err" || status=$?
    check "'$args': status, bytes on standard output, the usage on standard error" "2 0 usage" \
      "$status $(wc -c <"$work/out") $(grep -q 'Usage: vorblin' "$work/err" && echo usage)"
  done
  # No display and no platform named: one line that says so, status 1, no abort.
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" >"$work/out" 2>"$work/err" || status=$?
  check "no display: status, bytes on standard output, lines on standard error that say so" "1 0 1 said" \
    "$status $(wc -c <"$work/out") $(wc -l <"$work/err") $(grep -q 'no display' "$work/err" && echo said)"
}

case ${1:-} in
  files | run | deb | clone | cli) "check_$1" "${@:2}" ;;
  *) die "usage: $0 files|run|deb|clone|cli ..." ;;
esac
finish
