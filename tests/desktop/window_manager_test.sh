#!/usr/bin/env bash
# The game as players run it: under the window managers of the common desktops (openbox,
# mutter of GNOME, KWin of KDE, xfwm4 of Xfce), each on its own Xvfb, checked with the X
# server's own view of the windows. Only what a window manager shows is checked here: the drag
# of the title strip, the help page under a title bar, docking by frames that arrive late,
# minimise and restore with the side windows shown and hidden. Texts,
# layout and the settings file are the desktop unit tests' (offscreen). A Wayland compositor
# (weston, headless) runs beside each X server, where the game must come up on X11.
# Usage: window_manager_test.sh GAME_EXECUTABLE SOUND_FOLDER [MANAGER...]
# Exit 77 (skipped) where no X server with a window manager can be started here; a manager
# that is not installed or does not start is skipped with a message.
set -u
source "$(dirname "$0")/../support/harness.sh"
game=$1 sounds=$2 ran=0
shift 2
[ $# -gt 0 ] || set -- openbox mutter kwin_x11 xfwm4
need Xvfb xdotool xwininfo xprop weston
sides=(Future Statistic 'The Best Of The Vorblin')

window() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }
# frame ID: "left top width height client-width client-height" of the window with its window
# manager's frame (read with two X clients and no other process: the machine is busy)
frame() {
  local x y w h l r t b
  [ -n "$1" ] || return 1  # (xwininfo without a window waits for a click)
  read -r x y w h < <(xwininfo -id "$1" | grep -oP '(Absolute upper-left [XY]|Width|Height): +\K-?[0-9]+' | paste -sd' ')
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | grep -oP '= \K.*' | tr -d ,)
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) $w $h"
}
# state ID: Normal, Iconic or nothing (withdrawn), as the window manager has it
state() { xprop -id "$1" WM_STATE 2>/dev/null | grep -o 'Normal\|Iconic'; }
# windows: the main window's and each side window's frame and state, a line each
windows() { for id in "$main" $(for name in "${sides[@]}"; do window "$name"; done); do echo "$(frame "$id") $(state "$id")"; done; }
states() { windows | cut -d' ' -f7 | paste -sd' '; }
# docked: the future window's gap to the main window and its top against the main window's,
# the same for statistics beside the future window, the hall of fame's gap and its bottom
docked() {
  windows | awk 'NR == 1 { x = $1 + $3; y = $2; b = $2 + $4 } NR == 2 { print $1 - x, $2 - y; fx = $1 + $3 }
    NR == 3 { print $1 - fx, $2 - y } NR == 4 { print $1 - x, $2 + $4 - b }' | paste -sd' '
}
# help_page: its right edge, its top and its client area's height
help_page() { frame "$(xdotool search --onlyvisible --name '^Справка$' | head -1)" | awk '{ print $1 + $3, $2, $6 }'; }

for manager in "$@"; do
  echo "=== $manager"
  if why=$(lacking "$manager"); then echo "skipped: $why"; continue; fi
  start_x "$manager" >"$work/why" || { echo "skipped: $(cat "$work/why")"; unwind; continue; }
  ran=$((ran + 1))
  # Beside a Wayland compositor the game's window, looked for on the X server, is found only
  # where the game has chosen X11.
  spawn weston env XDG_RUNTIME_DIR="$work" weston --backend=headless-backend.so --socket="wayland-$manager" --idle-time=0
  wait_for test -S "$work/wayland-$manager" || die "weston did not start: $(tail -1 "$work/weston.log")"
  dir=$(mktemp -d "$work/game.XXXX")
  cp "$game" "$dir/vorblin"
  cp -r "$sounds" "$dir/sound"
  new_player player
  start_game SDL_AUDIODRIVER=dummy WAYLAND_DISPLAY="$work/wayland-$manager" "$dir/vorblin"
  main=$window
  # Dragged by its title strip, the window manager moving it, to 400,100.
  patience=10 wait_for eval '[ "$(state $main)" = Normal ]'
  read -r x y _ _ w _ < <(frame "$main")
  xdotool mousemove $((x + 150)) $((y + 12)) mousedown 1 sleep 0.2 mousemove_relative 20 20 \
    sleep 0.2 mousemove 550 112 sleep 0.2 mouseup 1
  expect "dragged by the title strip" "400 100" eval 'frame $main | cut -d" " -f1,2'
  # The help page's right edge on the main window's left, its top level with the main
  # window's, its designed client area whole under any title bar. Auto then docks the side
  # windows by their frames, which the managers tell late.
  click_main 4926 8047
  expect "the help page beside the main window, whole" "400 100 $((2700 / 15))" help_page
  xdotool mousemove --window "$(xdotool search --onlyvisible --name '^Справка$')" 52 168 click 1  # its close button
  click_main 4207 8407
  expect "docked: one pixel beside, level with the main window's top and bottom" "1 0 1 0 1 0" docked
  # Statistics hidden by its switch, then the strip's minimise box and a restore: the shown
  # side windows are minimised with the main window and come back in the normal state where
  # they stood, statistics stays hidden (else its switch would hide it again below); shown
  # again, it comes back where it stood. (That Esc minimises is the core's test.)
  sleep 1  # the frames stand still
  before=$(windows)
  click_main 6367 8407
  xdotool mousemove --window "$main" $((w - 35)) 13 click 1
  expect "minimised by the strip's box, with the shown side windows" "Iconic Iconic  Iconic" states
  xdotool windowactivate "$main"
  expect "restored: the shown windows where they stood" "$(sed 3d <<<"$before")" eval 'windows | sed 3d'
  click_main 6367 8407
  expect "statistics shown again: every window where it stood" "$before" windows
  close_game
  unwind
done
[ "$ran" -gt 0 ] || skip "no window manager could be started"
finish
