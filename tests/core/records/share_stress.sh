# shellcheck shell=bash
# The machines' rush on one shared table, run over whichever share a helper mounted
# (SHARE_DIR, SHARE_MOUNT1, SHARE_MOUNT2, SHARE_TMP): half the processes go through each
# mount, each storing COUNT finished games; afterwards the table holds exactly the 99 best
# results, each name with its own score, and no lock or temporary file is left. Source it.
# A helper may name in SHARE_LOGS a function that prints its server's logs after a failure.
#
#   share_stress_runs DRIVER RUNS PROCESSES COUNT

# A store that hangs must not keep the share mounted past the test's own time limit:
# the script then still gets to unmount and stop the server itself.
SHARE_STORE_LIMIT=${SHARE_STORE_LIMIT:-150}
SHARE_CLIENTS=()

# The helpers' stop functions call this first: nothing may keep a mount busy.
share_stop_clients() {
  local pid
  for pid in "${SHARE_CLIENTS[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  SHARE_CLIENTS=()
  return 0
}

share_stress_runs() {
  local driver=$1 runs=$2 processes=$3 count=$4
  local run p mount pid status failed bad=0 start ms
  for run in $(seq "$runs"); do
    rm -rf "${SHARE_DIR:?}"/* "$SHARE_DIR"/.[!.]* "${SHARE_TMP:?}"/own* 2>/dev/null || true
    SHARE_CLIENTS=()
    start=${EPOCHREALTIME//[.,]/}
    for p in $(seq 0 $((processes - 1))); do
      mount=$SHARE_MOUNT1
      [ $((p % 2)) -eq 1 ] && mount=$SHARE_MOUNT2
      mkdir -p "$SHARE_TMP/own$p"  # each machine's player has a data folder of their own
      timeout "$SHARE_STORE_LIMIT" \
        "$driver" store "$mount" "$SHARE_TMP/own$p" "$p" "$count" "$processes" &
      SHARE_CLIENTS+=($!)
    done
    failed=0
    for pid in "${SHARE_CLIENTS[@]}"; do
      wait "$pid" && continue
      status=$?
      failed=1
      if [ "$status" -eq 124 ]; then
        echo "process $pid: its stores did not end within $SHARE_STORE_LIMIT s"
      else
        echo "process $pid failed (exit $status)"
      fi
    done
    SHARE_CLIENTS=()
    ms=$(((${EPOCHREALTIME//[.,]/} - start) / 1000))
    sleep 0.2  # sshfs removes a .fuse_hidden file once its last reader lets go
    printf 'run %d (%d.%03d s): ' "$run" $((ms / 1000)) $((ms % 1000))
    "$driver" check "$SHARE_DIR" $((processes * count)) || failed=1
    [ "$failed" -eq 0 ] || [ -z "${SHARE_LOGS:-}" ] || "$SHARE_LOGS"
    bad=$((bad + failed))
  done
  [ "$bad" -eq 0 ] || { echo "$bad of $runs runs failed"; return 1; }
}
