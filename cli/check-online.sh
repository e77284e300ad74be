#!/usr/bin/env bash
# sorvane-lyrics --online against the stand-in LRCLIB server (tests/e2e/lrclib_standin.py), which
# this script starts on a free port of 127.0.0.1 and stops.
# Usage: check-online.sh <emulator: tools/wine-run or wine-run32> <sorvane-lyrics.exe> <scratch folder>
set -uo pipefail
run=$1 exe=$2 out=$3
here=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out" && mkdir -p "$out"
python3 "$here/tests/e2e/lrclib_standin.py" "$out/port" 300 &
server=$!
trap 'kill $server 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$out/port" ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat "$out/port")"
failures=0

# expect <exit code> <texts the output must contain, each a line or part of one>... -- <arguments>
expect() {
  local code=$1 texts=() output status missing=
  shift
  while [ "$1" != -- ]; do texts+=("$1"); shift; done
  shift
  output=$("$run" "$exe" "$@" 2>&1); status=$?
  if [ "$status" = 77 ]; then echo "$output"; exit 77; fi  # no 32-bit Wine here: the runner said why
  for text in "${texts[@]}"; do grep -qF -- "$text" <<<"$output" || missing+="\"$text\" "; done
  if [ "$status" != "$code" ] || [ -n "$missing" ]; then
    echo "FAILED: sorvane-lyrics $* -> exit $status (wanted $code, with ${missing:-all texts}):"
    echo "$output"
    failures=$((failures + 1))
  fi
}

# The stand-in's log of requests: "<path> UA=<user agent> HOST=<host>" a line.
log() { python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1] + "/__log").read().decode())' "$url"; }

for scenario in searchhit error500 silent trickleheaders tricklebody elsewhere samehost; do
  printf 'no tags' > "$out/Standin Artist - $scenario.mp3"
done
song() { echo "Z:${out//\//\\}\\Standin Artist - $1.mp3"; }
expect 0 'query: track "searchhit", artist "Standin Artist", album "", length 200 s' '  status 404, ' \
  'would keep as Standin Artist - searchhit.lrc:' $'[ti:searchhit]\r' $'[ar:Standin Artist]\r' $'[length:3:20]\r' \
  $'[00:30.00]end\r' -- --online --server "$url" --length 200 "$(song searchhit)"
expect 1 'answer: no usable answer' -- --online --server "$url" --length 200 "$(song error500)"
expect 1 'names no track, artist and length' -- --online --server "$url" "$(song error500)"
expect 2 'usage' -- --server "$url" "$(song error500)"

# A path below the server is kept; a query or fragment is refused before anything is sent.
expect 0 "GET $url/sub/path/api/get?track_name=searchhit&" -- --online --server "$url/sub/path/" --length 200 "$(song searchhit)"
before=$(log | wc -l)
expect 2 'the address holds a query or fragment ("?" or "#")' -- --online --server "$url/sub/path?x=1" --length 200 "$(song searchhit)"
[ "$(log | wc -l)" = "$before" ] || { echo "FAILED: a request went to a server address with a query"; failures=$((failures + 1)); }

# A redirect is followed on the same server only: the song is never sent to another host name.
expect 0 'redirected to /api/get?' -- --online --server "$url" --length 200 "$(song samehost)"
expect 1 'fault: a redirect away from the server, not followed: http://localhost:' -- \
  --online --server "$url" --length 200 "$(song elsewhere)"
log | grep -q 'HOST=localhost' && { echo "FAILED: the redirect to another host was followed"; failures=$((failures + 1)); }

# Whatever a server holds back, a lookup ends at its deadline (printed, not judged: the machine
# may be loaded; the deadline is what makes each run end at all within the test's time).
for stall in silent trickleheaders tricklebody; do
  start=$EPOCHREALTIME
  expect 1 'no answer: timed out' -- --online --server "$url" --length 200 "$(song $stall)"
  awk -v from="$start" -v to="$EPOCHREALTIME" -v what="$stall" 'BEGIN { printf "%s: ended after %.1f s\n", what, to - from }'
done

[ -e "$out/Standin Artist - searchhit.lrc" ] && { echo "FAILED: --online saved a file"; failures=$((failures + 1)); }
exit $((failures > 0))
