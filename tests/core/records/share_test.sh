#!/usr/bin/env bash
# Eight machines share the hall of fame over a real network share: one folder mounted twice
# (SHARE of the harness: sshfs; sshfs with the server seeing two accounts of one group, which
# refuses a hard link to the other's file and keeps the other's files read-only; SMB from a
# private Samba server, with no hard links at all and its own ways with renames and removals
# of open files), half the processes through each mount, each storing COUNT finished games
# through the game's own store. Afterwards the table holds exactly the 99 best results, each
# name with its own score, and no lock or temporary file is left.
#
#   share_test.sh sshfs|accounts|smb DRIVER [RUNS] [PROCESSES] [COUNT]
set -u
source "$(dirname "$0")/../../support/harness.sh"
kind=$1 driver=$2 runs=${3:-1} processes=${4:-8} count=${5:-30}
if why=$(share_lacks "$kind"); then skip "$why"; fi
share_start "$kind" || die "the $kind share did not come up"
# A store that hangs must not keep the share mounted past the test's own time limit: the
# script then still gets to unmount and stop the server itself.
limit=${SHARE_STORE_LIMIT:-150}
for run in $(seq "$runs"); do
  rm -rf "${SHARE_DIR:?}"/* "$SHARE_DIR"/.[!.]* "$work"/own*
  start=$EPOCHREALTIME
  clients=()
  for p in $(seq 0 $((processes - 1))); do
    mount=$SHARE_MOUNT1
    [ $((p % 2)) -eq 0 ] || mount=$SHARE_MOUNT2
    mkdir -p "$work/own$p"  # each machine's player has a data folder of their own
    spawn "client$p" timeout "$limit" "$driver" store "$mount" "$work/own$p" "$p" "$count" "$processes"
    clients+=("$pid")
  done
  for p in "${!clients[@]}"; do
    wait "${clients[p]}" && continue
    status=$?
    [ "$status" -eq 124 ] && status="its stores did not end within $limit s" || status="exit $status"
    check "process $p stores its games" done "$status: $(tail -5 "$work/client$p.log")"
  done
  # Each machine's next start: what a late store wrote away goes in again, the rest is let go.
  for p in $(seq 0 $((processes - 1))); do
    mount=$SHARE_MOUNT1
    [ $((p % 2)) -eq 0 ] || mount=$SHARE_MOUNT2
    ok "machine $p's next start leaves nothing waiting" "$driver" settle "$mount" "$work/own$p"
  done
  sleep 0.2  # sshfs removes a .fuse_hidden file once its last reader lets go
  ms=$(((${EPOCHREALTIME/[.,]/} - ${start/[.,]/}) / 1000))
  printf 'run %d: %d.%03d s\n' "$run" $((ms / 1000)) $((ms % 1000))
  ok "run $run: the table holds the 99 best, nothing left over" "$driver" check "$SHARE_DIR" $((processes * count))
done
[ "$failures" -eq 0 ] || share_logs
finish
