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
set -euo pipefail

app_id=io.github.vorblin.VorblinCascade
icon_sizes=(16 22 24 32 48 64 128 256)
# The shipped sounds: the files of the table of sounds' rows.
mapfile -t sounds < <(sed -n 's/^ *X([A-Za-z0-9]*, *"\([a-z0-9]*\)".*/\1/p' \
  "$(dirname "$0")/../../src/core/rules/sound_board_table.h")
[ ${#sounds[@]} -gt 1 ] || { echo "FAIL: no sounds in sound_board_table.h" >&2; exit 1; }

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d /tmp/vorblin-install-test.XXXXXX)
chmod 755 "$work"  # the game may run as another user, who must reach the copy
game_pid=
xvfb_pid=
installed_package=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$installed_package" ] && { $sudo apt-get remove -y -qq vorblin >/dev/null 2>&1 || true; }
  # Until the server is gone it may still remove its socket files, which by then could
  # belong to the next server on the same display number.
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  chmod -R u+rwx "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

install_into() {  # BUILD_DIR PREFIX
  cmake --install "$1" --prefix "$2" >/dev/null
}

# The copy must not be able to write into its own tree. Permission bits do not stop root,
# so as root the game runs as the unprivileged user nobody (which owns nothing there);
# anyone else is stopped by the bits themselves.
make_read_only() {  # TREE
  chmod -R a-w "$1"
}
as_player=()
sudo="sudo -n"
if [ "$(id -u)" -eq 0 ]; then
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all --)
  sudo=
fi
# A folder the player owns.
player_folder() {  # PATH
  mkdir -p "$1"
  if [ "$(id -u)" -eq 0 ]; then chown nobody:nogroup "$1"; fi
}

start_xvfb() {
  exec 5> "$work/display"
  Xvfb -displayfd 5 -nolisten tcp -ac -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 5>&-
  local i
  for i in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(cat "$work/display")"
  xdo getdisplaygeometry >/dev/null || fail "Xvfb on $DISPLAY does not answer"
}

# A fresh player: own home, data, configuration and runtime folders.
new_player() {  # NAME
  player=$work/$1
  player_folder "$player"
  for d in home data config runtime; do player_folder "$player/$d"; done
  chmod 700 "$player/runtime"
}

# Starts the game as the player and waits until its window is there (window_wait seconds,
# 15 unless set).
start_game() {  # EXECUTABLE ARGS...
  local attempt i
  for attempt in 1 2 3; do
    "${as_player[@]}" env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
      HOME="$player/home" XDG_DATA_HOME="$player/data" XDG_CONFIG_HOME="$player/config" \
      XDG_CONFIG_DIRS="${site_config:-/nonexistent}" XDG_RUNTIME_DIR="$player/runtime" \
      SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$player/audio.raw" \
      "$@" >"$player/out.log" 2>"$player/err.log" &
    game_pid=$!
    for i in $(seq $((${window_wait:-15} * 10))); do
      if window=$(xdotool search --all --pid "$game_pid" --name '^Vorblin Cascade$' 2>/dev/null |
        head -1) && [ -n "$window" ]; then
        return 0
      fi
      kill -0 "$game_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null &&
      fail "no window within ${window_wait:-15} s: $(tail -20 "$player/err.log")"
    wait "$game_pid" 2>/dev/null || true
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb on $DISPLAY went away: $(cat "$work/xvfb.log")"
    # Xvfb refuses about one local connection in a few hundred on a busy machine; that is
    # the display's doing, not the game's.
    grep -q 'could not connect to display' "$player/err.log" ||
      fail "the game ended before its window opened: $(cat "$player/err.log")"
    echo "note: the X server refused the game's connection (attempt $attempt)" >&2
  done
  fail "the X server refused the game three times: $(cat "$player/err.log")"
}

