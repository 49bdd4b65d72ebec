#!/usr/bin/env bash
# Times full uploads from recorder-sim at 62500 and 12800 baud with the program's own upload
# (pulvitra-cli upload) and prints, from the simulator's log, how long the 4096 block
# requests took against 4096 x the pacing interval (8.19 s and 32.77 s), and the worst gap
# between two paced requests. Target: a ratio of at most 1.03 at both rates.
#   bench/upload_timing.sh [RATE...]     (binaries from $PULVITRA_BUILD_DIR, default build/)
# Under load: every upload must complete while busy loops keep all cores occupied.
#   bench/upload_timing.sh --loaded [RUNS] [RATE]    (default 20 uploads at 62500 baud)
# A real recorder is hardware of its own and is never slowed by the PC's load, so the
# simulator runs with real-time priority (chrt -f 10, needs root or CAP_SYS_NICE); the program
# under test and the busy loops run at normal priority. Without that right the simulator runs
# at normal priority, which the script says: a failure may then be the simulator's.
# UPLOAD_TIMING_CLI_PRIORITY="chrt -f 5" runs the program under test with that priority too,
# to tell a program that is late from a line that is (a check, not the measurement).
# The program writes at most two requests at a time (one tick's and one made up), so a read of
# the simulator that holds more of them shows the line itself held them back: a pseudo-terminal
# passes bytes on in a kernel worker of normal priority, which busy loops can keep waiting.
# Every run prints the most requests the simulator found in one read ("held").
# UPLOAD_TIMING_LOAD_NICE=19 runs the busy loops at that nice level: the cores stay fully busy,
# but the kernel's pseudo-terminal worker is no longer kept waiting behind them.
# UPLOAD_TIMING_LOGS=DIR keeps the simulator's log and the program's messages of every failed
# upload there (sim-RUN.log, cli-RUN.err).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${PULVITRA_BUILD_DIR:-$top/build}/bin
for tool in pulvitra-cli recorder-sim; do
  [[ -x $bin/$tool ]] || { echo "upload_timing: $bin/$tool is missing; build first (./test)" >&2; exit 2; }
done
loaded=0
runs=1
if [[ ${1:-} == --loaded ]]; then
  loaded=1
  runs=${2:-20}
  rates=("${3:-62500}")
else
  rates=("$@")
fi
[[ ${#rates[@]} -gt 0 ]] || rates=(62500 12800)

# The simulator flushes every log line; on a disk a busy machine's writeback can hold such a
# write back for tens of milliseconds, in which the simulator reads nothing. In memory it cannot.
if [[ -d /dev/shm && -w /dev/shm ]]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
sim=""
busy=()
cleanup() {
  if [[ -n $sim ]]; then kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; fi
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/pulvitra-cli" generate "$work/served.pul" >/dev/null 2>&1
printf '[Ports]\nCOM1=%s\n' "$work/tty" >"$work/Pulvitra.ini"

# How the simulator is started: with real-time priority when the system allows it.
sim_priority=(chrt -f 10)
if ! chrt -f 10 true 2>/dev/null; then
  sim_priority=()
  echo "upload_timing: no right to real-time priority (chrt -f 10); recorder-sim runs at normal" \
       "priority and may itself be starved under load" >&2
fi

# The most "s" requests the simulator took in one read of the line.
most_held() {
  awk '/ rx [0-9]+ baud:/ { n = 0; for (i = 5; i <= NF; i++) if ($i == "s") n++; if (n > most) most = n }
       END { print most + 0 }' "$1"
}

pacing_ms() {
  case $1 in
    12800) echo 8 ;; 15625) echo 6 ;; 20833) echo 5 ;; 31250) echo 4 ;; 62500) echo 2 ;;
    *) echo "upload_timing: no pacing interval for $1 baud" >&2; exit 2 ;;
  esac
}

