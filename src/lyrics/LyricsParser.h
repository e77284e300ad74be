#pragma once
// The lyrics text syntax: lines with time tags become display lines with time marks, "@" lines
// and LRC ID tags ("[ti:...]") set header fields, every other line is ignored. Besides the
// original tags, the LRC forms are read: full-stop tags, enhanced-LRC word timing in angle
// brackets, an "[offset:]" applied to every time, and the translations of bilingual files: a line
// whose tags before its text are those of the lyrics line before it, with no other tag, is that
// line's translation (the first two are kept), not a line of its own. A pure function from text to
// the document.
#include <cstddef>
#include <cstdint>
#include <string_view>

class LyricsDocument;

// A lyrics file in the ANSI code page, and the lyrics field of a song's tag, are read this far.
constexpr size_t kMaxLyricsBytes = 50000;
// The most characters a lyrics text holds: a Unicode file is cut here, between two characters.
// (An ANSI text, of kMaxLyricsBytes at most, never has more.)
constexpr size_t kMaxLyricsCharacters = 50000;
// The most UTF-8 bytes a lyrics text can take (four for each character); the parser reads no more.
constexpr size_t kMaxLyricsTextBytes = 4 * kMaxLyricsCharacters;
// Lines from this index on are neither completed nor ordered: the display never reaches them.
constexpr int32_t kLastCompletedIndex = 9998;
// Ordering lets a line move toward the front by at most this many places.
constexpr int32_t kOrderingPasses = 1000;
// The last line ends this long (three seconds) after its last mark, when nothing else ends it.
constexpr int32_t kLastLineHold = 300;

class LyricsWarnings {
public:
    virtual ~LyricsWarnings() = default;
    // A text that starts like a time tag but is none, at a character offset (in code points) of a
    // (1-based) source line. Parsing goes on with it as text.
    virtual void malformedTag(int32_t lineNumber, int32_t offset) = 0;
};

// How the parser takes a line (UTF-8, without its line end).
enum class LineKind : int32_t {
    kLyrics,  // holds a tag start: display lines with time marks
    kHeader,  // begins with "@": an "@" header line
    kOther,   // anything else: an ID tag ("[ti:...]", "[offset:...]") or a line that is ignored
};
LineKind lineKind(std::string_view line);

// Fills the document, which reset has just emptied, from UTF-8 text: size bytes at most, ending
// earlier at two zero bytes in a row, and never more than kMaxLyricsTextBytes. The syntax is all
// ASCII, which no byte of a UTF-8 sequence can be mistaken for. Returns 0 when the first display
// line has no time mark (then no line is kept; header fields read so far stay), 1 otherwise.
// Tag times are moved by the document's offsetMs as the "[offset:]" tag set it.
// Added start and end marks hold times already converted with timeType.
int parseLyrics(LyricsDocument& document, const char* text, size_t size, int32_t timeType, LyricsWarnings& warnings);

// Gives every line a mark at offset 0 and one at its end, taking the missing times from the
// neighbouring lines in their present order (the last line ends three seconds after its last mark).
void completeLines(LyricsDocument& document, int32_t timeType);

// Puts the lines in ascending order of their start times, ties in their present order, with the
// result of kOrderingPasses passes of adjacent exchange: a line further than that behind its place
// in time order moves forward by kOrderingPasses places only.
void orderLines(LyricsDocument& document, int32_t timeType);
