#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The game-over store on this machine's disk, through an sshfs mount of a private sshd on
# localhost, and through an smbnetfs mount of a private Samba server on localhost (the
# network's own latency comes on top on a real share).
#
#   bench/network_store_bench.sh BUILD_DIR [N]
set -euo pipefail
program=$1/vorblin_store_times
n=${2:-50}
source "$(dirname "$0")/../tests/core/records/sshfs_share.sh"
source "$(dirname "$0")/../tests/core/records/smb_share.sh"
local_dir=$(mktemp -d)
"$program" "$local_dir" "$n"
rm -rf "$local_dir"
if why=$(share_unavailable); then
  echo "no sshfs share: $why"
else
  share_start
  "$program" "$SHARE_MOUNT1" "$n"
  share_stop
  trap - EXIT
fi
if why=$(smb_unavailable); then
  echo "no SMB share: $why"
  exit 0
fi
smb_start
"$program" "$SHARE_MOUNT1" "$n"
