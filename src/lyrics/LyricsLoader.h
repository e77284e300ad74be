#pragma once
// Finding and loading a song's lyrics: a "kra", "ttml", "lrc" or "txt" file beside the song, one
// of that name below the LyricsPath folder, the song's copy in the download folder, the lyrics field of the song's Lyrics3 tag, or the lyrics in
// the song's other tags (see TagLyrics.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "lyrics/LyricsParser.h"
#include "lyrics/TextEncoding.h"

class LyricsDocument;
class LyricsEnvironment;
class Settings;
struct SongNames;

// A source naming a song file whose Lyrics3 tag holds the lyrics: this prefix, then the path.
constexpr char kLyrics3Prefix[] = "LYRICS200:";
// A source naming a song file whose tags (ID3v2, Xiph comments, MP4, APEv2, ASF) hold the lyrics.
constexpr char kTagsPrefix[] = "TAGS:";

// path with everything after its last "." (at byte 1 or later) replaced by extension; without
// such a dot, extension is appended directly. "C:\My.Music\song" gives "C:\My.kra".
std::string replaceExtension(std::string_view path, const char* extension);

// The part of path after its last backslash, or the whole path without one.
std::string songFileName(const char* path);

// The song's name as a file of its own would take it: the part of path after its last backslash
// or slash, without what follows its last "." (at byte 1 or later).
std::string songBaseName(const char* path);

// Lyrics files are read this far: a Unicode file far enough to fill kMaxLyricsCharacters (a
// character takes four bytes at most, after a byte-order mark of three at most); of an ANSI file
// only the first kMaxLyricsBytes are taken.
constexpr size_t kMaxLyricsFileBytes = 4 * kMaxLyricsCharacters + 4;

// The lyrics text, in UTF-8, of a file's first bytes (cutShort: the file goes on past them), and
// in encoding what the file was read as (see detectEncoding). A Unicode file is decoded and cut
// after kMaxLyricsCharacters characters; an ANSI file's first kMaxLyricsBytes are converted whole.
std::string lyricsFileText(std::string_view bytes, int cutShort, LyricsEnvironment& environment,
                           TextEncoding& encoding);

// Whether a lyrics file of these bytes is read whole: an ANSI file of at most kMaxLyricsBytes, a
// Unicode one of at most kMaxLyricsCharacters characters.
bool lyricsFileReadsWhole(std::string_view bytes);

// Loads the lyrics a source names: a song or lyrics file path (lyrics are read from the path with
// the extension "kra", else "ttml" (TtmlLyrics.h), else "lrc", else "txt"), kLyrics3Prefix and a song path, or kTagsPrefix and
// a song path (the first of the song's tag fields that holds synchronised lyrics or a text with
// time tags: a text without any is no lyrics to show). Sets loaded to 0 first, and to 1 on
// success; refreshes title and artist from the file's tags (TagLyrics.h: readSongTitles) or the
// host's playlist (unless the source is a tag); notes the file's encoding, or the tag field's, in
// the document, and the path of a lyrics file it read (lyricsFile: where a save of the timing
// goes). Paths are UTF-8. Returns 1 when lyrics were loaded.
int loadLyrics(LyricsDocument& document, const char* source, int32_t timeType, LyricsEnvironment& environment);

// Loads the song's copy in the download folder at copy (that very file), when its tags say it is
// the song's (copyBelongsToSong); as loadLyrics otherwise, lyricsFile being the copy.
int loadDownloadCopy(LyricsDocument& document, const std::string& copy, const SongNames& song, int32_t timeType,
                     LyricsEnvironment& environment);

// The lookup on a song change, after the caller has cleared the headers and noted the file as
// loaded: beside the song, then below LyricsPath, then the song's copy in the download folder
// (downloadFolder, UTF-8; empty: none) under its name or its former name, then the song's Lyrics3
// tag, then its other tags. The download copy comes before the tags: a copy the user corrected, or
// whose timing was saved, is what the song shows. Lyrics from the tags get the copy's path as
// their downloadCopy. 1 when one loaded.
// currentFile is the song's path in UTF-8.
int lookupLyrics(LyricsDocument& document, const char* currentFile, const Settings& settings,
                 LyricsEnvironment& environment, const std::string& downloadFolder);

// The LyricsPath step of the lookup alone, as lookupLyrics runs it: for a lookup that had to do
// without the folder's index, once the index is there.
int lookupInLyricsPath(LyricsDocument& document, const char* currentFile, const Settings& settings,
                       LyricsEnvironment& environment);
