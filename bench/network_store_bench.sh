#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The game-over store on this machine's disk, through an sshfs mount of a private sshd on
# localhost, and through an smbnetfs mount of a private Samba server on localhost (the
# network's own latency comes on top on a real share).
#
#   bench/network_store_bench.sh BUILD_DIR [N]
set -u
program=$1/vorblin_store_times
n=${2:-50}
source "$(dirname "$0")/../tests/support/harness.sh"
mkdir "$work/local"
"$program" "$work/local" "$n"
for kind in sshfs smb; do
  if why=$(share_lacks "$kind"); then
    echo "no $kind share: $why"
  elif share_start "$kind"; then
    "$program" "$SHARE_MOUNT1" "$n"
  fi
  unwind
done
