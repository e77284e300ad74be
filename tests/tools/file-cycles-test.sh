#!/usr/bin/env bash
# tools/file-cycles on a made-up tree of two folders, built with the Windows compiler as the real
# tree is: a call each way is a circle, a call one way is none, and an include against the call's
# direction closes one again; a file whose object is left behind from an old build counts for nothing.
# Usage: file-cycles-test.sh <scratch folder>
set -uo pipefail
tool=$(cd "$(dirname "$0")/../../tools" && pwd)/file-cycles
scratch=$1
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

write() { mkdir -p "$(dirname "$scratch/src/$1")" && printf '%s\n' "$2" > "$scratch/src/$1"; }
build() {
  rm -rf "$scratch/build"
  for file in "$scratch"/src/*/*.cpp; do
    local relative=${file#"$scratch/src/"}
    mkdir -p "$scratch/build/src/$(dirname "$relative")"
    x86_64-w64-mingw32-g++ -c -I "$scratch/src" "$file" -o "$scratch/build/src/$relative.obj" || fail "compiling $relative"
  done
}
check() {  # expected exit status, expected circle line or "", what the tree is
  local output status
  output=$("$tool" --src "$scratch/src" --build "$scratch/build" 2>&1)
  status=$?
  [ "$status" = "$1" ] || fail "$3: exit status $status, not $1: $output"
  if [ -n "$2" ]; then
    grep -qxF "$2" <<<"$output" || fail "$3: no line \"$2\" in: $output"
  elif grep -q '^circle:' <<<"$output"; then
    fail "$3: a circle where there is none: $output"
  fi
}

rm -rf "$scratch"
write low/Store.h 'int stored();'
write low/Store.cpp '#include "low/Store.h"
int report();
int stored() { return report(); }'
write high/Report.h 'int report();'
write high/Report.cpp '#include "high/Report.h"
#include "low/Store.h"
int report() { return 1; }
int total() { return stored() + 1; }'
build
check 1 "circle: high/Report <-> low/Store" "calls both ways, one way through an include"

write low/Store.cpp '#include "low/Store.h"
int stored() { return 2; }'
build
check 0 "" "calls one way"

write low/Store.h '#include "high/Report.h"
int stored();'
build
check 1 "circle: high/Report <-> low/Store" "an include against the call"

write low/Store.h 'int stored();'
build
write low/Old.cpp 'int report(); int old() { return report(); }'
x86_64-w64-mingw32-g++ -c "$scratch/src/low/Old.cpp" -o "$scratch/build/src/low/Old.cpp.obj"
rm "$scratch/src/low/Old.cpp"
write high/Report.cpp '#include "high/Report.h"
#include "low/Store.h"
int old();
int report() { return old(); }'
check 0 "" "an object without its source"

rm -rf "$scratch/build" && mkdir -p "$scratch/build"
check 1 "" "nothing built"

[ "$failures" = 0 ] && echo "file-cycles-test: passed"
exit $((failures > 0))
