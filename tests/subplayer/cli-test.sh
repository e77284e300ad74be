#!/usr/bin/env bash
# subplayer.exe from the command line: exit codes and messages for wrong input, a whole scenario
# run against the probe plug-in with a fresh copy, a file beside it and the log, and a plug-in
# that crashes on a thread of its own.
# Usage: cli-test.sh <subplayer.exe> <folder of the probe DLLs> <scratch folder>
set -uo pipefail
exe=$1 probes=$2 out=$3
source "$(dirname "$0")/../../tools/lib/env.sh"
run="$SORVANE_REPO/tools/wine-run"
rm -rf "$out" && mkdir -p "$out"
failures=0
# One Wine server for all the runs below instead of one started and stopped per run.
"$run" wineserver -p10

# expect <exit code> <text the output must contain> -- <subplayer arguments>
# The probe plug-in's orders are in $orders.
orders=box-at-init
expect() {
  local code=$1 text=$2; shift 3
  local output status
  output=$(SUBPLAYER_PROBE=$orders "$run" "$exe" "$@" 2>&1); status=$?
  if [ "$status" != "$code" ] || ! grep -qF -- "$text" <<<"$output"; then
    echo "FAILED: subplayer $* -> exit $status (wanted $code, with \"$text\"):"
    echo "$output"
    failures=$((failures + 1))
  fi
}

win() { winepath_of "$1"; }
probe=$(win "$probes/subplayer_probe.dll")
printf 'init\nplya\n' > "$out/typo.txt"
printf 'init\nkey a\nwait 2 ticks\ncapture bar bar.png\nexpect box Probe | probe 日本語\nsay said: 日本語\n' > "$out/good.txt"
printf 'frame\n' > "$out/nobar.txt"
printf '[probe]\nkept=1\n' > "$out/probe.ini"

expect 2 "--plugin and --scenario are required" --
expect 2 "unknown argument --plugn" -- --plugn x
expect 2 "typo.txt:2: unknown action \"plya\"" -- --plugin "$probe" --scenario "$(win "$out/typo.txt")"
expect 3 "cannot load" -- --plugin "$(win "$probes/none.dll")" --scenario "$(win "$out/good.txt")"
expect 3 "has descriptor version 15, expected 16" -- \
  --plugin "$(win "$probes/subplayer_probe_v15.dll")" --scenario "$(win "$out/good.txt")"
expect 1 "line 1: no bar window to capture" -- --plugin "$probe" --scenario "$(win "$out/nobar.txt")" \
  --out "$(win "$out")"
expect 0 "said: 日本語" -- --plugin "$probe" --scenario "$(win "$out/good.txt")" --out "$(win "$out/run")" --fresh \
  --beside "$(win "$out/probe.ini")"

log="$out/run/subplayer.log"
for line in 'box caption="Probe" text="probe 日本語"' 'host received keydown 0x41' 'captured bar.png' \
            'queries 0=1 104=1 105=' 'running the copy in ' 'quit returned' 'unloaded'; do
  grep -qF -- "$line" "$log" 2>/dev/null || { echo "FAILED: the log lacks: $line"; failures=$((failures + 1)); }
done
ls "$out"/run/subplayer-*/probe.ini "$out"/run/subplayer-*/subplayer_probe.dll >/dev/null 2>&1 ||
  { echo "FAILED: the fresh folder lacks the plug-in's copy or the file beside it"; failures=$((failures + 1)); }
[ -s "$out/run/bar.png" ] || { echo "FAILED: no bar.png"; failures=$((failures + 1)); }

# A crash on any thread of the player, the plug-in's own included, fails the run in one line.
orders=crash-on-timer-thread
expect 70 "crash: exception 0xC0000005 (access violation writing 0x0) at subplayer_probe.dll+0x" -- \
  --plugin "$probe" --scenario "$(win "$out/good.txt")" --out "$(win "$out/crash")"

[ "$failures" = 0 ] && echo "subplayer command line: all passed"
exit $((failures > 0))
