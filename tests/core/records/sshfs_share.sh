# A real network share for the tests and benchmarks: a private sshd on a free localhost port
# (throwaway keys and configuration in a temporary folder, run as the current user) and one
# folder mounted twice with sshfs, which behaves like two machines: each mount has caches of
# its own. Source it, then: share_start (sets SHARE_DIR, SHARE_MOUNT1, SHARE_MOUNT2);
# share_stop runs on exit. share_unavailable prints why the machine cannot do it, if so.

share_unavailable() {
  [ -c /dev/fuse ] || { echo "no /dev/fuse: FUSE is not available on this machine"; return 0; }
  command -v sshfs >/dev/null || { echo "sshfs is not installed"; return 0; }
  [ -x /usr/sbin/sshd ] || { echo "OpenSSH's sshd is not installed"; return 0; }
  command -v fusermount3 >/dev/null || command -v fusermount >/dev/null ||
    { echo "fusermount is not installed"; return 0; }
  return 1
}

share_stop() {
  local m
  for m in "${SHARE_MOUNT1:-}" "${SHARE_MOUNT2:-}"; do
    [ -n "$m" ] && mountpoint -q "$m" && { fusermount3 -u "$m" 2>/dev/null || fusermount -u "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; }
  done
  [ -n "${SHARE_SSHD_PID:-}" ] && kill "$SHARE_SSHD_PID" 2>/dev/null && wait "$SHARE_SSHD_PID" 2>/dev/null
  [ -n "${SHARE_TMP:-}" ] && rm -rf "$SHARE_TMP"
  return 0
}

share_mount() {
  sshfs -p "$SHARE_PORT" \
    -o IdentityFile="$SHARE_TMP/client_key",StrictHostKeyChecking=no \
    -o UserKnownHostsFile=/dev/null,BatchMode=yes,LogLevel=ERROR \
    "$(id -un)@127.0.0.1:$SHARE_DIR" "$1"
}

share_start() {
  SHARE_TMP=$(mktemp -d)
  trap share_stop EXIT
  SHARE_DIR=$SHARE_TMP/share
  SHARE_MOUNT1=$SHARE_TMP/mount1
  SHARE_MOUNT2=$SHARE_TMP/mount2
  mkdir -p "$SHARE_DIR" "$SHARE_MOUNT1" "$SHARE_MOUNT2"
  ssh-keygen -q -t ed25519 -N '' -f "$SHARE_TMP/host_key"
  ssh-keygen -q -t ed25519 -N '' -f "$SHARE_TMP/client_key"
  cp "$SHARE_TMP/client_key.pub" "$SHARE_TMP/authorized_keys"
  # sshd started by root wants its privilege separation folder, made at boot normally.
  [ "$(id -u)" -ne 0 ] || [ -d /run/sshd ] || mkdir -p -m 0755 /run/sshd
  local attempt
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    SHARE_PORT=$((20000 + RANDOM % 40000))
    cat >"$SHARE_TMP/sshd_config" <<CONFIG
Port $SHARE_PORT
ListenAddress 127.0.0.1
HostKey $SHARE_TMP/host_key
PidFile $SHARE_TMP/sshd.pid
AuthorizedKeysFile $SHARE_TMP/authorized_keys
StrictModes no
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
UsePAM no
Subsystem sftp internal-sftp
CONFIG
    /usr/sbin/sshd -D -e -f "$SHARE_TMP/sshd_config" 2>"$SHARE_TMP/sshd.log" &
    SHARE_SSHD_PID=$!
    local wait
    for wait in $(seq 50); do
      share_mount "$SHARE_MOUNT1" 2>/dev/null && break
      kill -0 "$SHARE_SSHD_PID" 2>/dev/null || break
      sleep 0.1
    done
    if mountpoint -q "$SHARE_MOUNT1"; then
      share_mount "$SHARE_MOUNT2"
      return 0
    fi
    kill "$SHARE_SSHD_PID" 2>/dev/null
    wait "$SHARE_SSHD_PID" 2>/dev/null
    SHARE_SSHD_PID=
  done
  echo "could not start sshd:" >&2
  cat "$SHARE_TMP/sshd.log" >&2
  return 1
}