# xdotool once more when the X server refuses its connection.
xdo() {
  local attempt
  for attempt in 1 2 3 4 5; do
    xdotool "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Closes the game with its own close box, as the player would; it saves its settings then.
close_game() {
  # The close box sits at the right end of the game's own title strip.
  local width
  width=$(xdo getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
  xdo mousemove --window "$window" $((width - 15)) 13 click 1
  local i
  for i in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not close from its close box"
  wait "$game_pid" || fail "the game ended with status $?"
  game_pid=
}

stop_game() {
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=
}

# The background tune switched on, at full volume, from the shipped file ("..."). The lines
# after these stay as the game holds them.
seed_music_settings() {  # FOLDER
  mkdir -p "$1"
  printf '%s\r\n' 0 0 False False False False vorblin-music... ... True 0 >"$1/VorbDieRect.ini"
  if [ "$(id -u)" -eq 0 ]; then chown -R nobody:nogroup "$1"; fi
}

# Waits until the sound output has heard something other than silence.
expect_sound() {
  local i heard=0
  for i in $(seq 50); do
    [ -f "$player/audio.raw" ] && heard=$(tr -d '\000' <"$player/audio.raw" | wc -c)
    [ "$heard" -gt 10000 ] && return 0
    sleep 0.1
  done
  fail "the shipped music was not heard ($heard non-zero bytes of output): $(cat "$player/err.log")"
}

check_files() {
  local prefix=$work/prefix
  install_into "$1" "$prefix"
  local desktop=$prefix/share/applications/$app_id.desktop
  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  local man=$prefix/share/man/man6/vorblin.6.gz
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
  # One application id everywhere: entry name, its icon, the metadata and its launchable.
  grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's icon is not $app_id"
  grep -q "<id>$app_id</id>" "$metainfo" || fail "the metadata's id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $app_id.desktop"
  grep -qx 'Exec=vorblin' "$desktop" || fail "the entry must start vorblin from PATH"
  [ -x "$prefix/games/vorblin" ] || fail "no executable in games/"
  for s in "${sounds[@]}"; do
    [ -s "$prefix/share/vorblin/sound/$s.WAV" ] || fail "sound $s.WAV not installed"
  done
  grep -aqF 'Start a new game?' "$prefix/share/locale/en/LC_MESSAGES/vorblin.mo" ||
    fail "the English catalogue is not installed"
  local svg=$prefix/share/icons/hicolor/scalable/apps/$app_id.svg
  grep -q '<svg' "$svg" || fail "no scalable icon"
  for size in "${icon_sizes[@]}"; do
    local png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    # PNG: width and height, 32 bits each, big-endian, from byte 16.
    local wh
    wh=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$wh" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $wh"
  done
  # The page renders without a single warning, and mandb finds its name line.
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >"$work/man.txt") ||
    fail "man -l failed: $warnings"
  [ -z "$warnings" ] || fail "man -l warns: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION KEYS OPTIONS FILES; do
    grep -q "^$section" "$work/man.txt" || fail "the man page has no $section"
  done
  for option in --records-folder --language; do
    grep -q -- "$option" "$work/man.txt" || fail "the man page does not tell $option"
  done
  lexgrog "$man" | grep -q 'vorblin - ' || fail "lexgrog cannot read the NAME line"
  echo "files: desktop entry, metadata, icons ${icon_sizes[*]} + SVG, sounds, man page fine"
}

check_run() {
  local prefix=$work/prefix
  install_into "$1" "$prefix"
  local before
  before=$(cd "$prefix" && find . | sort)
  start_xvfb
  local exe=$prefix/games/vorblin

  # First start, by whoever runs the test (root in CI), who may write into the prefix: the
  # written files go to the player's data folder all the same.
  new_player first
  as_player=env start_game "$exe"  # env: no other user
  local own=$player/data/vorblin
  for f in VorblinFathers.txt VorbDieRect.ini; do
    for i in $(seq 50); do [ -s "$own/$f" ] && break; sleep 0.1; done
    [ -s "$own/$f" ] || fail "$f not written to $own: $(cat "$player/err.log")"
  done
  stop_game

  # The shipped music found relative to the executable and heard; the hall of fame in the
  # folder the option names; the settings written at closing, still in the player's folder.
  new_player second
  seed_music_settings "$player/data/vorblin"
  local shared=$work/shared
  player_folder "$shared"
  start_game "$exe" --records-folder "$shared"
  expect_sound
  close_game
  [ -s "$shared/VorblinFathers.txt" ] || fail "the hall of fame is not in --records-folder"
  [ ! -e "$player/data/vorblin/VorblinFathers.txt" ] || fail "a table in the own folder too"
  [ "$(wc -l <"$player/data/vorblin/VorbDieRect.ini")" -gt 10 ] ||
    fail "the settings were not written at closing"
  grep -q '^\.\.\.' "$player/data/vorblin/VorbDieRect.ini" ||
    fail "the shipped music is no longer written as ..."

  # An administrator's configuration names the folder; the player's own names a bad one,
  # which is said, and the game starts anyway with the table in the player's folder.
  new_player third
  local site=$work/site
  mkdir -p "$site/vorblin" "$work/shared2"
  player_folder "$work/shared2"
  echo "records-folder=$work/shared2" >"$site/vorblin/vorblin.conf"
  site_config=$site start_game "$exe"
  for i in $(seq 50); do [ -s "$work/shared2/VorblinFathers.txt" ] && break; sleep 0.1; done
  [ -s "$work/shared2/VorblinFathers.txt" ] || fail "the table is not in the configured folder"
  stop_game
  mkdir -p "$player/config/vorblin"
  echo "records-folder=$work/no-such-folder" >"$player/config/vorblin/vorblin.conf"
  site_config=$site start_game "$exe"
  for i in $(seq 50); do [ -s "$player/data/vorblin/VorblinFathers.txt" ] && break; sleep 0.1; done
  [ -s "$player/data/vorblin/VorblinFathers.txt" ] || fail "no table in the own folder"
  stop_game
  grep -q "$work/no-such-folder.*does not exist" "$player/err.log" ||
    fail "the bad folder was not reported: $(cat "$player/err.log")"
  # A relative folder is taken from where the game was started.
  mkdir -p "$work/shared3"
  player_folder "$work/shared3"
  pushd "$work/shared3" >/dev/null
  start_game "$exe" --records-folder .
  popd >/dev/null
  for i in $(seq 50); do [ -s "$work/shared3/VorblinFathers.txt" ] && break; sleep 0.1; done
  [ -s "$work/shared3/VorblinFathers.txt" ] || fail "--records-folder . missed the folder"
  stop_game
  # Folders the player may not read, or may read but not write into, are refused too.
  mkdir -m 000 "$work/locked"
  mkdir -m 555 "$work/read-only"
  for bad in "no-such-folder) does not exist" "locked) cannot be read" \
    "read-only) cannot be written"; do
    start_game "$exe" --records-folder "$work/${bad%%)*}"
    stop_game
    grep -q "$work/${bad%%)*} (from --records-folder)${bad#*)}" "$player/err.log" ||
      fail "$bad was not reported: $(cat "$player/err.log")"
  done

  [ "$(cd "$prefix" && find . | sort)" = "$before" ] || fail "the game wrote into its prefix"
  echo "run: install on $DISPLAY, started by $(id -un) too: window, shipped music heard, files in the player's folders, records folder from option and configuration, bad folder reported"
}

check_deb() {
  local out=$work/package
  cpack --config "$1/CPackConfig.cmake" -G DEB -B "$out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
  local debs=("$out"/*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single .deb: ${debs[*]}"
  local deb=${debs[0]}
  dpkg-deb -c "$deb" >"$work/contents"
  for path in ./usr/games/vorblin "./usr/share/vorblin/sound/bkgmusic.WAV" \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "./usr/share/icons/hicolor/16x16/apps/$app_id.png" \
    "./usr/share/icons/hicolor/256x256/apps/$app_id.png" ./usr/share/man/man6/vorblin.6.gz \
    ./usr/share/locale/en/LC_MESSAGES/vorblin.mo; do
    grep -q " $path\$" "$work/contents" || fail "$path not in the package"
  done
  ! grep -q -e '/include/' -e '\.a$' -e '_tests$' "$work/contents" || fail "build leftovers packed"
  [ "$(dpkg-deb -f "$deb" Package)" = vorblin ] || fail "package name"
  [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
  [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  # Computed from the executable's libraries, and the mixer it opens at run time.
  for dep in libsdl2-mixer-2.0-0 libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
    [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
  done
  dpkg-deb -f "$deb" Version | grep -qx "$2" || fail "version is not $2"

  # Errors and warnings fail; info and pedantic tags are shown (none is expected: the README
  # lists the ones accepted). The package's override, with its reason, is in cmake/debian/.
  lintian --pedantic --fail-on error,warning "$deb" >"$work/lintian" 2>&1 ||
    fail "lintian: $(cat "$work/lintian")"
  local root=$work/root
  dpkg-deb -x "$deb" "$root"
  # Debian 12's C start files carry no control-flow marking, so no program linked there has
  # it (apt neither): that one check is left out.
  hardening-check --nocfprotection "$root/usr/games/vorblin" >"$work/hardening" ||
    fail "hardening-check: $(cat "$work/hardening")"
  make_read_only "$root"
  start_xvfb
  new_player deb
  seed_music_settings "$player/data/vorblin"
  start_game "$root/usr/games/vorblin"
  expect_sound
  close_game
  [ -s "$player/data/vorblin/VorblinFathers.txt" ] || fail "no table in the player's folder"
  echo "deb: $(basename "$deb"), Depends: $depends; lintian: no error or warning; hardened;" \
    "unpacked, it runs and plays its music"
  grep -E '^[A-Z]: ' "$work/lintian" || true
}

check_clone() {
  local source=$1
  $sudo true 2>/dev/null || { echo "SKIP: apt install needs root or sudo without a password"; exit 77; }
  dpkg-query -W -f='${Status}' vorblin 2>/dev/null | grep -q 'ok installed' &&
    { echo "SKIP: vorblin is installed here; this test would replace and remove it"; exit 77; }
  # A fresh clone's files: the tracked ones and the new ones not ignored, no build folder.
  local clone=$work/clone
  mkdir "$clone"
  git -C "$source" ls-files -z --cached --others --exclude-standard |
    (cd "$source" && while IFS= read -r -d '' f; do [ ! -e "$f" ] || printf '%s\0' "$f"; done) |
    tar -C "$source" --null -T - -cf - | tar -C "$clone" -xf -
  start_xvfb
  new_player clone
  # ./run.sh builds and starts the game; it is interrupted once the window is up.
  as_player=env window_wait=1200 start_game "$clone/run.sh"
  stop_game
  (cd "$clone/build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
  (cd "$clone/build" && $sudo apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=300 ./vorblin_*_amd64.deb) >"$work/apt.log" 2>&1 ||
    fail "apt install: $(cat "$work/apt.log")"
  installed_package=1
  dpkg -L vorblin >"$work/package-files"
  # Root may write anywhere, and the prefix is the system's: nothing of the game's goes there,
  # not even a file made and removed again (its folder's time would tell).
  touch "$work/stamp"
  new_player root
  as_player=env start_game env PATH=/usr/games:/usr/bin:/bin vorblin
  close_game
  for f in VorblinFathers.txt VorbDieRect.ini; do
    [ -s "$player/data/vorblin/$f" ] || fail "$f not in the player's folder"
  done
  find /usr -xdev -newer "$work/stamp" >"$work/written"
  [ ! -s "$work/written" ] || fail "the game run by root wrote into /usr: $(cat "$work/written")"
  $sudo apt-get remove -y -qq vorblin >"$work/apt.log" 2>&1 || fail "apt remove: $(cat "$work/apt.log")"
  installed_package=
  local left
  left=$(while read -r f; do [ ! -f "$f" ] || echo "$f"; done <"$work/package-files")
  [ -z "$left" ] || fail "apt remove left: $left"
  echo "clone: run.sh, cpack -G DEB, apt install; run by root it wrote only to its own folder; apt remove left no file"
}

check_cli() {
  local exe=$1 version=$2 status
  # No display at all: these must not need one.
  local -a nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
  "${nodisplay[@]}" "$exe" --help >"$work/help" || fail "--help ended with $?"
  grep -q 'Usage: vorblin \[options\]' "$work/help" || fail "--help: $(cat "$work/help")"
  grep -q -- '--records-folder <folder>' "$work/help" || fail "--help does not list the option"
  grep -q -- '--language <code>' "$work/help" || fail "--help does not list --language"
  "${nodisplay[@]}" "$exe" -h | cmp -s - "$work/help" || fail "-h differs from --help"
  [ "$("${nodisplay[@]}" "$exe" --version)" = "vorblin (Vorblin Cascade) $version" ] ||
    fail "--version: $("${nodisplay[@]}" "$exe" --version)"
  # Qt's own options are left to Qt, not refused.
  "${nodisplay[@]}" "$exe" -platform offscreen --version >/dev/null || fail "-platform refused"
  # Refused before any window: without a display Qt would abort long before status 2.
  for args in "--no-such-option" "-x" "stray" "--records-folder"; do
    status=0
    # shellcheck disable=SC2086
    "${nodisplay[@]}" "$exe" $args >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "'$args' ended with $status, not 2: $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "'$args' wrote to standard output"
    grep -q 'Usage: vorblin' "$work/err" || fail "'$args' did not print the usage"
  done
  # No display and no platform named: one line that says so, status 1, no abort.
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" >"$work/out" 2>"$work/err" ||
    status=$?
  [ "$status" -eq 1 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
    grep -q 'no display' "$work/err" || fail "no display: status $status, $(cat "$work/err")"
  echo "cli: --help, -h, --version, -platform accepted; wrong options end with 2; no display, 1"
}

case ${1:-} in
  files) check_files "$2" ;;
  run) check_run "$2" ;;
  deb) check_deb "$2" "$3" ;;
  clone) check_clone "$2" ;;
  cli) check_cli "$2" "$3" ;;
  *) fail "usage: $0 files|run|deb|clone|cli ..." ;;
esac
