#!/usr/bin/env bash
# Times pulvitra-cli summary over a folder of generated recordings (default 100 whole-memory
# recordings with drifting rates, events and a second measurement in every other one) and
# prints the files per second, best of RUNS runs (default 3).
#   bench/summary_throughput.sh [FILES] [RUNS]    (binaries from $PULVITRA_BUILD_DIR, default build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=${PULVITRA_BUILD_DIR:-$top/build}/bin/pulvitra-cli
[[ -x $cli ]] || { echo "summary_throughput: $cli is missing; build first (./test)" >&2; exit 2; }
files=${1:-100}
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for ((i = 1; i <= files; i++)); do
  extra=()
  ((i % 2 == 0)) && extra=(--second)
  "$cli" generate "$work/rec$i.pul" --seed "$i" --events 60 "${extra[@]}" >/dev/null
done

best=""
for ((r = 1; r <= runs; r++)); do
  start=$(date +%s.%N)
  "$cli" summary "$work"/rec*.pul -o "$work/summary.csv"
  end=$(date +%s.%N)
  best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
done
rows=$(($(wc -l <"$work/summary.csv") - 1))
[[ $rows -eq $files ]] || { echo "summary_throughput: $rows rows for $files files" >&2; exit 1; }
awk -v n="$files" -v t="$best" -v r="$runs" 'BEGIN { printf "summary: %d files in %.3f s (best of %d): %.0f files/s\n", n, t, r, n / t }'
