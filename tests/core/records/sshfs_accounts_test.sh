#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The shared hall of fame when the players log in to the server with accounts of their own:
# the same rush as network_share_test.sh, but the server sees the two sshfs mounts as two
# users of one group, in a folder the group may write (no sticky bit). The server then
# refuses a hard link to the other account's file, and the other's files are read-only for
# this one; the table must still end up with exactly the 99 best results.
#
#   sshfs_accounts_test.sh DRIVER [RUNS] [PROCESSES] [COUNT]
set -euo pipefail
source "$(dirname "$0")/sshfs_share.sh"
source "$(dirname "$0")/share_stress.sh"
if why=$(accounts_unavailable); then
  echo "SKIPPED: $why"
  exit 77
fi
share_start_two_accounts
share_stress_runs "$1" "${2:-1}" "${3:-8}" "${4:-30}"
