#!/usr/bin/env bash
# Benchmark (not a test): runs this edition's main job once at real speed against the stand-ins
# (scripts/run.sh with KX9_CLOCK_SPEED=1) and prints how long the program ran beside the sum of
# its fixed waits, the waits the protocol and the start-up sequence prescribe. The difference
# is what the program adds of its own; the aim is at most 2 s.
#
#   KX9_BUILD_DIR, KX9_JOBS   as for scripts/run.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

KX9_CLOCK_SPEED=1 KX9_REPORT_WAITS=1 "$root/scripts/run.sh" "$@" >"$log" 2>&1 || {
    cat "$log"
    echo "main_job.sh: the main job failed"
    exit 1
}
report=$(grep '^\[kx9monitor\] ran ' "$log") || {
    cat "$log"
    echo "main_job.sh: the program reported no times"
    exit 1
}
ran=$(sed -E 's/.* ran ([0-9.]+) s real.*/\1/' <<<"$report")
waits=$(sed -E 's/.* fixed waits ([0-9.]+) s .*/\1/' <<<"$report")
grep -E '^\[kx9monitor\]   [0-9]+ ms x ' "$log" | sed 's/^\[kx9monitor\] /  fixed wait/'
awk -v ran="$ran" -v waits="$waits" 'BEGIN {
    printf "main job        %8.3f s\n", ran
    printf "fixed waits     %8.3f s\n", waits
    printf "beyond them     %8.3f s  (aim: at most 2 s)\n", ran - waits
    printf "ratio           %8.3f\n", ran / waits
}'
