# shellcheck shell=bash
# A real network share for the tests and benchmarks: a private sshd on a free localhost port
# (throwaway keys and configuration in a temporary folder, run as the current user) and one
# folder mounted twice with sshfs, which behaves like two machines: each mount has caches of
# its own. Source it, then: share_start (sets SHARE_DIR, SHARE_MOUNT1, SHARE_MOUNT2,
# SHARE_TMP); share_stop runs on exit. share_unavailable prints why the machine cannot do it,
# if so.
#
# share_start_two_accounts does the same, but the server sees the two mounts as two users of
# one group, as when each player logs in to the office's server with an account of their own:
# the server then refuses what one account may not do to the other's files. It needs root,
# to make the two throwaway accounts (removed again on exit); accounts_unavailable says why
# not, if so.

SHARE_USERS=()
SHARE_GROUP=

share_unavailable() {
  [ -c /dev/fuse ] || { echo "no /dev/fuse: FUSE is not available on this machine"; return 0; }
  command -v sshfs >/dev/null || { echo "sshfs is not installed"; return 0; }
  [ -x /usr/sbin/sshd ] || { echo "OpenSSH's sshd is not installed"; return 0; }
  command -v fusermount3 >/dev/null || command -v fusermount >/dev/null ||
    { echo "fusermount is not installed"; return 0; }
  return 1
}

accounts_unavailable() {
  share_unavailable && return 0
  [ "$(id -u)" -eq 0 ] || { echo "making the two server accounts needs root"; return 0; }
  if ! command -v useradd >/dev/null || ! command -v groupadd >/dev/null; then
    echo "useradd/groupadd are not installed"
    return 0
  fi
  return 1
}

share_stop() {
  ! declare -F share_stop_clients >/dev/null || share_stop_clients
  local m user
  for m in "${SHARE_MOUNT1:-}" "${SHARE_MOUNT2:-}"; do
    [ -n "$m" ] && mountpoint -q "$m" && { fusermount3 -u "$m" 2>/dev/null || fusermount -u "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; }
  done
  [ -n "${SHARE_SSHD_PID:-}" ] && kill "$SHARE_SSHD_PID" 2>/dev/null && wait "$SHARE_SSHD_PID" 2>/dev/null
  # -f: a server session of the account may still be on its way out.
  for user in "${SHARE_USERS[@]}"; do userdel -f "$user" 2>/dev/null || true; done
  [ -n "$SHARE_GROUP" ] && groupdel "$SHARE_GROUP" 2>/dev/null
  SHARE_USERS=()
  SHARE_GROUP=
  [ -n "${SHARE_TMP:-}" ] && rm -rf "$SHARE_TMP"
  return 0
}

share_mount() {  # USER MOUNT
  sshfs -p "$SHARE_PORT" \
    -o IdentityFile="$SHARE_TMP/client_key",StrictHostKeyChecking=no \
    -o UserKnownHostsFile=/dev/null,BatchMode=yes,LogLevel=ERROR \
    "$1@127.0.0.1:$SHARE_DIR" "$2"
}

share_start() {  # [USER1 USER2]: the accounts the mounts log in as, this one by default
  local user1=${1:-$(id -un)}
  local user2=${2:-$user1}
  SHARE_TMP=$(mktemp -d)
  trap share_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  SHARE_DIR=$SHARE_TMP/share
  SHARE_MOUNT1=$SHARE_TMP/mount1
  SHARE_MOUNT2=$SHARE_TMP/mount2
  mkdir -p "$SHARE_DIR" "$SHARE_MOUNT1" "$SHARE_MOUNT2"
  ssh-keygen -q -t ed25519 -N '' -f "$SHARE_TMP/host_key"
  ssh-keygen -q -t ed25519 -N '' -f "$SHARE_TMP/client_key"
  cp "$SHARE_TMP/client_key.pub" "$SHARE_TMP/authorized_keys"
  # sshd reads the keys as the account logging in, which also has to reach the folder.
  chmod 711 "$SHARE_TMP"
  chmod 644 "$SHARE_TMP/authorized_keys"
  if [ -n "$SHARE_GROUP" ]; then
    # The office's shared folder: the group writes, new files join the group.
    chgrp "$SHARE_GROUP" "$SHARE_DIR"
    chmod 2775 "$SHARE_DIR"
  fi
  # sshd started by root wants its privilege separation folder, made at boot normally.
  [ "$(id -u)" -ne 0 ] || [ -d /run/sshd ] || install -d -m 0755 /run/sshd
  for _ in $(seq 10); do
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
    for _ in $(seq 50); do
      share_mount "$user1" "$SHARE_MOUNT1" 2>/dev/null && break
      kill -0 "$SHARE_SSHD_PID" 2>/dev/null || break
      sleep 0.1
    done
    if mountpoint -q "$SHARE_MOUNT1"; then
      share_mount "$user2" "$SHARE_MOUNT2"
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

share_start_two_accounts() {
  trap share_stop EXIT
  # Names of this run's own: a run killed before its clean-up cannot block the next one.
  groupadd "vorblin-share-$$"
  SHARE_GROUP=vorblin-share-$$
  local user
  for user in "vorblin-a-$$" "vorblin-b-$$"; do
    # '*': no password, but not a locked account, which sshd would turn away.
    useradd -M -N -g "$SHARE_GROUP" -d /nonexistent -s /bin/sh -p '*' "$user"
    SHARE_USERS+=("$user")
  done
  share_start "${SHARE_USERS[@]}"
  # Without two owners on the server the test would prove nothing.
  touch "$SHARE_MOUNT1/.owner1" "$SHARE_MOUNT2/.owner2"
  local owners
  owners=$(stat -c %U "$SHARE_DIR/.owner1" "$SHARE_DIR/.owner2" | paste -sd ' ')
  rm -f "$SHARE_DIR/.owner1" "$SHARE_DIR/.owner2"
  if [ "$owners" != "${SHARE_USERS[*]}" ]; then
    echo "the server did not see two accounts: files made through the mounts belong to $owners" >&2
    return 1
  fi
}
