#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Eight machines share the hall of fame over a real network file system: one folder mounted
# twice with sshfs, four processes through each mount, each storing 30 finished games
# through the game's own store. Afterwards the table holds exactly the 99 best results,
# each name with its own score, and no lock or temporary file is left.
#
#   network_share_test.sh DRIVER [RUNS] [PROCESSES] [COUNT]
set -euo pipefail
source "$(dirname "$0")/sshfs_share.sh"
source "$(dirname "$0")/share_stress.sh"
if why=$(share_unavailable); then
  echo "SKIPPED: $why"
  exit 77
fi
share_start
share_stress_runs "$1" "${2:-1}" "${3:-8}" "${4:-30}"
