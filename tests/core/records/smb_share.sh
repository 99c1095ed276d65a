# shellcheck shell=bash
# A real SMB share for the tests and benchmarks, as offices share folders: a private Samba
# smbd on a free localhost port (configuration, password database and every state folder in
# a temporary folder) and its one share mounted twice with smbnetfs, each mount with a home
# and caches of its own, like two machines. Source it, then: smb_start (sets SHARE_DIR, the
# folder the server shares, SHARE_MOUNT1 and SHARE_MOUNT2, the share seen through each
# mount, and SHARE_TMP); smb_stop runs on exit. smb_unavailable prints why the machine
# cannot do it, if so.

SMB_LIMIT=${SMB_LIMIT:-20}  # seconds for the server and the mounts to come up

smb_unavailable() {
  [ -c /dev/fuse ] || { echo "no /dev/fuse: FUSE is not available on this machine"; return 0; }
  [ -x /usr/sbin/smbd ] || { echo "Samba's smbd is not installed"; return 0; }
  command -v smbnetfs >/dev/null || { echo "smbnetfs is not installed"; return 0; }
  command -v smbclient >/dev/null || { echo "smbclient is not installed"; return 0; }
  command -v fusermount3 >/dev/null || command -v fusermount >/dev/null ||
    { echo "fusermount is not installed"; return 0; }
  # smbd has to become the account it serves the files as.
  [ "$(id -u)" -eq 0 ] || { echo "a private smbd needs root"; return 0; }
  return 1
}

smb_stop() {
  ! declare -F share_stop_clients >/dev/null || share_stop_clients
  local i pid
  for i in 1 2; do
    mountpoint -q "${SHARE_TMP:-}/fuse$i" 2>/dev/null &&
      { fusermount3 -u "$SHARE_TMP/fuse$i" 2>/dev/null || fusermount -u "$SHARE_TMP/fuse$i" 2>/dev/null || umount -l "$SHARE_TMP/fuse$i" 2>/dev/null || true; }
  done
  # smbnetfs leaves once unmounted; smbd's own helpers leave with it.
  for pid in ${SMB_PIDS[@]+"${SMB_PIDS[@]}"}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  SMB_PIDS=()
  [ -n "${SHARE_TMP:-}" ] && rm -rf "$SHARE_TMP"
  return 0
}

# What the server and the mounts had to say, for a failed start or a failed run.
smb_logs() {
  echo "smbd's log:" >&2
  tail -n 40 "$SHARE_TMP/smbd.log" >&2
  local i
  for i in 1 2; do
    [ -s "$SHARE_TMP/smbnetfs$i.log" ] && { echo "smbnetfs $i:" >&2; tail -n 20 "$SHARE_TMP/smbnetfs$i.log" >&2; }
  done
  return 0
}

smb_failed() {  # WHAT
  echo "$1" >&2
  smb_logs
  return 1
}

# Runs smbd on SMB_PORT; true once it answers for the share.
smb_serve() {
  # Not --no-process-group: smbd signals its whole process group as it stops.
  /usr/sbin/smbd --foreground --port="$SMB_PORT" --configfile="$SHARE_TMP/smb.conf" \
    >>"$SHARE_TMP/smbd.log" 2>&1 </dev/null &
  SMB_PIDS+=($!)
  for _ in $(seq $((SMB_LIMIT * 5))); do
    smbclient -s "$SHARE_TMP/client/.smb/smb.conf" -p "$SMB_PORT" \
      -U "$SMB_USER%$SMB_PASSWORD" //127.0.0.1/share -c ls >/dev/null 2>&1 && return 0
    kill -0 "${SMB_PIDS[-1]}" 2>/dev/null || break
    sleep 0.2
  done
  kill "${SMB_PIDS[-1]}" 2>/dev/null
  wait "${SMB_PIDS[-1]}" 2>/dev/null
  unset 'SMB_PIDS[-1]'
  return 1
}

