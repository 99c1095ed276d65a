#!/usr/bin/env bash
# Eight machines share the hall of fame over a real network file system: one folder mounted
# twice with sshfs, four processes through each mount, each storing 30 finished games
# through the game's own store. Afterwards the table holds exactly the 99 best results,
# each name with its own score, and no lock or temporary file is left.
#
#   network_share_test.sh DRIVER [RUNS] [PROCESSES] [COUNT]
set -euo pipefail
driver=$1
runs=${2:-1}
processes=${3:-8}
count=${4:-30}
source "$(dirname "$0")/sshfs_share.sh"
if why=$(share_unavailable); then
  echo "SKIPPED: $why"
  exit 77
fi
share_start
for run in $(seq "$runs"); do
  rm -rf "${SHARE_DIR:?}"/* "$SHARE_DIR"/.[!.]* "$SHARE_TMP"/own* 2>/dev/null || true
  pids=()
  for p in $(seq 0 $((processes - 1))); do
    mount=$SHARE_MOUNT1
    [ $((p % 2)) -eq 1 ] && mount=$SHARE_MOUNT2
    mkdir -p "$SHARE_TMP/own$p"  # each machine's player has a data folder of their own
    "$driver" store "$mount" "$SHARE_TMP/own$p" "$p" "$count" "$processes" &
    pids+=($!)
  done
  failed=0
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
  sleep 0.2  # sshfs removes a .fuse_hidden file once its last reader lets go
  echo -n "run $run: "
  "$driver" check "$SHARE_DIR" $((processes * count)) || failed=1
  [ "$failed" -eq 0 ] || exit 1
done
