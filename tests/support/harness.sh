# shellcheck shell=bash
# The real environments the shell tests (and the network benchmark) run the game in: an X
# server with a window manager, a player with folders of their own, a network share (sshfs
# from a private sshd, with one or two server accounts, or SMB from a private Samba server
# through smbnetfs). Source it. It makes the work folder $work; whatever is started or
# mounted through it is stopped, unmounted or removed again on exit, the last first.
#
#   skip WHY / need THING... / die WHY      exit 77 with a reason; exit 1
#   check WHAT EXPECTED ACTUAL / ok WHAT COMMAND... / expect WHAT EXPECTED COMMAND... / finish
#   spawn NAME COMMAND... / halt PID        a process group of its own, logged to $work/NAME.log
#   start_x [MANAGER [ARG...]]              Xvfb, and a window manager on it (unwind stops them)
#   new_player NAME / start_game [VAR=VALUE...] COMMAND... / click_main X Y / close_game
#   share_start sshfs|accounts|smb          sets SHARE_DIR (the server's side), SHARE_MOUNT1/2
#   unwind                                  stops and removes all that was started so far

work=$(mktemp -d /tmp/vorblin-test.XXXXXX)
chmod 755 "$work"  # sshd reads the client's key as the accounts of the share
steps=() failures=0  # the clean-up steps, each a command line; the failed checks
at_exit() { steps+=("$(printf '%q ' "$@")"); }
unwind() {
  local i
  for ((i = ${#steps[@]} - 1; i >= 0; i--)); do eval "${steps[i]}" 2>/dev/null; done
  steps=()
}
trap 'trap "" INT TERM; unwind; chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

skip() { echo "SKIPPED: $*"; exit 77; }
die() { echo "FAIL: $*"; exit 1; }
# lacking THING...: prints the first thing the machine lacks (a command, a path, root)
lacking() {
  local t
  for t in "$@"; do  # (root: whether the test runs as root)
    [ -e "$t" ] || command -v "$t" >/dev/null || [ "$t$(id -u)" = root0 ] || { echo "no $t here (scripts/setup.sh installs it)"; return 0; }
  done
  return 1
}
need() { local why; if why=$(lacking "$@"); then skip "$why"; fi; }

check() {  # WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected $2, got $3"; failures=$((failures + 1)); return 1; fi
}
ok() {  # WHAT COMMAND...: the command succeeds
  if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); return 1; fi
}
# expect WHAT EXPECTED COMMAND...: the command's output, once it is EXPECTED or after 5 s
expect() {
  local _want=$2 _command=("${@:3}")
  wait_for eval '[ "$("${_command[@]}")" = "$_want" ]'
  check "$1" "$2" "$("${@:3}")"
}
finish() { [ "$failures" -eq 0 ] || die "$failures check(s) failed"; echo "all checks passed"; }
wait_for() {  # COMMAND...: up to ${patience:-5} s for it to succeed
  local i
  for ((i = 0; i < ${patience:-5} * 20; i++)); do "$@" && return 0; sleep 0.05; done
  return 1
}
gone() { ! kill -0 "$1" 2>/dev/null; }

# spawn NAME COMMAND...: in a session of its own, so that its helpers stop with it; $! in $pid
spawn() {
  setsid "${@:2}" >"$work/$1.log" 2>&1 </dev/null &
  pid=$!
  at_exit halt "$pid"
}
halt() {  # PID: its group asked to end, and made to after 5 s (a game may be inside a dialog)
  kill -- "-$1" 2>/dev/null || kill "$1" 2>/dev/null
  patience=5 wait_for gone "$1" || kill -KILL -- "-$1" "$1" 2>/dev/null
  wait "$1" 2>/dev/null || :
}
unmount() { mountpoint -q "$1" && { fusermount3 -u "$1" || fusermount -u "$1" || umount -l "$1"; }; }

# start_x [MANAGER [ARG...]]: a fresh Xvfb, numbered by itself, and that window manager with its
# own session bus; says why and returns 1 where either does not come up.
declare -A manager_flags=([mutter]=--x11 [xfwm4]=--compositor=off)
start_x() {
  rm -f "$work/display"
  spawn xvfb Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$work/display"
  patience=10 wait_for test -s "$work/display" || { echo "Xvfb did not start: $(tail -1 "$work/xvfb.log")"; return 1; }
  export DISPLAY=:$(cat "$work/display")
  [ $# -gt 0 ] || return 0
  spawn "$1" dbus-run-session -- "$@" ${manager_flags[$1]:-} --replace
  patience=10 wait_for eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" || { echo "$1 did not start: $(tail -1 "$work/$1.log")"; return 1; }
  sleep 1  # the managers draw their first frames a moment after they announce themselves
}

# new_player NAME: a player with a home, data, configuration and runtime folder of their own
new_player() {
  player=$work/$1
  mkdir -p "$player"/{home,data,config,runtime}
  chmod 700 "$player/runtime"
}
# start_game [VAR=VALUE...] COMMAND...: the game as the player, with only
# the player's environment (and a UTF-8 locale, without which the help window's Cyrillic
# title does not reach the X server as such) and a sanitizer build's options; its main window
# in $window. Xvfb refuses about one local connection in a few hundred on a busy machine: that
# is the display's doing, tried again.
start_game() {
  local attempt v sanitizers=()
  for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do [ -z "${!v:-}" ] || sanitizers+=("$v=${!v}"); done
  for attempt in 1 2 3; do
    spawn game env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" NO_AT_BRIDGE=1 HOME="$player/home" \
      XDG_DATA_HOME="$player/data" XDG_CONFIG_HOME="$player/config" XDG_CONFIG_DIRS=/nonexistent \
      XDG_RUNTIME_DIR="$player/runtime" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$player/audio.raw" "${sanitizers[@]}" "$@"
    game_pid=$pid
    patience=${window_wait:-15} wait_for game_window
    [ -z "$window" ] || return 0
    grep -q 'could not connect to display' "$work/game.log" || die "no game window within ${window_wait:-15} s: $(tail -20 "$work/game.log")"
    echo "note: the X server refused the game's connection (attempt $attempt)"
  done
  die "the X server refused the game three times"
}
# game_window: the main window of $game_pid in $window, or the game gone
game_window() { window=$(xdotool search --all --pid "$game_pid" --name '^Vorblin Cascade$' 2>/dev/null | head -1); [ -n "$window" ] || gone "$game_pid"; }
# click_main X Y: a click at a point of the main window's client area, in twips; the controls
# start below the 27-pixel title strip, inside a 4-pixel border
click_main() { xdotool mousemove --window "$window" $((4 + $1 / 15)) $((27 + $2 / 15)) click 1; }
# close_game: by the close box at the right end of its own title strip, as a player does
close_game() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove --window "$window" $((WIDTH - 15)) 13 click 1
  patience=10 wait_for gone "$game_pid" || halt "$game_pid"  # then no status: 127
  wait "$game_pid"
  check "the game ends from its close box, status 0" 0 "$?"
}

# share_start sshfs|accounts|smb: one folder on a private server, mounted twice like two
# machines, each mount with caches of its own. share_lacks KIND says why not, if so.
# (smbd becomes the player: it needs root)
declare -A share_needs=([sshfs]="sshfs /usr/sbin/sshd" [accounts]="sshfs /usr/sbin/sshd root useradd groupadd"
  [smb]="/usr/sbin/smbd smbnetfs smbclient root")
share_lacks() { lacking /dev/fuse ${share_needs[$1]}; }
share_start() { share=$work/$1 SHARE_DIR=$work/$1/share && mkdir -p "$SHARE_DIR" && "${1}_start"; }
share_logs() { tail -n 30 "$work"/*.log "$share"/*.log 2>/dev/null; }
# port_tries START: up to ten tries of START PORT, on a free port from a random one
port_tries() {
  local _i
  for _i in $(seq 10); do
    port=$((20000 + RANDOM % 40000))
    "$1" && return 0
    halt "$pid"
  done
  echo "could not start ${1%_try}: $(share_logs)"
  return 1
}
sshfs_start() {  # [USER1 USER2]: the accounts the mounts log in as, this one by default
  local _i users=("${1:-$(id -un)}" "${2:-${1:-$(id -un)}}")
  for _i in host client; do ssh-keygen -q -t ed25519 -N '' -f "$share/$_i"; done
  chmod 711 "$share"  # sshd reads the key as the account logging in
  [ "$(id -u)" -ne 0 ] || install -d -m 755 /run/sshd  # made at boot normally
  port_tries sshd_try
}
sshd_try() {
  spawn sshd /usr/sbin/sshd -D -e -f /dev/null -p "$port" -h "$share/host" \
    -o ListenAddress=127.0.0.1 -o PidFile=none -o AuthorizedKeysFile="$share/client.pub" \
    -o StrictModes=no -o UsePAM=no -o PasswordAuthentication=no -o 'Subsystem=sftp internal-sftp'
  patience=5 wait_for sshfs_mount "${users[0]}" 1 && sshfs_mount "${users[1]}" 2
}
sshfs_mount() {  # USER N
  declare -g "SHARE_MOUNT$2=$share/mount$2"
  mkdir -p "$share/mount$2"
  sshfs -p "$port" -o IdentityFile="$share/client",StrictHostKeyChecking=no,BatchMode=yes \
    -o UserKnownHostsFile=/dev/null,LogLevel=ERROR "$1@127.0.0.1:$SHARE_DIR" "$share/mount$2" &&
    at_exit unmount "$share/mount$2"
}
# The server sees the two mounts as two users of one group, as when each player logs in with
# an account of their own, in the office's folder that the group may write (setgid).
accounts_start() {
  local g=vorblin-share-$$ u owners  # a run killed before its clean-up blocks no later one
  groupadd "$g" && at_exit groupdel "$g"
  for u in vorblin-a-$$ vorblin-b-$$; do
    # '*': no password, but not a locked account, which sshd would turn away
    useradd -M -N -g "$g" -d /nonexistent -s /bin/sh -p '*' "$u" && at_exit userdel -f "$u"
  done
  install -d -g "$g" -m 2775 "$SHARE_DIR"
  sshfs_start vorblin-a-$$ vorblin-b-$$ || return 1
  # Without two owners on the server the test would prove nothing.
  touch "$SHARE_MOUNT1/.owner1" "$SHARE_MOUNT2/.owner2"
  owners=$(stat -c %U "$SHARE_DIR/.owner1" "$SHARE_DIR/.owner2" | paste -sd ' ')
  rm -f "$SHARE_DIR"/.owner?
  [ "$owners" = "vorblin-a-$$ vorblin-b-$$" ] || { echo "the server saw one account: $owners"; return 1; }
}
smb_start() {
  local n password user probe=.vorblin-probe-$$
  password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
  user=$(id -un)
  mkdir -p "$share/samba"
  printf '%s\n' '[global]' 'server role = standalone server' 'disable netbios = yes' 'interfaces = 127.0.0.1' \
    'bind interfaces only = yes' "log file = $share/smbd.log" "lock directory = $share/samba" \
    "state directory = $share/samba" "cache directory = $share/samba" "pid directory = $share/samba" \
    "private dir = $share/samba" "ncalrpc dir = $share/samba/rpc" "binddns dir = $share/samba" 'load printers = no' \
    'printcap name = /dev/null' 'disable spoolss = yes' 'usershare max shares = 0' 'rpc start on demand helpers = no' \
    '[share]' "path = $SHARE_DIR" 'read only = no' >"$share/smb.conf"
  printf '%s\n%s\n' "$password" "$password" | smbpasswd -c "$share/smb.conf" -a -s "$user" >/dev/null
  port_tries smbd_try || return 1
  for n in 1 2; do  # each machine's user, with a HOME/.smb of its own
    mkdir -p "$share/home$n/.smb" "$share/fuse$n"
    printf '%s\n' "auth \"$user\" \"$password\"" 'smb_query_browsers "false"' 'use_libsecret "false"' \
      "log_file \"$share/smbnetfs$n.log\"" >"$share/home$n/.smb/smbnetfs.conf"
    chmod 600 "$share/home$n/.smb/smbnetfs.conf"
    spawn "smbnetfs$n" env HOME="$share/home$n" smbnetfs "$share/fuse$n" -f
    at_exit unmount "$share/fuse$n"
    # libsmbclient takes a port other than 445 only from the path (host:port).
    declare -g "SHARE_MOUNT$n=$share/fuse$n/127.0.0.1:$port/share"
  done
  # Up once a file made through one mount is seen through the other and on the server.
  smb_probe() {
    [ -e "$SHARE_DIR/$probe" ] || { touch "$SHARE_MOUNT1/$probe" 2>/dev/null; return 1; }
    [ -e "$SHARE_MOUNT2/$probe" ] && rm -f "$SHARE_MOUNT2/$probe" && [ ! -e "$SHARE_DIR/$probe" ]
  }
  patience=20 wait_for smb_probe || { echo "the smbnetfs mounts did not show the share: $(share_logs)"; return 1; }
}
# Under a session of its own, smbd needs no process group of its own; up once it answers.
smbd_try() {
  spawn smbd /usr/sbin/smbd --foreground --no-process-group --port="$port" --configfile="$share/smb.conf"
  patience=20 wait_for eval 'gone $pid || smb_answers >/dev/null 2>&1' && ! gone "$pid"
}
smb_answers() { smbclient -p "$port" -U "$user%$password" //127.0.0.1/share -c ls; }
