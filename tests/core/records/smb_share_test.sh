#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The shared hall of fame on an SMB share, as offices share folders: a private Samba server
# and its share mounted twice with smbnetfs (two machines, each with caches of its own),
# half the processes through each mount, each storing 30 finished games. SMB over FUSE
# has no hard links at all, and renames and removals of open files behave otherwise than
# on a local disk; afterwards the table must still hold exactly the 99 best results.
#
#   smb_share_test.sh DRIVER [RUNS] [PROCESSES] [COUNT]
set -euo pipefail
source "$(dirname "$0")/smb_share.sh"
source "$(dirname "$0")/share_stress.sh"
if why=$(smb_unavailable); then
  echo "SKIPPED: $why"
  exit 77
fi
smb_start
share_stress_runs "$1" "${2:-1}" "${3:-8}" "${4:-30}"
