#!/usr/bin/env bash
# The installer under Wine, silently, into fake player folders. The script is built as a 64-bit
# program (this machine runs no 32-bit programs) around the given plug-in; the shipped 32-bit form
# is only compiled. Checks: the DLL lands in <player>\Plugins with the sample lyrics and the
# uninstaller beside it; the player is found through its registry key and through the command of its
# own uninstaller; a silent run that finds no player fails and writes nothing; the uninstaller takes
# back exactly what was installed, and the user's files (other plug-ins, the settings) stay; asked
# to remove the settings, it removes them from the player's settings folder (named by its
# paths.ini) and from beside the plug-in, and nothing else.
# Usage: test-installer.sh <gen_sorvane.dll> <work folder>
set -euo pipefail
dll=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
source "$repo/tools/lib/env.sh"

wine() { "$repo/tools/wine-run" "$@"; }
win() { winepath_of "$1"; }
fail() {
  echo "installer test: $*" >&2
  exit 1
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvane'
player_key='HKCU\Software\Winamp'
player_uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp'
has_key() { wine reg query "$1" /reg:32 >/dev/null 2>&1; }
# The Wine prefix is shared: leave no player key or uninstall entry behind, also from a failed run.
cleanup() {
  wine reg delete "$player_key" /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$player_uninstall_key" /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete "$uninstall_key" /f /reg:32 >/dev/null 2>&1 || true
}
cleanup
trap cleanup EXIT

rm -rf "$work"
mkdir -p "$work"
build_installer() {
  local out=$1
  shift
  makensis -V2 -INPUTCHARSET UTF8 "-DDLL=$dll" "-DSAMPLE=$repo/demo/Starlight.kra" \
    "-DICON=$repo/src/resources/sorvane.ico" -DVERSION=test "-DOUTFILE=$out" "$@" "$here/sorvane.nsi" \
    || fail "makensis failed for $out"
}
build_installer "$work/sorvane-x86.exe"
build_installer "$work/sorvane-amd64.exe" -DTEST_AMD64 -DPLAYER_WINDOW_CLASS=SorvaneInstallerTestPlayer
build_installer "$work/sorvane-amd64-removes-settings.exe" -DTEST_AMD64 -DPLAYER_WINDOW_CLASS=SorvaneInstallerTestPlayer \
  -DTEST_SILENT_REMOVES_SETTINGS

# A player folder as a user has it: the player, another plug-in, settings from an earlier install.
make_player() {
  mkdir -p "$1/Plugins"
  echo 'not really the player' > "$1/winamp.exe"
  echo 'another plug-in' > "$1/Plugins/gen_other.dll"
  printf '[Sorvane v0.15b by KEDO]\r\nEffects=3\r\n' > "$1/Plugins/sorvane.ini"
}
# Every file and folder below a folder with the checksum of each file.
snapshot() {
  (cd "$1" && { find . -type d -printf '%p/\n'; find . -type f -exec sha256sum {} + | sed 's/^\([0-9a-f]*\)  \(.*\)$/\2 \1/'; } | LC_ALL=C sort)
}

installed_files='./Plugins/Sorvane/
./Plugins/Sorvane/Starlight.kra
./Plugins/Sorvane/Uninstall.exe
./Plugins/gen_sorvane.dll'

# check_installed <player> <snapshot before> [settings file the install adds in the player's folder]
check_installed() {
  local player=$1 before=$2 expected=$installed_files
  [ -n "${3:-}" ] && expected+=$'\n'"$3"
  cmp -s "$player/Plugins/gen_sorvane.dll" "$dll" || fail "gen_sorvane.dll is not in $player/Plugins"
  cmp -s "$player/Plugins/Sorvane/Starlight.kra" "$repo/demo/Starlight.kra" || fail "the sample lyrics are missing"
  local added
  added=$(diff <(echo "$before") <(snapshot "$player") | sed -n 's/^> //p' | sed 's/ .*//' || true)
  [ "$added" = "$expected" ] || fail "the install changed more than its own files:"$'\n'"$added"
  has_key "$uninstall_key" || fail "no uninstall entry in the registry"
  wine reg query "$uninstall_key" /v UninstallString /reg:32 | grep -qF "$(win "$player")\\Plugins\\Sorvane\\Uninstall.exe" \
    || fail "the uninstall entry names another uninstaller"
}

# The uninstaller copies itself to the temporary folder and returns at once; the copy does the
# work, so wait until our folder and the registry entry are gone.
uninstall_and_check() {
  local player=$1 before=$2
  wine "$player/Plugins/Sorvane/Uninstall.exe" /S || fail "the uninstaller failed"
  for _ in $(seq 300); do
    [ ! -e "$player/Plugins/Sorvane" ] && ! has_key "$uninstall_key" && break
    sleep 0.2
  done
  [ ! -e "$player/Plugins/Sorvane" ] || fail "the uninstaller did not finish"
  has_key "$uninstall_key" && fail "the uninstall entry is still in the registry"
  [ "$(snapshot "$player")" = "$before" ] || fail "the uninstall did not leave the folder as it was:"$'\n'"$(diff <(echo "$before") <(snapshot "$player"))"
}

echo "installer test: the folder given with /D"
player="$work/player"
make_player "$player"
before=$(snapshot "$player")
wine "$work/sorvane-amd64.exe" /S "/D=$(win "$player")" || fail "the silent install failed"
# Without a paths.ini the player keeps its settings in its own folder: the old settings beside the
# plug-in move there whole, with the online search as the installer's page left it (ticked).
check_installed "$player" "$before" ./sorvane.ini
settings=$(iconv -f UTF-16 -t UTF-8 "$player/sorvane.ini" 2>/dev/null || cat "$player/sorvane.ini")
grep -q '^Effects=3' <<<"$settings" && grep -q '^OnlineLyrics=1' <<<"$settings" \
  || fail "the settings file holds:"$'\n'"$settings"
# The uninstaller leaves the settings unless asked.
uninstall_and_check "$player" "$(snapshot "$player" | grep -v -e '^./Plugins/Sorvane/' -e '^./Plugins/gen_sorvane.dll ')"

echo "installer test: the folder found through the player's registry key"
found="$work/Found Player"
make_player "$found"
before=$(snapshot "$found")
wine reg add "$player_key" /ve /d "$(win "$found")" /f /reg:32 >/dev/null
wine "$work/sorvane-amd64.exe" /S /ONLINE=0 || fail "the silent install into the registered player failed"
check_installed "$found" "$before" ./sorvane.ini
grep -q 'OnlineLyrics=0' <(iconv -f UTF-16 -t UTF-8 "$found/sorvane.ini" 2>/dev/null || cat "$found/sorvane.ini") \
  || fail "/ONLINE=0 did not leave the online search off"
rm "$found/sorvane.ini"
uninstall_and_check "$found" "$before"

echo "installer test: the folder of the player's own uninstaller"
cleanup
listed="$work/Listed Player"
make_player "$listed"
before=$(snapshot "$listed")
wine reg add "$player_uninstall_key" /v UninstallString /d "\"$(win "$listed")\\UninstWA.exe\"" /f /reg:32 >/dev/null
wine "$work/sorvane-amd64.exe" /S || fail "the silent install into the player of the uninstall entry failed"
check_installed "$listed" "$before" ./sorvane.ini
rm "$listed/sorvane.ini"
uninstall_and_check "$listed" "$before"

echo "installer test: removing the settings, in the player's settings folder and beside the plug-in"
cleanup
removing="$work/removing"
make_player "$removing"
# The player keeps its settings in the user's application data, as its paths.ini says.
appdata=$(wine cmd /c echo %APPDATA% | tr -d '\r')
settings_folder=$(wine winepath -u "$appdata\\SorvaneInstallerTest" | tr -d '\r')
rm -rf "$settings_folder"
mkdir -p "$settings_folder"
trap 'cleanup; rm -rf "$settings_folder"' EXIT
printf '[Winamp]\r\ninidir={26}\\SorvaneInstallerTest\r\n' > "$removing/paths.ini"
printf 'theirs' > "$settings_folder/winamp.ini"
printf 'ours' > "$settings_folder/sorvane.ini"
printf 'ours' > "$settings_folder/sorvane.log"
before=$(snapshot "$removing")
wine "$work/sorvane-amd64-removes-settings.exe" /S "/D=$(win "$removing")" || fail "the silent install failed"
check_installed "$removing" "$before"
grep -q 'OnlineLyrics=1' "$settings_folder/sorvane.ini" || fail "the online search is not in the player's settings folder"
without_settings=$(echo "$before" | grep -v '^./Plugins/sorvane.ini ')
uninstall_and_check "$removing" "$without_settings"
[ "$(ls "$settings_folder")" = winamp.ini ] || fail "the player's settings folder holds: $(ls "$settings_folder")"
rm -rf "$settings_folder"

echo "installer test: no player anywhere, and a folder without the player"
cleanup
before=$(snapshot "$work")
status=0
wine "$work/sorvane-amd64.exe" /S || status=$?
[ "$status" = 2 ] || fail "a silent install without a player ended with $status, not 2"
status=0
wine "$work/sorvane-amd64.exe" /S "/D=$(win "$work/empty")" || status=$?
[ "$status" = 2 ] || fail "a silent install into a folder without the player ended with $status, not 2"
[ "$(snapshot "$work")" = "$before" ] || fail "a failed install wrote files"
has_key "$uninstall_key" && fail "a failed install wrote its uninstall entry"
echo "installer test: passed"
