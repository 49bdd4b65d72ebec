#!/usr/bin/env bash
# A long run: N complete uploads in a row in one pulvitra-cli process against recorder-sim,
# with the program's own upload over the pseudo-terminal. Prints every upload's result and the
# process's resident memory after it, then the resident memory after the first and the last
# upload, its growth, and the failed transfers. The image of the last upload must be the
# served one. Exit status 1 when any transfer failed.
#   bench/soak.sh [N] [RATE]     (default 50 uploads at 62500 baud; binaries from
#                                 $PULVITRA_BUILD_DIR, default build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${PULVITRA_BUILD_DIR:-$top/build}/bin
runs=${1:-50}
rate=${2:-62500}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "usage: bench/soak.sh [N] [RATE]" >&2; exit 2; }
for tool in pulvitra-cli recorder-sim; do
  [[ -x $bin/$tool ]] || { echo "soak: $bin/$tool is missing; build first (./test)" >&2; exit 2; }
done

work=$(mktemp -d)
sim=""
cleanup() {
  if [[ -n $sim ]]; then kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/pulvitra-cli" generate "$work/served.pul" >/dev/null 2>&1
printf '[Ports]\nCOM1=%s\n' "$work/tty" >"$work/Pulvitra.ini"
"$bin/recorder-sim" --image "$work/served.pul" --link "$work/tty" >"$work/sim.out" &
sim=$!
for _ in $(seq 100); do [[ -s $work/sim.out ]] && break; sleep 0.05; done

start=$(date +%s.%N)
status=0
PULVITRA_HOME=$work "$bin/pulvitra-cli" upload --port COM1 --max-baud "$rate" --repeat "$runs" -o "$work/up.pul" \
  >"$work/cli.out" 2>"$work/cli.err" || status=$?
end=$(date +%s.%N)
grep '^upload ' "$work/cli.out" || true

failed=$(grep '^upload ' "$work/cli.out" | grep -vc ': complete after 4096 blocks,' || true)
done_runs=$(grep -c '^upload ' "$work/cli.out" || true)
first_kb=$(grep '^upload 1 of ' "$work/cli.out" | grep -o 'resident [0-9]*' | grep -o '[0-9]*' || echo 0)
last_kb=$(grep '^upload ' "$work/cli.out" | tail -1 | grep -o 'resident [0-9]*' | grep -o '[0-9]*' || echo 0)
echo "soak: $done_runs of $runs uploads at $rate baud in $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }') s;" \
     "failed transfers: $failed"
echo "soak: resident memory after the first upload ${first_kb} kB, after the last ${last_kb} kB" \
     "(growth $((last_kb - first_kb)) kB)"
if ((done_runs != runs || failed > 0 || status != 0)); then
  echo "soak: the program said:" >&2
  grep -v '^block ' "$work/cli.err" | tail -20 >&2
  exit 1
fi
cmp -s <(tail -c 32768 "$work/served.pul") <(tail -c 32768 "$work/up.pul") ||
  { echo "soak: the last uploaded image differs from the served one" >&2; exit 1; }
