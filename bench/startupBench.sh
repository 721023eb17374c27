#!/bin/bash
# Start-up of the real program under Wine: launch to the preview shown, as
# tools/run.sh reports it, for FILE and for OTHER (a small sample file by
# default), taken in turns so that both see the same machine. Best, median
# and range of RUNS.
#
#   bench/startupBench.sh FILE [RUNS [OTHER]]     (default 9 runs)
#
# A large file to try: engineBench --generate /tmp/prose.txt prose; a 1 GB
# one: that file twenty times over.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
file=${1:?usage: startupBench.sh FILE [RUNS]}
runs=${2:-9}
small=${3:-$root/tests/samples/journey.txt}

startUp() {
  "$root/tools/run.sh" "$1" </dev/null 2>&1 | sed -n 's/^start-up: window shown \([0-9]*\) ms.*/\1/p'
}

large=() little=()
startUp "$small" >/dev/null  # builds the program and settles Wine first
for _ in $(seq "$runs"); do
  large+=("$(startUp "$file")")
  little+=("$(startUp "$small")")
done
summary() {
  printf '%s\n' "${@:2}" | sort -n | awk -v name="$1" '
    { v[NR] = $1 }
    END { printf "%-12s best %d ms, median %d ms, range %d-%d ms (%d runs)\n",
                 name, v[1], v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}
summary "$(basename "$file")" "${large[@]}"
summary "$(basename "$small")" "${little[@]}"