# smbnetfs through HOME/.smb, as each user of a machine has it.
smb_mount() {  # N
  local home=$SHARE_TMP/home$1
  mkdir -p "$home/.smb" "$SHARE_TMP/fuse$1"
  cp "$SHARE_TMP/client/.smb/smb.conf" "$home/.smb/smb.conf"
  cat >"$home/.smb/smbnetfs.conf" <<CONFIG
auth "$SMB_USER" "$SMB_PASSWORD"
smb_query_browsers "false"
use_libsecret "false"
log_file "$SHARE_TMP/smbnetfs$1.log"
CONFIG
  chmod 600 "$home/.smb/smbnetfs.conf"
  HOME=$home smbnetfs "$SHARE_TMP/fuse$1" -f -o config="$home/.smb/smbnetfs.conf" \
    >>"$SHARE_TMP/smbnetfs$1.log" 2>&1 </dev/null &
  SMB_PIDS+=($!)
}

smb_start() {
  SHARE_TMP=$(mktemp -d)
  SMB_PIDS=()
  # shellcheck disable=SC2034  # share_stress.sh prints the logs after a failed run
  SHARE_LOGS=smb_logs
  trap smb_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  SHARE_DIR=$SHARE_TMP/share
  mkdir -p "$SHARE_DIR" "$SHARE_TMP/client/.smb" \
    "$SHARE_TMP"/samba/{lock,state,cache,pid,private,ncalrpc,bind-dns}
  SMB_USER=$(id -un)
  SMB_PASSWORD=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
  local t=$SHARE_TMP
  cat >"$t/smb.conf" <<CONFIG
[global]
  server role = standalone server
  workgroup = WORKGROUP
  netbios name = VORBLINTEST
  disable netbios = yes
  interfaces = 127.0.0.1
  bind interfaces only = yes
  lock directory = $t/samba/lock
  state directory = $t/samba/state
  cache directory = $t/samba/cache
  pid directory = $t/samba/pid
  private dir = $t/samba/private
  ncalrpc dir = $t/samba/ncalrpc
  binddns dir = $t/samba/bind-dns
  passdb backend = tdbsam:$t/samba/private/passdb.tdb
  log file = $t/smbd.log
  log level = 1
  load printers = no
  printing = bsd
  printcap name = /dev/null
  disable spoolss = yes
  usershare max shares = 0
  # The RPC helpers smbd starts on demand outlive it and log to /var/log/samba; the share
  # itself needs none (only listing the host's shares would).
  rpc start on demand helpers = no
[share]
  path = $SHARE_DIR
  read only = no
CONFIG
  printf '%s\n%s\n' "$SMB_PASSWORD" "$SMB_PASSWORD" |
    smbpasswd -c "$t/smb.conf" -a -s "$SMB_USER" >/dev/null 2>>"$t/smbd.log"
  # The clients' side of smb.conf; libsmbclient reads it from HOME/.smb.
  cat >"$t/client/.smb/smb.conf" <<CONFIG
[global]
  workgroup = WORKGROUP
  disable netbios = yes
  name resolve order = host
  client min protocol = SMB2
CONFIG
  local attempt
  for attempt in $(seq 10); do
    # 445 where it is free keeps the paths as a user has them; libsmbclient takes another
    # port only from the path (host:port).
    SMB_PORT=445
    [ "$attempt" -eq 1 ] || SMB_PORT=$((20000 + RANDOM % 40000))
    # Someone answers there already: smbd would take seconds to give up on it.
    ! (: </dev/tcp/127.0.0.1/"$SMB_PORT") 2>/dev/null && smb_serve && break
    [ "$attempt" -lt 10 ] || { smb_failed "could not start smbd"; return 1; }
  done
  local host=127.0.0.1
  [ "$SMB_PORT" -eq 445 ] || host=127.0.0.1:$SMB_PORT
  smb_mount 1
  smb_mount 2
  SHARE_MOUNT1=$SHARE_TMP/fuse1/$host/share
  SHARE_MOUNT2=$SHARE_TMP/fuse2/$host/share
  # Up only when a file made through one mount is seen through the other and on the server.
  local probe=.vorblin-probe-$$
  for _ in $(seq $((SMB_LIMIT * 5))); do
    if [ ! -e "$SHARE_DIR/$probe" ]; then
      touch "$SHARE_MOUNT1/$probe" 2>/dev/null || true
    elif [ -e "$SHARE_MOUNT2/$probe" ]; then
      rm -f "$SHARE_MOUNT2/$probe"
      [ ! -e "$SHARE_DIR/$probe" ] || break
      return 0
    fi
    sleep 0.2
  done
  smb_failed "the smbnetfs mounts did not show the share within $SMB_LIMIT s"
}