if ((loaded)); then
  # One busy loop per core, at the program's own priority unless told otherwise.
  for _ in $(seq "$(nproc)"); do
    nice -n "${UPLOAD_TIMING_LOAD_NICE:-0}" bash -c 'while :; do :; done' &
    busy+=($!)
  done
  echo "upload_timing: $runs uploads with ${#busy[@]} busy loops running at nice ${UPLOAD_TIMING_LOAD_NICE:-0};" \
       "recorder-sim ${sim_priority[*]:-at normal priority}"
fi

complete=0
worst_held_failed=0
worst_gap_all=0
worst_ratio_all=0
printf '%-4s %-7s %9s %9s %7s %12s %9s %5s\n' run baud ideal_s measured ratio worst_gap_ms total_s held
for run in $(seq "$runs"); do
for rate in "${rates[@]}"; do
  interval=$(pacing_ms "$rate")
  log=$work/sim-$rate.log
  "${sim_priority[@]}" "$bin/recorder-sim" --image "$work/served.pul" --link "$work/tty" --log "$log" >"$work/sim.out" &
  sim=$!
  for _ in $(seq 100); do [[ -s $work/sim.out ]] && break; sleep 0.05; done
  start=$(date +%s.%N)
  if ! PULVITRA_HOME=$work ${UPLOAD_TIMING_CLI_PRIORITY:-} "$bin/pulvitra-cli" upload --port COM1 --max-baud "$rate" -o "$work/up.pul" \
       >/dev/null 2>"$work/cli.err"; then
    kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""
    held=$(most_held "$log")
    worst_held_failed=$((held > worst_held_failed ? held : worst_held_failed))
    echo "upload_timing: the upload at $rate baud failed (run $run; the line held up to $held requests):" >&2
    cat "$work/cli.err" >&2
    if [[ -n ${UPLOAD_TIMING_LOGS:-} ]]; then
      mkdir -p "$UPLOAD_TIMING_LOGS"
      cp "$log" "$UPLOAD_TIMING_LOGS/sim-$run.log"
      cp "$work/cli.err" "$UPLOAD_TIMING_LOGS/cli-$run.err"
    fi
    ((loaded)) && continue
    exit 1
  fi
  end=$(date +%s.%N)
  kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""
  cmp -s <(tail -c 32768 "$work/served.pul") <(tail -c 32768 "$work/up.pul") ||
    { echo "upload_timing: the uploaded image differs from the served one" >&2; exit 1; }
  complete=$((complete + 1))
  # Requests are the "s" bytes the simulator received; the transfer ends with block 4095 sent.
  # 4096 requests span 4095 intervals, so one interval is added to compare with 4096 of them.
  held=$(most_held "$log")
  line=$(awk -v held="$held" -v interval="$interval" -v rate="$rate" -v total_start="$start" -v total_end="$end" -v run="$run" '
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
      printf "%-4s %-7s %9.2f %9.2f %7.3f %12.1f %9.2f %5d\n", run, rate, ideal, measured, measured / ideal, gap * 1000,
             total_end - total_start, held
    }' "$log")
  echo "$line"
  gap_ms=$(awk '{ print $6 }' <<<"$line")
  ratio=$(awk '{ print $5 }' <<<"$line")
  worst_gap_all=$(awk -v a="$worst_gap_all" -v b="$gap_ms" 'BEGIN { print (b > a) ? b : a }')
  worst_ratio_all=$(awk -v a="$worst_ratio_all" -v b="$ratio" 'BEGIN { print (b > a) ? b : a }')
done
done
if ((loaded)); then
  echo "upload_timing: $complete of $runs uploads complete; worst gap between two requests" \
       "${worst_gap_all} ms; worst ratio to 4096 x the pacing interval ${worst_ratio_all}"
  ((complete == runs)) ||
    echo "upload_timing: in the failed uploads the line held up to $worst_held_failed requests" \
         "(the program writes at most 2 at a time)"
  ((complete == runs)) || exit 1
fi
