#!/usr/bin/env bash
# The crash report (CrashReport.cpp) at work in a test program: a fault on a secondary thread, one
# in a window procedure the system calls back (which it would swallow) and one inside the C runtime
# each end the program with exit status 70 and one line naming the exception and the module; a
# fault the system handles itself does not.
# Usage: crash-report-test.sh <emulator: tools/wine-run or wine-run32> <crash-probe.exe>
set -uo pipefail
run=$1 exe=$2
module=$(basename "$exe")
failures=0
# Standard error goes to a file, not to a pipe that a Wine server started by the run would hold
# open for as long as it lives.
errors_file=$(mktemp)
trap 'rm -f "$errors_file"' EXIT

# expect <gtest filter> <exit status> <pattern the whole standard error must match>
expect() {
  local filter=$1 code=$2 pattern=$3 errors status
  "$run" "$exe" --gtest_brief=1 --gtest_filter="$filter" >/dev/null 2>"$errors_file"; status=$?
  errors=$(cat "$errors_file")
  if [ "$status" = 77 ]; then echo "$errors"; exit 77; fi  # no 32-bit Wine here: the runner said why
  if [ "$status" != "$code" ] || ! [[ $errors =~ ^$pattern$ ]]; then
    echo "FAILED: $filter -> exit $status (wanted $code), standard error:"
    echo "$errors"
    failures=$((failures + 1))
  fi
}

line() { echo "crash: exception 0xC0000005 \(access violation $1\) at ${2//./\\.}\+0x[0-9A-F]+ on thread 0x[0-9A-F]+"$'\r'; }
expect DeliberateCrash.OnASecondaryThread 70 "$(line 'writing 0x0' "$module")"
expect DeliberateCrash.InAWindowProcedureTheSystemCallsBack 70 "$(line 'writing 0x0' "$module")"
expect DeliberateCrash.InsideTheCRuntime 70 "$(line 'reading 0x10' msvcrt.dll)"
expect HandledFault.InsideTheSystemIsNoCrash 0 ""

[ "$failures" = 0 ] && echo "crash report: all passed"
exit $((failures > 0))
