#pragma once
// The download folder: where lyrics found for a song outside its own folders (online, or taken
// out of its tags to be corrected) are kept as the song's copy, so that the next lookup finds them
// without going further, and the user can correct them by hand.
//
// A copy is named after the song ("<Artist> - <Title>.lrc") and says whose it is in its [ti:],
// [ar:] and [length:] tags: a copy is used only for a song those tags fit, so that two songs of
// one name never share lyrics, and a copy that fits no song is left alone.
//
// The folder is the DownloadPath setting, or when that is unset or empty a "Lyrics" folder beside
// the settings file. It is created when something is first saved into it, not before.
#include <string>
#include <string_view>

#include "lyrics/SongNames.h"

// The download folder for the setting downloadPath (UTF-8, may be null) and the settings file's
// path (UTF-8). Empty when neither names a folder.
std::string downloadFolder(const char* downloadPath, const std::string& settingsFile);

// The file name of the song's copy, the one every save and lookup of it uses: "<Artist> -
// <Title>.lrc" from its names, else "<playlist title>.lrc", else "<file name without its
// extension>.lrc" (the part of the path after its last "\" or "/": a stream's address names no
// file of its own beyond that). Characters no Windows file name may hold become "_", and the name
// is kept short enough for any file system (a name cut short still says whose it is inside).
// Empty when the song gives no name at all.
std::string downloadCopyName(const SongNames& song);
// "<folder>\<downloadCopyName>"; empty when folder is empty or the song gives no name.
std::string downloadCopyPath(const std::string& folder, const SongNames& song);

// Where copies were kept before they were named after their songs' tags: "<file name without its
// extension>.lrc", its trailing dots and spaces dropped. Only ever read: a copy there is used when
// its tags fit the song, as any other.
std::string formerDownloadCopyPath(const std::string& folder, const char* songPath);

// Whether a copy's text belongs to the song: its last [ti:] and [ar:] are the song's title and
// artist (ASCII letter case and spaces around them aside), and its [length:] lies within
// kDurationToleranceSeconds of the song's length. A tag the copy does not hold (or holds empty)
// says nothing against it (a copy of lyrics saved out of the song's own tags may hold none), and
// nor does one the song has nothing to compare with: lyrics in the tags of a song without a
// title may name one, and a song's length may be unknown.
bool copyBelongsToSong(std::string_view copyText, const SongNames& song);
