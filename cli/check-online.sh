#!/usr/bin/env bash
# sorvane-lyrics --online against the stand-in LRCLIB server (tests/e2e/lrclib_standin.py), which
# this script starts on a free port of 127.0.0.1 and stops.
# Usage: check-online.sh <emulator: tools/wine-run or wine-run32> <sorvane-lyrics.exe> <scratch folder>
set -uo pipefail
run=$1 exe=$2 out=$3
here=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out" && mkdir -p "$out"
python3 "$here/tests/e2e/lrclib_standin.py" "$out/port" 120 &
server=$!
trap 'kill $server 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$out/port" ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat "$out/port")"
failures=0

# expect <exit code> <text the output must contain> -- <arguments>
expect() {
  local code=$1 text=$2; shift 3
  local output status
  output=$("$run" "$exe" "$@" 2>&1); status=$?
  if [ "$status" = 77 ]; then echo "$output"; exit 77; fi  # no 32-bit Wine here: the runner said why
  if [ "$status" != "$code" ] || ! grep -qF -- "$text" <<<"$output"; then
    echo "FAILED: sorvane-lyrics $* -> exit $status (wanted $code, with \"$text\"):"
    echo "$output"
    failures=$((failures + 1))
  fi
}

printf 'no tags' > "$out/Standin Artist - searchhit.mp3"
printf 'no tags' > "$out/Standin Artist - error500.mp3"
song() { echo "Z:${out//\//\\}\\Standin Artist - $1.mp3"; }
expect 0 'query: track "searchhit", artist "Standin Artist", album "", length 200 s' -- \
  --online --server "$url" --length 200 "$(song searchhit)"
expect 0 $'[length:3:19]\r' -- --online --server "$url" --length 200 "$(song searchhit)"
expect 0 '  status 404, ' -- --online --server "$url" --length 200 "$(song searchhit)"
expect 1 'answer: no usable answer' -- --online --server "$url" --length 200 "$(song error500)"
expect 1 'names no track, artist and length' -- --online --server "$url" "$(song error500)"
expect 2 'usage' -- --server "$url" "$(song error500)"
[ -e "$out/Standin Artist - searchhit.lrc" ] && { echo "FAILED: --online saved a file"; failures=$((failures + 1)); }
exit $((failures > 0))
