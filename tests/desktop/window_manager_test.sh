#!/usr/bin/env bash
# The game as players run it: under a window manager (openbox on Xvfb), from a fresh folder,
# checked with the X server's own view of the windows. Also started with a Wayland compositor
# beside the X server (weston, headless), where it must come up on X11.
# Usage: window_manager_test.sh GAME_EXECUTABLE SOUND_FOLDER
# Exit 77 (skipped) where no X server with a window manager can be started here.
set -u
game=$1
sounds=$2
skip() {
    echo "SKIPPED: $*"
    exit 77
}
for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh installs it)"
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A free display: Xvfb picks it and tells its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || skip "Xvfb did not start: $(tail -1 "$work/xvfb.log")"
export DISPLAY=:$(cat "$work/display")
# The bottom of the screen is kept free (as for a panel), so that a help page can be lifted
# above the work area's bottom while the main window's menu is still on the screen.
cat >"$work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>424</bottom><left>0</left><right>0</right></margins>
</openbox_config>
XML
openbox --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || skip "openbox did not start"
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE

failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1: expected $2, got $3"
        failures=$((failures + 1))
    fi
}

# window NAME: the id of the game's window with that title (empty when there is none)
window() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }
# frame ID: "left top width height viewable" of the window with its window manager frame
frame() {
    local info x y w h l=0 r=0 t=0 b=0
    info=$(xwininfo -id "$1")
    x=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
    w=$(awk '/^ *Width:/{print $2}' <<<"$info")
    h=$(awk '/^ *Height:/{print $2}' <<<"$info")
    if xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '='; then
        read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    fi
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) $(grep -c IsViewable <<<"$info")"
}
has_window() { [ -n "$(window "$1")" ]; }
viewable() {
    local id
    id=$(window "$1")
    [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable && echo yes || echo no
}
is_viewable() { [ "$(viewable "$1")" = yes ]; }
# wait_for COMMAND...: up to 5 s for the command to succeed
wait_for() {
    for _ in $(seq 100); do "$@" && return 0; sleep 0.05; done
    return 1
}
# settle ID: until the window's frame has stood still for a while
settle() {
    local last="" now
    for _ in $(seq 60); do
        now=$(frame "$1")
        [ "$now" = "$last" ] && return
        last=$now
        sleep 0.1
    done
}
start() {  # start FOLDER: the game from that folder; sets main to its window
    (cd "$1" && exec ./vorblin) >"$1/out.log" 2>&1 &
    pids+=($!)
    game_pid=$!
    wait_for has_window 'Vorblin Cascade' || {
        echo "FAIL: the game did not show its window"
        cat "$1/out.log"
        exit 1
    }
    main=$(window 'Vorblin Cascade')
    wait_for viewable_main
    sleep 0.5
}
viewable_main() { xwininfo -id "$main" | grep -q IsViewable; }
# click_main X Y: a click at a point of the main window's client area, in twips
click_main() {
    local left top
    read -r left top _ < <(frame "$main")
    # the controls start below the 27-pixel title strip, inside a 4-pixel border
    xdotool mousemove $((left + 4 + $1 / 15)) $((top + 27 + $2 / 15)) click 1
}
close_game() {  # by the title strip's close box, as a player does
    local left top width
    read -r left top width _ < <(frame "$main")
    xdotool mousemove $((left + width - 15)) $((top + 13)) click 1
    wait_for bash -c "! kill -0 $game_pid 2>/dev/null" || echo "FAIL: the game did not end"
}
fresh_folder() {
    local dir
    dir=$(mktemp -d "$work/game.XXXX")
    cp "$game" "$dir/vorblin"
    cp -r "$sounds" "$dir/sound"
    echo "$dir"
}
# The buttons' centres in the main window's client area (twips).
auto_button="4207 8407"
help_button="4926 8047"
# help_page: waits for the help window unrolled; prints its frame
help_page() {
    wait_for has_window 'Справка' || return 1
    local help
    help=$(window 'Справка')
    sleep 0.8  # it unrolls in about half a second
    settle "$help"
    frame "$help"
}
close_help() {  # "Закрыть" on the help page
    local help left top l t
    help=$(window 'Справка')
    read -r left top _ < <(xwininfo -id "$help" | awk '/Absolute upper-left/{printf "%s ", $4}')
    xdotool mousemove $((left + 52)) $((top + 168)) click 1
    wait_for bash -c "[ \"\$(xdotool search --onlyvisible --name '^Справка\$' 2>/dev/null)\" = '' ]"
}

echo "--- a fresh folder: the first Auto, help, and minimise and restore with no side window open"
dir=$(fresh_folder)
start "$dir"
xdotool windowmove "$main" 400 100
wait_for bash -c "xwininfo -id $main | grep -q 'upper-left X:  400'"
click_main $auto_button
sleep 0.5
for name in 'The Best Of The Vorblin' Statistic Future; do
    wait_for is_viewable "$name"
    settle "$(window "$name")"
done
read -r mx my mw mh _ < <(frame "$main")
read -r fx fy fw fh _ < <(frame "$(window Future)")
read -r sx sy sw sh _ < <(frame "$(window Statistic)")
read -r bx by bw bh _ < <(frame "$(window 'The Best Of The Vorblin')")
check "the hall of fame's bottom edge is level with the main window's" $((my + mh)) $((by + bh))
check "the hall of fame and the future window stand in one column" "$fx" "$bx"
check "the future and statistics windows' tops are level with the main window's" "$my $my" "$fy $sy"
check "the gap beside the main window is one pixel" 1 $((fx - (mx + mw)))
check "the gap between the future and statistics windows is the same" \
    $((fx - (mx + mw))) $((sx - (fx + fw)))
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/docked.png"

click_main $help_button
read -r hx hy hw hh _ < <(help_page)
check "the help window's right edge is on the main window's left edge" "$mx" $((hx + hw))
check "the help window's top is level with the main window's" "$my" "$hy"
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/help.png"
close_help
# Dragged by its title strip: the window manager moves it
read -r left top _ < <(frame "$main")
xdotool mousemove $((left + 150)) $((top + 12)) mousedown 1 sleep 0.2 \
    mousemove $((left + 170)) $((top + 30)) sleep 0.2 mousemove $((left + 200)) $((top + 52)) \
    sleep 0.2 mouseup 1
sleep 0.3
read -r x y _ < <(frame "$main")
check "dragged by the title strip" "$((left + 50)) $((top + 40))" "$x $y"
# Best, Stat and Future up again: no side window open
for button in "4927 8407" "5647 8407" "6367 8407"; do click_main $button; done
wait_for bash -c "! xdotool search --onlyvisible --name '^(Statistic|Future|The Best Of The Vorblin)\$' >/dev/null"
read -r left top width height _ < <(frame "$main")
xdotool mousemove $((left + width - 35)) $((top + 13)) click 1  # the strip's minimise box
wait_for bash -c "xprop -id $main WM_STATE | grep -q Iconic"
check "minimised" Iconic "$(xprop -id "$main" WM_STATE | grep -o Iconic)"
xdotool windowactivate "$main"  # restored from the window manager
wait_for viewable_main
sleep 0.5
check "restored, no side window shows" "no no no" \
    "$(viewable 'The Best Of The Vorblin') $(viewable Statistic) $(viewable Future)"

close_game

echo "--- three side windows at given places, a main window low in the work area: two runs"
dir=$(fresh_folder)
# main 400,450; hall of fame 600,100; statistics 800,100; future 600,400 (pixels)
{
    printf '6000\r\n6750\r\nTrue\r\n9000\r\n1500\r\nTrue\r\n12000\r\n1500\r\nTrue\r\n9000\r\n6000\r\n'
    printf 'False\r\nvorblin-music...\r\n...\r\nFalse\r\n-300\r\n'
    for _ in $(seq 10); do printf '...\r\nTrue\r\n-100\r\n'; done
    printf '7\r\n'
} >"$work/given.ini"
cp "$work/given.ini" "$dir/VorbDieRect.ini"
for run in 1 2; do
    start "$dir"
    for name in 'The Best Of The Vorblin' Statistic Future; do settle "$(window "$name")"; done
    places=""
    for name in 'The Best Of The Vorblin' Statistic Future; do
        read -r x y _ _ shown < <(frame "$(window "$name")")
        places+="$x,$y,$shown "
    done
    check "run $run: the side windows' frames stand where the file says" \
        "600,100,1 800,100,1 600,400,1 " "$places"
    if [ "$run" = 1 ]; then
        click_main $help_button
        read -r hx hy hw hh _ < <(help_page)
        check "a help page low in the work area: at the main window's left edge" 400 $((hx + hw))
        check "a help page low in the work area: lifted just above its bottom" 600 $((hy + hh))
        [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/help-low.png"
        close_help
    fi
    close_game
    if cmp -s "$work/given.ini" "$dir/VorbDieRect.ini"; then
        echo "ok: run $run: closing writes back the same bytes"
    else
        echo "FAIL: run $run: the settings file changed:"
        diff <(tr -d '\r' <"$work/given.ini") <(tr -d '\r' <"$dir/VorbDieRect.ini")
        failures=$((failures + 1))
    fi
done

echo "--- a Wayland compositor beside the X server"
if command -v weston >/dev/null; then
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --socket=wayland-vorblin --idle-time=0 \
        >"$work/weston.log" 2>&1 &
    pids+=($!)
    if wait_for test -S "$XDG_RUNTIME_DIR/wayland-vorblin"; then
        dir=$(fresh_folder)
        WAYLAND_DISPLAY=wayland-vorblin start "$dir"
        check "with WAYLAND_DISPLAY and DISPLAY set the game is on X11" yes "$(viewable 'Vorblin Cascade')"
        close_game
    else
        echo "skipped: weston did not start ($(tail -1 "$work/weston.log"))"
    fi
else
    echo "skipped: weston is not installed"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
