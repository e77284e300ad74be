#pragma once
// Loading a document from what a lyrics source found: a lyrics file's text (read in its encoding,
// as far as a lyrics file is read), the parse, the frame length, the title and artist the song's
// file gives, and the warnings of the load. The sources (LyricsSource.h) share these steps.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/LyricsParser.h"
#include "lyrics/TextEncoding.h"

class LyricsDocument;
class LyricsEnvironment;

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

// The lyrics text of the file at path (UTF-8), as far as a lyrics file is read. 0 when it does not
// open.
int readLyricsFileText(const std::string& path, LyricsEnvironment& environment, std::string& text,
                       TextEncoding& encoding);

// The lyrics syntax (LyricsParser.h), of every lyrics file and tag text.
int parseLyricsText(LyricsDocument& document, std::string_view text, int32_t timeType, LyricsWarnings& warnings);

// Loads the lyrics file at file, found for the song or file source, into the document: -1 when it
// does not open, else 1 when it holds lines to show and 0 when not.
using LyricsFileReader = int (*)(LyricsDocument& document, const std::string& source, const std::string& file,
                                 int32_t timeType, LyricsEnvironment& environment);
// A file of the lyrics syntax, in its encoding; lyricsFile is the file, where a saved timing goes.
int readLyricsSyntaxFile(LyricsDocument& document, const std::string& source, const std::string& file, int32_t timeType,
                         LyricsEnvironment& environment);
// A TTML file (TtmlLyrics.h), its problems reported as the environment's lyricsProblem. Its timing
// is not saved into it (lyricsFile stays empty): a save writes an LRC offset tag, which has no place
// in XML.
int readTtmlFile(LyricsDocument& document, const std::string& source, const std::string& file, int32_t timeType,
                 LyricsEnvironment& environment);

// The lyrics files a song may have: its name with each of these extensions, tried in this order,
// each read by its reader. A TTML file goes before the LRC ones: it is the one with word timing and
// translations, and nothing makes one but the user's choice.
struct LyricsFileFormat {
    const char* extension;
    LyricsFileReader read;
};
inline constexpr LyricsFileFormat kLyricsFileFormats[] = {
    {"kra", readLyricsSyntaxFile},
    {"ttml", readTtmlFile},
    {"lrc", readLyricsSyntaxFile},
    {"txt", readLyricsSyntaxFile},
};

// The title and artist the file at path gives in its tags (TagLyrics.h: readSongTitles), an empty
// text for the one they leave out; or else, when they give neither, the host's title of the
// playlist entry and no artist. A file that does not open leaves both as they are.
void refreshTitleAndArtist(LyricsDocument& document, const std::string& path, LyricsEnvironment& environment);

// The lyrics file of path: refreshes the title and artist from path, then loads the first of
// path's lyrics files (path with the extension of each format in turn) that opens. Sets loaded to
// 0 first (an empty path loads nothing). The document's lyricsFile is the file read.
int loadLyricsFile(LyricsDocument& document, const std::string& path, int32_t timeType, LyricsEnvironment& environment);

// The lines of a text a source read, into the document after a reset: lyricsFile is the file it
// came from (empty: a tag), encoding what it was stored as, and keepText keeps the text as the
// document's sourceText (lyrics without a file of their own). source names the song or file for
// the frame length. The parse's warnings go to the environment once the document is complete.
int loadLyricsText(LyricsDocument& document, const std::string& source, std::string text, TextEncoding encoding,
                   const std::string& lyricsFile, int keepText, int32_t timeType, LyricsEnvironment& environment);

// The parser's warnings of one load, handed on once the document is complete: the plug-in's
// box is modal, and ticks that run while it is open must find a finished document.
class LoadWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t lineNumber, int32_t offset) override;
    void report(LyricsEnvironment& environment) const;

private:
    struct Tag {
        int32_t lineNumber;
        int32_t offset;
    };
    std::vector<Tag> tags;
};

// The end of a load with lyrics: the frame length follows the source's name (the player counts
// time by decoded frames: 1000 samples for a ".wma", 1152 otherwise), and loaded is 1.
void markLoaded(LyricsDocument& document, const std::string& source);
