#pragma once
// Synchronised lyrics, as an ID3v2 SYLT frame holds them: texts each with the time it is sung
// from, either one per line or word by word. Pure functions from those entries to display lines.
#include <cstdint>
#include <string>
#include <vector>

class LyricsDocument;

// One entry: its time in hundredths of a second and its UTF-8 text.
struct SyncedText {
    int32_t time = 0;
    std::string text;
};

enum class SyncedTimeFormat : int32_t {
    kMpegFrames = 1,  // MPEG frames since the start of the stream
    kMilliseconds = 2,
};

// Entries later than this (a day) are held there: every time computed from them stays in 32 bits.
constexpr int32_t kMaxSyncedTime = 24 * 60 * 60 * 100;

// A time stamp in hundredths of a second, rounded down. MPEG frames are converted with the
// stream's frame length, frameSamples samples at sampleRate per second (both positive).
int32_t syncedTime(uint32_t stamp, SyncedTimeFormat format, int32_t frameSamples, int32_t sampleRate);

// The samples in one frame of an MPEG audio stream of a version (1; 2 for MPEG-2 and 2.5) and a
// layer (1 to 3).
int32_t mpegFrameSamples(int32_t version, int32_t layer);

// Fills the document, which reset has just emptied, with one display line per line of the
// entries, taken in time order. Without line breaks between them, each entry is a line of its own. Where an entry
// begins with a line break (or the one before it ends with one), the entries are word-level: an
// entry that does not begin with a line break continues the line, and its time marks where its
// text begins. A line break inside an entry becomes a space; an entry without text ends the line
// before it at its time. The lines are then completed as the text syntax's lines are; lines of two
// or more entries are karaoke lines. Text beyond kMaxLyricsTextBytes in
// all is left out. Returns 1 when there is a line, 0 otherwise (then no line is kept).
int buildSyncedLines(LyricsDocument& document, const std::vector<SyncedText>& entries, int32_t timeType);

// The entries as a lyrics text in LRC form that reads back as the lines buildSyncedLines makes of
// them, so that they can be kept as a file: a line "[mm:ss.xx]text" for each display line; in a
// karaoke line a word mark "<mm:ss.xx>" where each entry begins, the first repeating the line's
// start; where an entry without text ends a line, its time as a word mark at the line's end.
// Lines end in "\n". Empty when the text could not read back as the same lines: a time later than
// a tag can write (99:99.99), an entry whose text holds a time tag or a zero byte, or more
// characters than a lyrics file is read to (with room for an offset tag).
std::string syncedLyricsText(const std::vector<SyncedText>& entries);
