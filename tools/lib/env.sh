# Shared by the tools: where the project, its builds and its Wine prefixes live, and the environment
# every Wine run gets (code page 932 through the Japanese locale unless told, a private X display).
#
# Two Wines: 64-bit programs run under wine64 in build/wine; 32-bit ones (the shipped plug-in and
# the programs that load it) under wine32 in build/wine32, a prefix and display of their own. A
# tool picks the 32-bit one by setting SORVANE_WINE_BITS=32 before sourcing this file.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export SORVANE_REPO="$repo"
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine takes its ANSI code page from the locale name: 932 from ja_JP.UTF-8 (the default), 1252 from
# en_US.UTF-8 (SORVANE_WINE_LOCALE chooses). File names with characters of any script need the Unix
# locale installed as well (tools/setup generates both).
wine_locale=${SORVANE_WINE_LOCALE:-ja_JP.UTF-8}
wine64_prefix="${SORVANE_WINEPREFIX:-$repo/build/wine}"
wine32_prefix="${SORVANE_WINEPREFIX32:-$repo/build/wine32}"
# One display per checkout and Wine, so that two checkouts testing at once never share windows,
# and the 32-bit tests never take the foreground from the 64-bit ones.
display_number=$((100 + $(printf '%s' "$repo" | cksum | cut -d' ' -f1) % 400))
if [ "${SORVANE_WINE_BITS:-64}" = 32 ]; then
  export WINEPREFIX="$wine32_prefix" WINEARCH=win32
  export DISPLAY=":$((display_number + 400))"
  wine_binary=/usr/lib/wine/wine
else
  export WINEPREFIX="$wine64_prefix" WINEARCH=win64
  export DISPLAY=":$display_number"
  wine_binary=/usr/lib/wine/wine64
fi
wineserver_binary=/usr/lib/wine/wineserver

# The shipped plug-in's build tree, build/win32: 32-bit, optimised, its DLL and programs stripped.
# Its end-to-end tests load this very DLL, and tools/release packs it.
shipped_build_options=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release)

winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# Whether this machine runs 32-bit x86 programs at all: that depends on the kernel (its IA-32
# emulation may be left out or switched off), not on its name. The test is a 96-byte static
# 32-bit program, written byte by byte (a fresh machine has no 32-bit C library), that exits with
# 42 through the 32-bit system call.
runs_32bit_programs() {
  local probe="$repo/build/probe-i386"
  if [ ! -x "$probe" ]; then
    mkdir -p "$repo/build"
    # ELF header, one program header (load the file at 0x08048000, readable and executable), then
    # mov eax, 1 (exit); mov ebx, 42; int 0x80.
    local bytes='\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08'
    bytes+='\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0'
    bytes+='\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0'
    bytes+='\xb8\x01\0\0\0\xbb\x2a\0\0\0\xcd\x80'
    printf "$bytes" > "$probe.$$"
    chmod +x "$probe.$$"
    mv -f "$probe.$$" "$probe"
  fi
  local status=0
  "$probe" 2>/dev/null || status=$?
  [ "$status" = 42 ]
}

# Why 32-bit Windows programs cannot run here, in one line; nothing where they can.
why_no_wine32() {
  if ! runs_32bit_programs; then
    echo "this machine does not run 32-bit programs"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "no 32-bit Wine (tools/setup installs wine32)"
  fi
}
