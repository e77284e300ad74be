# Shared by the tools: where the project, its builds and its Wine prefix live, and the environment
# every Wine run gets (code page 932 through the Japanese locale unless told, a private X display).
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export SORVANE_REPO="$repo"
export WINEPREFIX="${SORVANE_WINEPREFIX:-$repo/build/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# Wine takes its ANSI code page from the locale name: 932 from ja_JP.UTF-8 (the default), 1252 from
# en_US.UTF-8 (SORVANE_WINE_LOCALE chooses). File names with characters of any script need the Unix
# locale installed as well (tools/setup generates both).
wine_locale=${SORVANE_WINE_LOCALE:-ja_JP.UTF-8}
# One display per checkout, so that two checkouts testing at once never share windows.
display_number=$((100 + $(printf '%s' "$repo" | cksum | cut -d' ' -f1) % 400))
export DISPLAY=":$display_number"
wine_binary=/usr/lib/wine/wine64
wineserver_binary=/usr/lib/wine/wineserver

winepath_of() { printf 'Z:%s' "${1//\//\\}"; }
