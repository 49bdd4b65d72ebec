#!/usr/bin/env bash
# Times full uploads from recorder-sim at 62500 and 12800 baud with the program's own upload
# (pulvitra-cli upload) and prints, from the simulator's log, how long the 4096 block
# requests took against 4096 x the pacing interval (8.19 s and 32.77 s), and the worst gap
# between two paced requests. Target: a ratio of at most 1.03 at both rates.
#   bench/upload_timing.sh [RATE...]     (binaries from $PULVITRA_BUILD_DIR, default build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${PULVITRA_BUILD_DIR:-$top/build}/bin
for tool in pulvitra-cli recorder-sim; do
  [[ -x $bin/$tool ]] || { echo "upload_timing: $bin/$tool is missing; build first (./test)" >&2; exit 2; }
done
rates=("$@")
[[ ${#rates[@]} -gt 0 ]] || rates=(62500 12800)

work=$(mktemp -d)
sim=""
cleanup() {
  [[ -n $sim ]] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/pulvitra-cli" generate "$work/served.pul" >/dev/null 2>&1
printf '[Ports]\nCOM1=%s\n' "$work/tty" >"$work/Pulvitra.ini"

pacing_ms() {
  case $1 in
    12800) echo 8 ;; 15625) echo 6 ;; 20833) echo 5 ;; 31250) echo 4 ;; 62500) echo 2 ;;
    *) echo "upload_timing: no pacing interval for $1 baud" >&2; exit 2 ;;
  esac
}

printf '%-7s %9s %9s %7s %12s %9s\n' baud ideal_s measured ratio worst_gap_ms total_s
for rate in "${rates[@]}"; do
  interval=$(pacing_ms "$rate")
  log=$work/sim-$rate.log
  "$bin/recorder-sim" --image "$work/served.pul" --link "$work/tty" --log "$log" >"$work/sim.out" &
  sim=$!
  for _ in $(seq 100); do [[ -s $work/sim.out ]] && break; sleep 0.05; done
  start=$(date +%s.%N)
  if ! PULVITRA_HOME=$work "$bin/pulvitra-cli" upload --port COM1 --max-baud "$rate" -o "$work/up.pul" \
       >/dev/null 2>"$work/cli.err"; then
    echo "upload_timing: the upload at $rate baud failed:" >&2
    cat "$work/cli.err" >&2
    exit 1
  fi
  end=$(date +%s.%N)
  kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""
  cmp -s <(tail -c 32768 "$work/served.pul") <(tail -c 32768 "$work/up.pul") ||
    { echo "upload_timing: the uploaded image differs from the served one" >&2; exit 1; }
  # Requests are the "s" bytes the simulator received; the transfer ends with block 4095 sent.
  # 4096 requests span 4095 intervals, so one interval is added to compare with 4096 of them.
  awk -v interval="$interval" -v rate="$rate" -v total_start="$start" -v total_end="$end" '
    / rx [0-9]+ baud:/ {
      n = 0
      for (i = 5; i <= NF; i++) if ($i == "s") n++
      if (n == 0) next
      if (first == "") first = $1
      else if ($1 - last > gap) gap = $1 - last
      last = $1
    }
    /tx block 4095$/ { done = $1 }
    END {
      ideal = 4096 * interval / 1000
      measured = done - first + interval / 1000
      printf "%-7s %9.2f %9.2f %7.3f %12.1f %9.2f\n", rate, ideal, measured, measured / ideal, gap * 1000,
             total_end - total_start
    }' "$log"
done
