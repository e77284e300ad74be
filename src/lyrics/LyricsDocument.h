#pragma once
// The lyrics of the song now playing: header texts, display lines in display order, and in
// every line the time marks that say when each stretch of its text is sung.
//
// Times are signed hundredths of a second. A mark's stored time is on the lyrics file's clock;
// displayTime converts it to the player's clock. Texts are UTF-8; lengths and offsets count bytes
// and always fall between two characters.
// Lines and marks are kept in arrays, so every indexed access is O(1).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/TextEncoding.h"

struct TimeMark {
    int32_t offset = 0;  // byte offset into the line's UTF-8 text where the timed stretch begins
    int32_t time = 0;    // hundredths of a second on the lyrics file's clock
};

class LyricsLine {
public:
    std::string text;    // the line without its time tags; never empty in a loaded document
    int32_t length = 0;  // byte length of the UTF-8 text
    int32_t width = 0;   // pixel extent of text in the lyrics font, written by the renderer
    int32_t height = 0;
    int32_t isKaraoke = 0;  // the source line held three or more tag starts, or words timed one by one
    std::vector<TimeMark> marks;

    // What a second row can show under the line; empty where the lyrics give none. An LRC text
    // gives translations as lines at the same times as the line; a TTML file gives translations
    // and a romanisation (the line's words in Latin letters).
    std::string translation;
    std::string secondTranslation;
    std::string romanisation;
    // Who sings the line, for duets (TTML): the singer's name in the file ("v1", "v2"), empty when
    // not said; and the singer's place among the file's singers: 1 the first, 2 the second, and so
    // on, 0 when not said or sung by a group. Lines of voice 2 are the duet's other side.
    std::string agent;
    int32_t voice = 0;
    // Where the background vocals, in brackets after the sung words, begin in text (TTML); -1 when
    // the line has none.
    int32_t backgroundOffset = -1;

    // The mark at index k: k <= 0 gives the first, k at or past the last index the last
    // (9999 is used for "the last"). Null only when the line has no marks.
    const TimeMark* mark(int32_t k) const;
};

constexpr int32_t kLastIndex = 9999;  // line(9999) and mark(9999): the last one
constexpr int32_t kNoLine = 999;      // the renderer's "no line"
constexpr double kDefaultRatio = 0.9953125;
constexpr double kDefaultSampleRateKHz = 44.1;

// A header text as the document keeps it: up to its first zero byte, as every reader of a title
// takes it.
std::string headerText(std::string_view text);

class LyricsDocument {
public:
    LyricsDocument() = default;
    virtual ~LyricsDocument() = default;
    LyricsDocument(const LyricsDocument&) = delete;
    LyricsDocument& operator=(const LyricsDocument&) = delete;

    // The line at index n (n <= 0: the first). Past the end: null, except n = 9999, the last.
    LyricsLine* line(int32_t n);
    const LyricsLine* line(int32_t n) const;
    int32_t lineCount() const { return static_cast<int32_t>(lines.size()); }

    int32_t isLoaded() const { return loaded; }

    // A mark's time on the player's clock: time / timeRatio, times frameRatio when timeType is
    // non-zero ("Winamp time"), truncated toward zero.
    int32_t displayTime(const TimeMark& mark, int32_t timeType) const;
    // displayTime of a line's first and last marks (0 for a line without marks).
    int32_t startTime(const LyricsLine& line, int32_t timeType) const;
    int32_t endTime(const LyricsLine& line, int32_t timeType) const;

    // Empties the six header texts. Lines, loaded and the ratios stay.
    void clearHeaders();
    // Restores the ratios, frames, totalSec, offsetMs, lyricsFile, encoding, tagField, sourceText
    // and downloadCopy and releases every line.
    // Headers and loaded stay.
    void reset();
    // frameRatio for a player clock that advances a whole number of milliseconds per decoded
    // frame of this many samples: (frame ms truncated) / frame ms, at sampleRateKHz (reset to 44.1).
    void setFrameLength(int32_t samples);

    std::vector<LyricsLine> lines;
    // Header texts: none until something names them; a header given empty is the empty text.
    std::optional<std::string> title;
    std::optional<std::string> artist;
    std::optional<std::string> album;
    std::optional<std::string> words;
    std::optional<std::string> music;
    std::optional<std::string> taggingBy;
    int32_t loaded = 0;
    double timeRatio = kDefaultRatio;
    double frameRatio = kDefaultRatio;
    double sampleRateKHz = kDefaultSampleRateKHz;
    int32_t frames = 0;
    int32_t totalSec = 0;
    int32_t offsetMs = 0;    // the "[offset:]" tag's value: every tag time was moved this much earlier
    std::string lyricsFile;  // the lyrics file the lines were read from (UTF-8 path); empty for a tag
    TextEncoding encoding = TextEncoding::kAnsi;  // what the lyrics file was read as
    uint32_t ansiCodePage = 0;                    // for kAnsi: the code page it was read in
    std::string tagField;                         // lyrics from a song's tags: the field they came from ("USLT", ...)
    // Lyrics text from a song's tags (a text field, or the Lyrics3 tag), UTF-8, as it was parsed;
    // for synchronised lyrics, the LRC text that reads as their lines (syncedLyricsText). What a
    // saved timing writes into the song's copy in the download folder. Empty otherwise.
    std::string sourceText;
    // Lyrics from a song's tags: the path of the song's copy in the download folder, where a saved
    // timing goes (empty: there is none to make).
    std::string downloadCopy;
};
