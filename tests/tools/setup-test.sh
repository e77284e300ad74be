#!/usr/bin/env bash
# tools/setup against a package index that fails, with stand-ins on PATH for apt-get, dpkg-query,
# dpkg, sudo, sleep and the locale commands, and a copy of the tools whose Wine runs and TagLib
# and pugixml builds only record that they were asked. Nothing of the machine is touched: a sed
# that would edit a file in place only records that too.
#   - The index fails to update and wine32:i386 cannot be installed: three tries, then the required
#     packages are installed all the same, one line says that there is no 32-bit Wine and why,
#     no 32-bit prefix is made, and setup exits 0.
#   - A required package cannot be installed: setup fails naming it and apt's reason, after
#     installing the others.
#   - All is installed: apt is never run.
# Usage: setup-test.sh <scratch folder>
set -uo pipefail
source_tools=$(cd "$(dirname "$0")/../../tools" && pwd)
scratch=$1
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# The stand-ins keep their state in $state: "missing" lists the packages not installed (every
# other one is), "broken" the ones apt cannot install, "calls" what was asked of them.
make_world() {
  rm -rf "$scratch" && mkdir -p "$scratch/repo/tools/lib" "$scratch/repo/build" "$scratch/bin" "$scratch/state"
  cp "$source_tools/setup" "$scratch/repo/tools/"
  cp "$source_tools/lib/env.sh" "$source_tools/lib/progress" "$scratch/repo/tools/lib/"
  state=$scratch/state
  : > "$state/missing"; : > "$state/broken"; : > "$state/calls"; : > "$state/architectures"
  stand_in() {  # name, body (sees $state)
    printf '#!/usr/bin/env bash\nstate=%q\n%s\n' "$state" "$2" > "$1"
    chmod +x "$1"
  }
  # Those that only record: "<name> <arguments>" in calls.
  for tool in repo/tools/wine-run repo/tools/wine-run32 repo/tools/lib/build-taglib repo/tools/lib/build-pugixml bin/sleep bin/locale-gen bin/tee; do
    name=${tool#repo/tools/}
    stand_in "$scratch/$tool" "echo \"${name#bin/} \$*\" >> \"\$state/calls\""
  done
  # The 32-bit probe of env.sh: this machine runs 32-bit programs.
  stand_in "$scratch/repo/build/probe-i386" 'exit 42'
  stand_in "$scratch/bin/sudo" 'exec "$@"'
  stand_in "$scratch/bin/locale" 'printf "C.utf8\nen_US.utf8\nja_JP.utf8\n"'
  stand_in "$scratch/bin/sed" '[[ " $* " == *" -i "* ]] && { echo "sed $*" >> "$state/calls"; exit 0; }; exec /bin/sed "$@"'
  stand_in "$scratch/bin/dpkg-query" '
p=${!#}
grep -qxF -- "$p" "$state/missing" && exit 1
printf "install ok installed"'
  stand_in "$scratch/bin/dpkg" '
echo "dpkg $*" >> "$state/calls"
case $1 in
  --print-foreign-architectures) cat "$state/architectures" ;;
  --add-architecture) echo "$2" >> "$state/architectures" ;;
esac'
  stand_in "$scratch/bin/apt-get" '
words=(); for a in "$@"; do [[ $a == -* || $a == *=* ]] || words+=("$a"); done
echo "apt-get ${words[*]}" >> "$state/calls"
case ${words[0]} in
  update)
    if [ -e "$state/index-fails" ]; then
      echo "E: Failed to fetch binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
      exit 100
    fi ;;
  install)
    packages=("${words[@]:1}")
    for p in "${packages[@]}"; do
      if grep -qxF -- "$p" "$state/broken"; then
        echo "E: Unable to locate package $p" >&2
        exit 100
      fi
    done
    echo "0 upgraded, ${#packages[@]} newly installed, 0 to remove and 0 not upgraded."
    for p in "${packages[@]}"; do
      echo "Unpacking $p (1.0) ..."; echo "Setting up $p (1.0) ..."
      grep -vxF -- "$p" "$state/missing" > "$state/missing.new"; mv "$state/missing.new" "$state/missing"
    done ;;
esac'
}

run_setup() {  # output to $scratch/out, status to $status
  PATH="$scratch/bin:$PATH" "$scratch/repo/tools/setup" > "$scratch/out" 2>&1; status=$?
}
says() { grep -qxF -- "$1" "$scratch/out" || fail "$2: the output lacks \"$1\""; }
called() { grep -cxF -- "$1" "$state/calls"; }
show() { echo "--- output:"; cat "$scratch/out"; echo "--- calls:"; cat "$state/calls"; }

# The index fails, wine32 cannot be had.
make_world
printf 'xvfb\nnsis\nwine32:i386\n' > "$state/missing"
echo wine32:i386 > "$state/broken"
touch "$state/index-fails"
run_setup
[ "$status" = 0 ] || fail "index failing: setup exited with $status"
[ "$(called 'apt-get update')" = 3 ] || fail "index failing: the update was not tried three times"
[ "$(called 'sleep 5')" = 2 ] || fail "index failing: no pause of a few seconds between the tries"
says "setup: no 32-bit Wine: Unable to locate package wine32:i386; the tests of the shipped 32-bit DLL will be skipped" "index failing"
[ "$(grep -c '32-bit' "$scratch/out")" = 1 ] || fail "index failing: more than one line about the 32-bit Wine"
[ "$(cat "$state/missing")" = wine32:i386 ] || fail "index failing: required packages left uninstalled: $(cat "$state/missing")"
[ "$(called 'dpkg --add-architecture i386')" = 1 ] || fail "index failing: the i386 architecture was not added"
grep -q '^wine-run wineboot' "$state/calls" || fail "index failing: no 64-bit prefix"
grep -q '^wine-run32' "$state/calls" && fail "index failing: a 32-bit prefix without a 32-bit Wine"
[ "$(called 'lib/build-taglib x86_64 i686 fuzz')" = 1 ] || fail "index failing: TagLib not built for the Windows toolchains and the fuzz tree"
grep -q '^locale-gen' "$state/calls" && fail "index failing: locales there were generated again"
grep -q '^lib/build-pugixml x86_64 i686' "$state/calls" || fail "index failing: pugixml not built for both toolchains"
((failures)) && show

# A required package cannot be installed.
make_world
printf 'xvfb\nnsis\n' > "$state/missing"
echo nsis > "$state/broken"
run_setup
[ "$status" != 0 ] || fail "required package missing: setup exited with 0"
says "  nsis: Unable to locate package nsis" "required package missing"
[ "$(cat "$state/missing")" = nsis ] || fail "required package missing: the others were not installed"
grep -q '^wine-run' "$state/calls" && fail "required package missing: setup went on to the prefixes"
((failures)) && show

# All is there: not a word to apt, and one line.
make_world
for prefix in wine wine32; do mkdir -p "$scratch/repo/build/$prefix" && echo v1 > "$scratch/repo/build/$prefix/.sorvane-stamp"; done
run_setup
[ "$status" = 0 ] || fail "all there: setup exited with $status"
grep -q '^apt-get' "$state/calls" && fail "all there: apt was run"
[ "$(wc -l < "$scratch/out")" = 1 ] || fail "all there: more than one line"
((failures)) && show

[ "$failures" = 0 ] && echo "setup with a failing package index: all passed"
exit $((failures > 0))
