#!/usr/bin/env bash
# The game as players run it: under the window managers of the common desktops (openbox,
# mutter of GNOME, KWin of KDE, xfwm4 of Xfce), each on its own Xvfb, from a fresh folder,
# checked with the X server's own view of the windows. Also started with a Wayland compositor
# beside the X server (weston, headless), where it must come up on X11.
# Usage: window_manager_test.sh GAME_EXECUTABLE SOUND_FOLDER [MANAGER...]
# Exit 77 (skipped) where no X server with a window manager can be started here; a manager
# that is not installed or does not start is skipped with a message.
set -u
source "$(dirname "$0")/../support/harness.sh"
game=$1 sounds=$2 ran=0
shift 2
[ $# -gt 0 ] || set -- openbox mutter kwin_x11 xfwm4
need Xvfb xdotool xwininfo xprop
# Under openbox the bottom of the screen is kept free (as for a panel), so that a help page
# can be lifted above the work area's bottom while the main window's menu is on the screen.
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
  '<openbox_config xmlns="http://openbox.org/3.4/rc"><margins><top>0</top><bottom>424</bottom>' \
  '<left>0</left><right>0</right></margins></openbox_config>' >"$work/rc.xml"

sides=(Future 'The Best Of The Vorblin' Statistic)
# The buttons' centres in the main window's client area (twips): Auto, Help, Down, and the
# Future, Best and Stat switches, in the order of the side windows above.
auto_button="4207 8407" help_button="4926 8047" down_button="1920 7905"
side_buttons=("4927 8407" "5647 8407" "6367 8407")
# The help window's designed client height, and the middles of its buttons (pixels).
help_client_height=$((2700 / 15)) close_button="52 168" next_button="180 168"

window() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }
# frame ID: "left top width height viewable client-height" of the window with its window
# manager's frame (read with two X clients and no other process: the machine is busy)
frame() {
  local info x y w h l=0 r=0 t=0 b=0
  [ -n "$1" ] || { echo "no window"; return 1; }  # (xwininfo without a window waits for a click)
  info=$(xwininfo -id "$1")
  [[ $info =~ Absolute\ upper-left\ X:\ +(-?[0-9]+).*Absolute\ upper-left\ Y:\ +(-?[0-9]+).*Width:\ +([0-9]+).*Height:\ +([0-9]+) ]]
  read -r x y w h <<<"${BASH_REMATCH[*]:1}"
  [[ $(xprop -id "$1" _NET_FRAME_EXTENTS) =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]] &&
    read -r l r t b <<<"${BASH_REMATCH[*]:1}"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) $([[ $info == *IsViewable* ]] && echo 1 || echo 0) $h"
}
# mapped ID (never empty: xwininfo and xprop without a window wait for a click)
mapped() { [ -n "$1" ] && xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
viewable() { mapped "$(window "$1")" && echo yes || echo no; }   # NAME
is_viewable() { [ "$(viewable "$1")" = yes ]; }
# state ID: Normal, Iconic or nothing (withdrawn), as the window manager has it
state() { [ -n "$1" ] && xprop -id "$1" WM_STATE 2>/dev/null | grep -o 'Normal\|Iconic'; }
states() { for name in "$@"; do state "$(window "$name")"; done | paste -sd' '; }
settle() {  # ID: until the window's frame has stood still for a while
  local last="" now
  for _ in $(seq 60); do
    now=$(frame "$1")
    [ "$now" = "$last" ] && return
    last=$now
    sleep 0.1
  done
}
side_frames() { for name in "${sides[@]}"; do settle "$(window "$name")"; echo "$(frame "$(window "$name")") $(states "$name")"; done; }
sides_up() { for name in "${sides[@]}"; do wait_for is_viewable "$name"; settle "$(window "$name")"; done; }
click_sides() { for button in "${side_buttons[@]}"; do click_main $button; done; }
restore() {  # the main window, from the window manager
  xdotool windowactivate "$main"
  wait_for mapped "$main"
  sleep 0.5
}
no_side_window() { ! xdotool search --onlyvisible --name '^(Statistic|Future|The Best Of The Vorblin)$' >/dev/null; }
# click_main X Y: a click at a point of the main window's client area, in twips; the controls
# start below the 27-pixel title strip, inside a 4-pixel border
click_main() { xdotool mousemove --window "$main" $((4 + $1 / 15)) $((27 + $2 / 15)) click 1; }
help_window() { xdotool search --onlyvisible --name '^Справка$' 2>/dev/null | head -1; }
help_page() {  # waits for a help page unrolled (in about half a second); prints its frame
  wait_for eval '[ -n "$(help_window)" ]' || return 1
  sleep 0.8
  settle "$(help_window)"
  frame "$(help_window)"
}
press_help() {  # "X Y": a button of the help page; waits for the page to go
  local help
  help=$(help_window)
  [ -n "$help" ] || { check "a help page to press" shown none; return 1; }
  xdotool mousemove --window "$help" ${1% *} ${1#* } click 1
  wait_for eval '! mapped $help'
}
# dialog_window: the name window or the new-game question (they bear the game's name)
dialog_window() { xdotool search --onlyvisible --name '^Vorblin Cascade$' 2>/dev/null | grep -vx "$main" | head -1; }
fresh_folder() { dir=$(mktemp -d "$work/game.XXXX") && cp "$game" "$dir/vorblin" && cp -r "$sounds" "$dir/sound"; }
play() {  # [VAR=VALUE...]: the game from $dir, started there as players do; $main its window
  new_player player
  pushd "$dir" >/dev/null && start_game SDL_AUDIODRIVER=dummy "$@" ./vorblin
  popd >/dev/null
  main=$window
  wait_for mapped "$main"
  sleep 0.5
}

# The windows by their frames on the first Auto, on the help pages, through minimise and
# restore with the side windows shown and hidden, and with each side window off and on.
fresh_folder_checks() {
  local mx my mw mh fx fy fw sx sy bx by bw bh left top width x y hw page before
  echo "--- $1: a fresh folder: the first Auto, help, minimise and restore, side windows off and on"
  fresh_folder
  play
  xdotool windowmove "$main" 400 100
  wait_for bash -c "xwininfo -id $main | grep -q 'upper-left X:  400'"
  click_main $auto_button
  sleep 0.5
  sides_up
  read -r mx my mw mh _ < <(frame "$main")
  read -r fx fy fw _ < <(frame "$(window Future)")
  read -r sx sy _ < <(frame "$(window Statistic)")
  read -r bx by bw bh _ < <(frame "$(window 'The Best Of The Vorblin')")
  check "the hall of fame's bottom edge is level with the main window's" $((my + mh)) $((by + bh))
  check "the hall of fame and the future window stand in one column" "$fx" "$bx"
  check "the future and statistics windows' tops are level with the main window's" "$my $my" "$fy $sy"
  check "the gap beside the main window is one pixel" 1 $((fx - (mx + mw)))
  check "the gap between the future and statistics windows is the same" $((fx - (mx + mw))) $((sx - (fx + fw)))

  # Pages open level with the main window, their designed client area whole under any frame.
  click_main $help_button
  for page in 1 2 3; do
    read -r x y hw _ _ client < <(help_page)
    check "help page $page: its right edge on the main window's left edge, its top level" "$mx $my" "$((x + hw)) $y"
    check "help page $page: its client area as designed, the buttons whole" "$help_client_height" "$client"
    if [ "$page" = 3 ]; then press_help "$close_button"; else press_help "$next_button"; fi
  done
  # Dragged by its title strip: the window manager moves it
  read -r left top _ < <(frame "$main")
  xdotool mousemove $((left + 150)) $((top + 12)) mousedown 1 sleep 0.2 mousemove $((left + 170)) $((top + 30)) \
    sleep 0.2 mousemove $((left + 200)) $((top + 52)) sleep 0.2 mouseup 1
  sleep 0.3
  read -r x y _ < <(frame "$main")
  check "dragged by the title strip" "$((left + 50)) $((top + 40))" "$x $y"

  # Esc pauses and minimises every window; restoring the main window brings back the shown
  # side windows, in the normal state and where they stood.
  before=$(side_frames)
  xdotool windowactivate --sync "$main" key Escape
  wait_for eval '[ "$(state $main)" = Iconic ]'
  check "Esc: the side windows minimised with the main window" "Iconic Iconic Iconic" "$(states "${sides[@]}")"
  restore
  wait_for eval '[ "$(states Statistic)" = Normal ]'
  check "restored: the side windows back in the normal state where they stood" "$before" "$(side_frames)"
  # Future, Best and Stat off and on: each comes back to the pixel. Then off for good.
  click_sides
  wait_for no_side_window
  click_sides
  sides_up
  check "each side window off and on: back where it stood" "$before" "$(side_frames)"
  click_sides
  wait_for no_side_window
  read -r left top width _ < <(frame "$main")
  xdotool mousemove $((left + width - 35)) $((top + 13)) click 1  # the strip's minimise box
  wait_for eval '[ "$(state $main)" = Iconic ]'
  check "minimised" Iconic "$(state "$main")"
  restore
  check "restored, no side window shows" "no no no" \
    "$(viewable 'The Best Of The Vorblin') $(viewable Statistic) $(viewable Future)"
  close_game
}

# Two starts from a settings file: every window where the file says, the file unchanged.
given_places_checks() {
  local run places x y shown hx hy hw hh main_top=450
  echo "--- $1: three side windows at given places, a main window low in the work area: two runs"
  fresh_folder
  # The others keep a window whole on the screen: they would lift this one by 40 pixels.
  [ "$1" = openbox ] || main_top=400
  # main 400,main_top; hall of fame 600,100; statistics 800,100; future 600,400 (pixels)
  {
    printf '6000\r\n%s\r\n' $((main_top * 15))
    printf '%s\r\n' True 9000 1500 True 12000 1500 True 9000 6000 False vorblin-music... ... False -300
    for _ in $(seq 10); do printf '...\r\nTrue\r\n-100\r\n'; done
    printf '7\r\n'
  } >"$work/given.ini"
  cp "$work/given.ini" "$dir/VorbDieRect.ini"
  for run in 1 2; do
    play
    places=""
    for name in 'The Best Of The Vorblin' Statistic Future; do
      settle "$(window "$name")"
      read -r x y _ _ shown _ < <(frame "$(window "$name")")
      places+="$x,$y,$shown "
    done
    check "run $run: the side windows' frames stand where the file says" "600,100,1 800,100,1 600,400,1 " "$places"
    if [ "$run" = 1 ]; then
      click_main $help_button
      read -r hx hy hw hh _ < <(help_page)
      check "a help page low in the work area: at the main window's left edge" 400 $((hx + hw))
      # Only openbox is given a panel's room at the bottom here.
      if [ "$1" = openbox ]; then
        check "a help page low in the work area: lifted just above its bottom" 600 $((hy + hh))
      else
        check "a help page: level with the main window" "$main_top" "$hy"
      fi
      press_help "$close_button"
    fi
    close_game
    check "run $run: closing writes back the same bytes" "" \
      "$(diff <(tr -d '\r' <"$work/given.ini") <(tr -d '\r' <"$dir/VorbDieRect.ini"); cmp "$work/given.ini" "$dir/VorbDieRect.ini")"
  done
}

# A game ended while the player holds a key: its auto-repeats do not reach the name.
held_key_checks() {
  local name_window="" until=$((SECONDS + 30))
  echo "--- $1: a game that ends while Space is held"
  fresh_folder
  play
  xdotool windowactivate --sync "$main" keydown space
  while [ $SECONDS -lt $until ]; do  # each press drops a figure: the well fills in seconds
    name_window=$(dialog_window)
    [ -n "$name_window" ] && break
    click_main $down_button
    sleep 0.05
  done
  sleep 1  # the held key repeats into the name window
  xdotool keyup space
  sleep 0.2
  xdotool key Return
  # the table is stored before the new-game question comes
  wait_for eval '! mapped ${name_window:-0}'
  wait_for eval '[ -n "$(dialog_window)" ]'
  check "held through the game's end, then Enter: the name stored" UnNamed \
    "$(head -1 "$dir/VorblinFathers.txt" | tr -d '\r')"
  halt "$game_pid"
}

wayland_checks() {
  echo "--- a Wayland compositor beside the X server"
  if why=$(lacking weston); then echo "skipped: $why"; return; fi
  new_player player
  spawn weston env XDG_RUNTIME_DIR="$player/runtime" weston --backend=headless-backend.so \
    --socket=wayland-vorblin --idle-time=0
  local weston=$pid
  wait_for test -S "$player/runtime/wayland-vorblin" || { echo "skipped: weston did not start ($(tail -1 "$work/weston.log"))"; return; }
  fresh_folder
  play WAYLAND_DISPLAY=wayland-vorblin
  check "with WAYLAND_DISPLAY and DISPLAY set the game is on X11" yes "$(viewable 'Vorblin Cascade')"
  close_game
  halt "$weston"
}

for manager in "$@"; do
  echo "=== $manager"
  if why=$(lacking "$manager"); then echo "skipped: $why"; continue; fi
  args=()
  [ "$manager" != openbox ] || args=(--config-file "$work/rc.xml")
  if ! start_x "$manager" "${args[@]}" >"$work/why"; then
    echo "skipped: $(cat "$work/why")"
    unwind
    continue
  fi
  ran=$((ran + 1))
  fresh_folder_checks "$manager"
  given_places_checks "$manager"
  held_key_checks "$manager"
  [ "$manager" != openbox ] || wayland_checks
  unwind
done
[ "$ran" -gt 0 ] || skip "no window manager could be started"
finish
