#!/usr/bin/env bash
# Eight machines share the hall of fame over a real network share: one folder mounted twice
# (SHARE of the harness: sshfs; sshfs with the server seeing two accounts of one group, which
# refuses a hard link to the other's file and keeps the other's files read-only; SMB from a
# private Samba server, with no hard links at all and its own ways with renames and removals
# of open files), half the processes through each mount, each storing COUNT finished games
# through the game's own store, then starting once more. Afterwards the table holds exactly
# the 99 best results, each name with its own score, and no lock or temporary file is left.
# The local kind is the same eight machines on one folder of the local disk.
# A store that hangs must not keep the share mounted past the test's own time limit: each
# machine has SHARE_STORE_LIMIT seconds, and the script still unmounts and stops the server.
#
#   share_test.sh sshfs|accounts|smb|local DRIVER [PROCESSES] [COUNT]
set -u
source "$(dirname "$0")/../../support/harness.sh"
kind=$1 driver=$2 processes=${3:-8} count=${4:-30}
# A folder on the local disk, as both mounts: runs wherever the tests run.
local_start() { SHARE_MOUNT1=$SHARE_DIR SHARE_MOUNT2=$SHARE_DIR; }
if [ "$kind" != local ] && why=$(share_lacks "$kind"); then skip "$why"; fi
share_start "$kind" || die "the $kind share did not come up"
limit=${SHARE_STORE_LIMIT:-150}
mounts=("$SHARE_MOUNT1" "$SHARE_MOUNT2")
for p in $(seq 0 $((processes - 1))); do
  mkdir -p "$work/own$p"  # each machine's player has a data folder of their own
  spawn "client$p" timeout "$limit" "$driver" store "${mounts[p % 2]}" "$work/own$p" "$p" "$count" "$processes"
  clients[p]=$pid
done
for p in "${!clients[@]}"; do
  ok "machine $p stores its games within $limit s" wait "${clients[p]}" || tail -5 "$work/client$p.log"
done
for p in "${!clients[@]}"; do
  ok "machine $p's next start leaves nothing waiting" "$driver" settle "${mounts[p % 2]}" "$work/own$p"
done
sleep 0.2  # sshfs removes a .fuse_hidden file once its last reader lets go
ok "the table holds the 99 best, nothing left over" "$driver" check "$SHARE_DIR" $((processes * count))
[ "$failures" -eq 0 ] || share_logs
finish
