#pragma once
// The download folder: where lyrics found for a song outside its own folders (online, or taken
// out of its tags to be corrected) are kept as "<song's base name>.lrc", so that the next lookup
// finds them without going further, and the user can correct them by hand.
//
// The folder is the DownloadPath setting, or when that is unset or empty a "Lyrics" folder beside
// the settings file. It is created when something is first saved into it, not before.
#include <string>

// The download folder for the setting downloadPath (UTF-8, may be null) and the settings file's
// path (UTF-8). Empty when neither names a folder.
std::string downloadFolder(const char* downloadPath, const std::string& settingsFile);

// The download copy of the song at songPath (UTF-8): "<folder>\<base name without extension>.lrc".
// The base name is the part after the last "\" or "/" (a stream's address names no file of its
// own beyond that); characters no Windows file name may hold become "_". Empty when folder is
// empty or the song names no file ("", "." or "..").
std::string downloadCopyPath(const std::string& folder, const char* songPath);
