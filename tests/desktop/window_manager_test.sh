#!/usr/bin/env bash
# The game as players run it: under the window managers of the common desktops (openbox,
# mutter of GNOME, KWin of KDE, xfwm4 of Xfce), each on its own Xvfb, from a fresh folder,
# checked with the X server's own view of the windows. Also started with a Wayland compositor
# beside the X server (weston, headless), where it must come up on X11.
# Usage: window_manager_test.sh GAME_EXECUTABLE SOUND_FOLDER [MANAGER...]
# Exit 77 (skipped) where no X server with a window manager can be started here; a manager
# that is not installed or does not start is skipped with a message.
set -u
game=$1
sounds=$2
shift 2
managers=(openbox mutter kwin_x11 xfwm4)
[ $# -eq 0 ] || managers=("$@")
skip() {
    echo "SKIPPED: $*"
    exit 77
}
for tool in Xvfb xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh installs it)"
done

work=$(mktemp -d)
pids=()
x_pids=()
cleanup() {
    for pid in "${x_pids[@]}" "${pids[@]}"; do kill -- "-$pid" "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export SDL_AUDIODRIVER=dummy XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/runtime NO_AT_BRIDGE=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE

# start_x MANAGER: a fresh Xvfb with that window manager, each in a process group of its own
# (the managers start helpers over D-Bus); fails with a reason where it cannot start.
start_x() {
    x_pids=()
    rm -f "$work/display"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    x_pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || { echo "Xvfb did not start: $(tail -1 "$work/xvfb.log")"; return 1; }
    export DISPLAY=:$(cat "$work/display")
    local command=("$1")
    case $1 in
        # The bottom of the screen is kept free (as for a panel), so that a help page can be
        # lifted above the work area's bottom while the main window's menu is on the screen.
        openbox) command+=(--config-file "$work/rc.xml") ;;
        mutter) command=(dbus-run-session -- mutter --x11 --replace) ;;
        # Breeze's decorations come with kwin-style-breeze: without them no title bars.
        kwin_x11) command=(dbus-run-session -- kwin_x11 --replace) ;;
        xfwm4) command=(dbus-run-session -- xfwm4 --compositor=off) ;;
    esac
    setsid "${command[@]}" >"$work/$1.log" 2>&1 &
    x_pids+=($!)
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' ||
        { echo "$1 did not start: $(tail -1 "$work/$1.log")"; return 1; }
    sleep 1  # the managers draw their first frames a moment after they announce themselves
}
stop_x() {
    for pid in "${x_pids[@]}"; do kill -- "-$pid" 2>/dev/null; done
    x_pids=()
}
cat >"$work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>424</bottom><left>0</left><right>0</right></margins>
</openbox_config>
XML

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
# (read with two X clients and no other process: the suite runs on a busy machine)
frame() {
    local info extents x y w h l=0 r=0 t=0 b=0 shown=0
    # (xwininfo without a window waits for a click)
    [ -n "$1" ] || { echo "no window"; return 1; }
    info=$(xwininfo -id "$1")
    [[ $info =~ Absolute\ upper-left\ X:\ +(-?[0-9]+).*Absolute\ upper-left\ Y:\ +(-?[0-9]+) ]]
    x=${BASH_REMATCH[1]} y=${BASH_REMATCH[2]}
    [[ $info =~ Width:\ +([0-9]+).*Height:\ +([0-9]+) ]]
    w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]}
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS)
    if [[ $extents =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]]; then
        l=${BASH_REMATCH[1]} r=${BASH_REMATCH[2]} t=${BASH_REMATCH[3]} b=${BASH_REMATCH[4]}
    fi
    [[ $info == *IsViewable* ]] && shown=1
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) $shown"
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
    wait_for bash -c "! kill -0 $game_pid 2>/dev/null" || check "the game ended" yes no
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
down_button="1920 7905"
side_buttons=("4927 8407" "5647 8407" "6367 8407")  # Future, Best, Stat
sides=(Future 'The Best Of The Vorblin' Statistic)
# The help window's designed client area, and the middles of its buttons in it (pixels).
help_client_height=$((2700 / 15))
close_button="52 168"
next_button="180 168"
help_window() { xdotool search --onlyvisible --name '^Справка$' 2>/dev/null | head -1; }
help_shown() { [ -n "$(help_window)" ]; }
# help_page: waits for a help page unrolled; prints its frame and its client area's height
help_page() {
    wait_for help_shown || return 1
    local help
    help=$(help_window)
    sleep 0.8  # it unrolls in about half a second
    settle "$help"
    echo "$(frame "$help") $(xwininfo -id "$help" | awk '/^ *Height:/{print $2}')"
}
press_help() {  # press_help "X Y": a button of the help page; waits for the page to go
    local help left top x y
    help=$(help_window)
    [ -n "$help" ] || { check "a help page to press" shown none; return 1; }
    read -r x y <<<"$1"
    read -r left top _ < <(xwininfo -id "$help" | awk '/Absolute upper-left/{printf "%s ", $4}')
    xdotool mousemove $((left + x)) $((top + y)) click 1
    wait_for bash -c "! xwininfo -id $help 2>/dev/null | grep -q IsViewable"
}
close_help() { press_help "$close_button"; }
# state NAME: Normal, Iconic or nothing (withdrawn), as the window manager has it
state() { xprop -id "$(window "$1")" WM_STATE 2>/dev/null | grep -o 'Normal\|Iconic'; }
# dialog_window: the name window or the new-game question (they bear the game's name)
dialog_window() {
    xdotool search --onlyvisible --name '^Vorblin Cascade$' 2>/dev/null | grep -vx "$main" | head -1
}
dialog_shown() { [ -n "$(dialog_window)" ]; }
no_side_window() {
    ! xdotool search --onlyvisible --name '^(Statistic|Future|The Best Of The Vorblin)$' >/dev/null
}
side_frames() {
    local name
    for name in "${sides[@]}"; do
        settle "$(window "$name")"
        echo "$(frame "$(window "$name")") $(state "$name")"
    done
}

