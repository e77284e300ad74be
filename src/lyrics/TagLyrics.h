#pragma once
// The lyrics a song holds in its tags, read with TagLib through the lyrics environment's file
// access (so paths are UTF-8 and Windows opens them with the wide API). The fields, in the order
// they are tried:
//   ID3v2 SYLT: content type lyrics first, then any other; time stamps in milliseconds or in MPEG
//               frames (converted with the stream's frame length)
//   ID3v2 USLT: any language or description
//   Xiph comments (FLAC, Ogg Vorbis, Opus, Speex): LYRICS, SYNCEDLYRICS, UNSYNCEDLYRICS,
//               UNSYNCED LYRICS
//   MP4: ©lyr, then the free-form ----:com.apple.iTunes:Lyrics and ...:UNSYNCED LYRICS
//   APEv2: Lyrics
//   ASF: WM/Lyrics
// ID3v2 texts in Latin-1 are read in the system's ANSI code page, as Windows taggers write them;
// every other text is Unicode. A broken tag yields what TagLib could make of it, or nothing.
#include <string>
#include <vector>

#include "lyrics/SyncedLyrics.h"
#include "lyrics/TextEncoding.h"

class LyricsEnvironment;
class SourceFile;

struct TagLyrics {
    std::string field;                            // where it was found: "SYLT", "USLT", "LYRICS", "©lyr", ...
    TextEncoding encoding = TextEncoding::kUtf8;  // what the field's text was stored as
    int synced = 0;                               // 1: entries holds a SYLT frame's texts; 0: text is a lyrics text
    std::string text;                             // UTF-8
    std::vector<SyncedText> entries;
};

// Every lyrics field of the file's tags, in the order above. The file's format is taken from the
// extension of name (a path), else from its content.
std::vector<TagLyrics> readTagLyrics(SourceFile& file, const char* name, LyricsEnvironment& environment);

// The song's title, artist and album as its tags give them, UTF-8 without blanks at either end,
// and its length as its audio stream gives it (0: unknown). Each field comes from the first tag
// that holds it: ID3v2, Xiph comment, MP4, APEv2, ASF, then ID3v1 (also read from a file TagLib
// does not know, which ends in an ID3v1 block all the same). ID3 texts stored as Latin-1 (ID3v1
// always) are read in the ANSI code page, as the lyrics are. 1 when the tags give a title and an
// artist.
struct SongTitles {
    std::string title, artist, album;
    int lengthSeconds = 0;
};
int readSongTitles(SourceFile& file, const char* name, LyricsEnvironment& environment, SongTitles& titles);
