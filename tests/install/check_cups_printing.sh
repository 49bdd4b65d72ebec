#!/usr/bin/env bash
# Prints the four reports with pulvitra-cli report --printer on a CUPS scheduler of its own (a
# unix socket in a temporary folder, no system service) and reads back the print documents
# the scheduler kept: one per report, one page each, the zoom in landscape, titled with the
# application title, with the text of the same page of the PDF export. Then a queue that does
# not exist, a queue that refuses jobs, and the default printer.
# Usage: check_cups_printing.sh BUILD_DIR
set -euo pipefail
cli=$1/bin/pulvitra-cli
PATH=$PATH:/usr/sbin
for tool in cupsd lpadmin cupsreject lpstat pdfinfo pdftotext; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool here (scripts/install-deps installs it)"; exit 77; }
done

dir=$(mktemp -d)
cupsd_pid=
cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
fail() {
  echo "FAIL: $*" >&2
  [ -f "$dir/log/error_log" ] && sed 's/^/  cupsd: /' "$dir/log/error_log" >&2
  exit 1
}

# The scheduler: everything under $dir, the documents kept in the spool after printing, and a
# page log line per job with its copies and title.
mkdir -p "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/home"
cat >"$dir/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
PreserveJobFiles Yes
PageLogFormat "%j|%{copies}|%{job-name}"
<Location />
  Order allow,deny
  Allow all
</Location>
EOF
cat >"$dir/cups-files.conf" <<EOF
FileDevice Yes
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup $(id -gn)
EOF
export CUPS_SERVER=$dir/cups.sock HOME=$dir/home
unset PRINTER LPDEST
# It also ends with this script if the script is killed outright.
setpriv --pdeathsig TERM cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
cupsd_pid=$!
for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
lpstat -r >/dev/null 2>&1 || fail "the scheduler did not start"
# Raw queues: the scheduler keeps the document as the program handed it over.
lpadmin -p reports -E -v file:///dev/null 2>/dev/null || fail "lpadmin reports"
lpadmin -p closed -E -v file:///dev/null 2>/dev/null || fail "lpadmin closed"
cupsreject closed

# A recording with a clinic and a date, so that line 1 of the header has them.
rec=$dir/rec.pul
"$cli" generate "$rec" --seed 7 >/dev/null
put() { printf '%s \0' "$2" | dd of="$rec" bs=1 seek="$1" conv=notrunc status=none; }
put 44 "Klinik Nord"
put 32 "07.03.05"

all=(report "$rec" --reports 1,2,3,4)
out=$("$cli" "${all[@]}" --printer reports --copies 2 2>&1) || fail "printing to the queue: $out"
"$cli" "${all[@]}" -o "$dir/export.pdf" || fail "the PDF export"

# Each report is a job of its own, kept as the document the scheduler got.
for _ in $(seq 100); do [ -z "$(lpstat -o reports)" ] && break; sleep 0.1; done
jobs=$(lpstat -W completed -o reports | wc -l)
[ "$jobs" -eq 4 ] || fail "$jobs jobs instead of 4"
# The text without blanks (pdftotext guesses them from the gaps between glyphs) and with the
# font's ligatures spelt out (a temporary folder's name may hold an "fl").
blanks_out() { sed 's/ //g; s/\xef\xac\x80/ff/g; s/\xef\xac\x81/fi/g; s/\xef\xac\x82/fl/g; s/\xef\xac\x83/ffi/g; s/\xef\xac\x84/ffl/g; /^$/d'; }
for k in 1 2 3 4; do
  doc=$dir/spool/d0000$k-001
  info=$(pdfinfo "$doc") || fail "job $k is no PDF"
  grep -qE '^Pages: +1$' <<<"$info" || fail "job $k: $(grep Pages <<<"$info")"
  grep -qE '^Title: +Pulvitra 2.4-5$' <<<"$info" || fail "job $k: $(grep Title <<<"$info")"
  size="595 x 842"
  [ "$k" -eq 4 ] && size="842 x 595"
  grep -qE "^Page size: +$size pts \(A4\)$" <<<"$info" || fail "job $k: $(grep 'Page size' <<<"$info")"
  grep -qE '^Page rot: +0$' <<<"$info" || fail "job $k: $(grep 'Page rot' <<<"$info")"
  printed=$(pdftotext -raw "$doc" - | blanks_out)
  exported=$(pdftotext -raw -f $k -l $k "$dir/export.pdf" - | blanks_out)
  first=$(head -n 1 <<<"$printed")
  [ "$first" = "$(blanks_out <<<"-Klinik Nord- -Seite $k/4- -07.03.05- $rec")" ] || fail "job $k header: $first"
  [ "$printed" = "$exported" ] || fail "job $k differs from page $k of the export:
$(diff <(echo "$exported") <(echo "$printed") | head -20)"
done
for k in 1 2 3 4; do
  grep -qx "\"$k|2|Pulvitra 2.4-5\"" "$dir/log/page_log" || fail "page log: $(cat "$dir/log/page_log")"
done

# Nothing goes elsewhere when the queue is unknown or refuses, and the message says which.
refused() {  # EXPECTED_TEXT ARGS...
  local says=$1 code=0
  shift
  out=$("$cli" "$@" 2>&1) || code=$?
  [ "$code" -eq 1 ] || fail "$* exited $code: $out"
  grep -qF "$says" <<<"$out" || fail "$*: '$out' lacks '$says'"
}
refused "The print system knows no printer NOSUCHQUEUE." "${all[@]}" --printer NOSUCHQUEUE
refused 'The printer closed did not accept the report (Destination "closed" is not accepting jobs.)' \
  "${all[@]}" --printer closed
refused "The print system has no default printer" "${all[@]}" --default-printer
[ "$(lpstat -W all -o | wc -l)" -eq 4 ] || fail "a refused job was kept: $(lpstat -W all -o)"

lpadmin -d reports
out=$("$cli" report "$rec" --reports 4 --default-printer 2>&1) || fail "the default printer: $out"
grep -qE '^Page size: +842 x 595 pts' <(pdfinfo "$dir/spool/d00005-001") || fail "no landscape zoom on the default printer"
echo "cups printing ok: 4 one-page documents on reports, the zoom in landscape; refusals exit 1"