# The windows by their frames on the first Auto, on the help pages, through minimise and
# restore with the side windows shown and hidden, and with each side window off and on.
fresh_folder_checks() {
    local mx my mw mh fx fy fw fh sx sy sw sh bx by bw bh left top x y page before after
    echo "--- $1: a fresh folder: the first Auto, help, minimise and restore, side windows off and on"
    dir=$(fresh_folder)
    start "$dir"
    xdotool windowmove "$main" 400 100
    wait_for bash -c "xwininfo -id $main | grep -q 'upper-left X:  400'"
    click_main $auto_button
    sleep 0.5
    for name in "${sides[@]}"; do
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
    [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$1-docked.png"

    # Pages open level with the main window, their designed client area whole under any frame.
    click_main $help_button
    for page in 1 2 3; do
        read -r x y hw hh _ client < <(help_page)
        check "help page $page: its right edge on the main window's left edge, its top level" \
            "$mx $my" "$((x + hw)) $y"
        check "help page $page: its client area as designed, the buttons whole" \
            "$help_client_height" "$client"
        [ "$page" = 1 ] && [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$1-help.png"
        if [ "$page" = 3 ]; then close_help; else press_help "$next_button"; fi
    done
    # Dragged by its title strip: the window manager moves it
    read -r left top _ < <(frame "$main")
    xdotool mousemove $((left + 150)) $((top + 12)) mousedown 1 sleep 0.2 \
        mousemove $((left + 170)) $((top + 30)) sleep 0.2 mousemove $((left + 200)) $((top + 52)) \
        sleep 0.2 mouseup 1
    sleep 0.3
    read -r x y _ < <(frame "$main")
    check "dragged by the title strip" "$((left + 50)) $((top + 40))" "$x $y"

    # Esc pauses and minimises every window; restoring the main window brings back the shown
    # side windows, in the normal state and where they stood.
    before=$(side_frames)
    xdotool windowactivate --sync "$main" key Escape
    wait_for bash -c "xprop -id $main WM_STATE | grep -q Iconic"
    check "Esc: the side windows minimised with the main window" "Iconic Iconic Iconic" \
        "$(state Future) $(state 'The Best Of The Vorblin') $(state Statistic)"
    xdotool windowactivate "$main"  # restored from the window manager
    wait_for viewable_main
    wait_for bash -c "[ \"\$(xprop -id $(window Statistic) WM_STATE | grep -o Normal)\" = Normal ]"
    sleep 0.5
    check "restored: the side windows back in the normal state where they stood" "$before" \
        "$(side_frames)"
    # Future, Best and Stat off and on: each comes back to the pixel.
    for button in "${side_buttons[@]}"; do click_main $button; done
    wait_for no_side_window
    for button in "${side_buttons[@]}"; do click_main $button; done
    for name in "${sides[@]}"; do wait_for is_viewable "$name"; done
    check "each side window off and on: back where it stood" "$before" "$(side_frames)"

    # And off: no side window open
    for button in "${side_buttons[@]}"; do click_main $button; done
    wait_for no_side_window
    read -r left top width height _ < <(frame "$main")
    xdotool mousemove $((left + width - 35)) $((top + 13)) click 1  # the strip's minimise box
    wait_for bash -c "xprop -id $main WM_STATE | grep -q Iconic"
    check "minimised" Iconic "$(xprop -id "$main" WM_STATE | grep -o Iconic)"
    xdotool windowactivate "$main"
    wait_for viewable_main
    sleep 0.5
    check "restored, no side window shows" "no no no" \
        "$(viewable 'The Best Of The Vorblin') $(viewable Statistic) $(viewable Future)"
    close_game
}

# Two starts from a settings file: every window where the file says, the file unchanged.
given_places_checks() {
    local run places x y shown hx hy hw hh main_top=450
    echo "--- $1: three side windows at given places, a main window low in the work area: two runs"
    dir=$(fresh_folder)
    # The others keep a window whole on the screen: they would lift this one by 40 pixels.
    [ "$1" = openbox ] || main_top=400
    # main 400,main_top; hall of fame 600,100; statistics 800,100; future 600,400 (pixels)
    {
        printf '6000\r\n%s\r\n' $((main_top * 15))
        printf 'True\r\n9000\r\n1500\r\nTrue\r\n12000\r\n1500\r\nTrue\r\n9000\r\n6000\r\n'
        printf 'False\r\nvorblin-music...\r\n...\r\nFalse\r\n-300\r\n'
        for _ in $(seq 10); do printf '...\r\nTrue\r\n-100\r\n'; done
        printf '7\r\n'
    } >"$work/given.ini"
    cp "$work/given.ini" "$dir/VorbDieRect.ini"
    for run in 1 2; do
        start "$dir"
        for name in "${sides[@]}"; do settle "$(window "$name")"; done
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
            # Only openbox is given a panel's room at the bottom here.
            if [ "$1" = openbox ]; then
                check "a help page low in the work area: lifted just above its bottom" 600 $((hy + hh))
            else
                check "a help page: level with the main window" "$main_top" "$hy"
            fi
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
}

# A game ended while the player holds a key: its auto-repeats do not reach the name.
held_key_checks() {
    local name_window="" until=$((SECONDS + 30))
    echo "--- $1: a game that ends while Space is held"
    dir=$(fresh_folder)
    start "$dir"
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
    wait_for bash -c "! xwininfo -id ${name_window:-0} 2>/dev/null | grep -q IsViewable"
    wait_for dialog_shown
    check "held through the game's end, then Enter: the name stored" UnNamed \
        "$(head -1 "$dir/VorblinFathers.txt" | tr -d '\r')"
    kill "$game_pid"
}

for manager in "${managers[@]}"; do
    echo "=== $manager"
    if ! command -v "$manager" >/dev/null; then
        echo "skipped: $manager is not installed (scripts/setup.sh installs it)"
        continue
    fi
    if ! start_x "$manager" >"$work/why"; then
        echo "skipped: $(cat "$work/why")"
        stop_x
        continue
    fi
    ran=$((${ran:-0} + 1))
    fresh_folder_checks "$manager"
    given_places_checks "$manager"
    held_key_checks "$manager"
    if [ "$manager" = openbox ]; then
        echo "--- a Wayland compositor beside the X server"
        if command -v weston >/dev/null; then
            weston --backend=headless-backend.so --socket=wayland-vorblin --idle-time=0 \
                >"$work/weston.log" 2>&1 &
            pids+=($!)
            if wait_for test -S "$XDG_RUNTIME_DIR/wayland-vorblin"; then
                dir=$(fresh_folder)
                WAYLAND_DISPLAY=wayland-vorblin start "$dir"
                check "with WAYLAND_DISPLAY and DISPLAY set the game is on X11" yes \
                    "$(viewable 'Vorblin Cascade')"
                close_game
            else
                echo "skipped: weston did not start ($(tail -1 "$work/weston.log"))"
            fi
        else
            echo "skipped: weston is not installed"
        fi
    fi
    stop_x
done
[ "${ran:-0}" -gt 0 ] || skip "no window manager could be started"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
