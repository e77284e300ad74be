#!/bin/sh
# Runs a program that must end with an undefined-behaviour sanitizer's report: passes when the run
# exits non-zero and its output holds the report. The output is shown either way.
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
if [ "$status" -eq 0 ]; then
  echo "expect-sanitizer-report: the run exited 0: the sanitizer let it go on"
  exit 1
fi
case $output in
  *"runtime error: load of value 85"*) exit 0 ;;
esac
echo "expect-sanitizer-report: the run exited $status without the sanitizer's report"
exit 1
