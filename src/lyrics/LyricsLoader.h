#pragma once
// Finding and loading a song's lyrics: a "kra", "lrc" or "txt" file beside the song, one of that
// name below the LyricsPath folder, or the lyrics field of the song's Lyrics3 tag.
#include <cstdint>
#include <string>
#include <string_view>

#include "lyrics/LyricsParser.h"
#include "lyrics/TextEncoding.h"

class LyricsDocument;
class LyricsEnvironment;
class Settings;

// A source naming a song file whose Lyrics3 tag holds the lyrics: this prefix, then the path.
constexpr char kLyrics3Prefix[] = "LYRICS200:";

// path with everything after its last "." (at byte 1 or later) replaced by extension; without
// such a dot, extension is appended directly. "C:\My.Music\song" gives "C:\My.kra".
std::string replaceExtension(std::string_view path, const char* extension);

// The part of path after its last folder-separating backslash: a backslash that is the second
// byte of a double-byte character separates nothing.
std::string songFileName(const char* path, LyricsEnvironment& environment);

// Lyrics files are read this far. A character of a Unicode file takes four bytes at most and
// becomes one ANSI byte at least, so this holds the longest text the parser reads.
constexpr size_t kMaxLyricsFileBytes = 4 * kMaxLyricsBytes + 4;

// The lyrics text of a file's first bytes (cutShort: the file goes on past them), in the ANSI code
// page and at most kMaxLyricsBytes long. A Unicode file (see detectEncoding) is converted and cut
// between two characters; any other is taken as it is. 0 when the conversion fails.
int lyricsFileText(std::string_view bytes, int cutShort, LyricsEnvironment& environment, std::string& text,
                   TextEncoding& encoding);

// Loads the lyrics a source names: a song or lyrics file path (lyrics are read from the path with
// the extension "kra", else "lrc", else "txt") or kLyrics3Prefix and a song path. Sets loaded to
// 0 first, and to 1 on success; refreshes title and artist from the file's ID3v1 block or the
// host's playlist (unless the source is a tag); notes the file's encoding in the document.
// Returns 1 when lyrics were loaded.
int loadLyrics(LyricsDocument& document, const char* source, int32_t timeType, LyricsEnvironment& environment);

// The lookup on a song change, after the caller has cleared the headers and noted the file as
// loaded: beside the song, then below LyricsPath, then the song's Lyrics3 tag. 1 when one loaded.
int lookupLyrics(LyricsDocument& document, const char* currentFile, const Settings& settings,
                 LyricsEnvironment& environment);
