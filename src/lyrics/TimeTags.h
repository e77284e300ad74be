#pragma once
// Time tags inside one lyrics line, valued in hundredths of a second. In square brackets:
// "[MM:SS]" (short), "[MM:SS:CC]" (long), and the forms LRC files use, "[MM:SS.CC]" and
// "[MM:SS.mmm]" (full stop; milliseconds are rounded down to hundredths). In angle brackets, the
// word timing of enhanced LRC: "<MM:SS.CC>" and "<MM:SS.mmm>". A line is a byte range without its
// line end; a tag lies wholly inside its line, and nothing past the line's end is ever read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/LyricsDocument.h"

enum TagKind : int32_t {
    kNotTag = -1,
    kShortTag = 1,
    kLongTag = 2,
    kCentiTag = 3,  // full stop, two fraction digits
    kMilliTag = 4,  // full stop, three fraction digits
};

// The largest time a tag can hold: "[99:99:" followed by two bytes of value 255.
constexpr int32_t kMaxTagTime = (99 * 60 + 99) * 100 + (255 - '0') * 11;

// 1 when "[", digit, digit, ":" stand at position i.
int isTagStart(std::string_view line, size_t i);
int32_t countTagStarts(std::string_view line);

// What the "[" at position i opens. A text that starts like a tag ("[dd:dd") but ends in no
// form is kNotTag with *malformed set to 1; any other non-tag leaves *malformed 0.
TagKind classifyTag(std::string_view line, size_t i, int* malformed);
// What the "<" at position i opens: kCentiTag, kMilliTag or, silently, kNotTag.
TagKind classifyAngleTag(std::string_view line, size_t i);
size_t tagLength(TagKind kind);

// The value of the well-formed tag of either bracket at position i. The two hundredths bytes of
// a long tag are not checked: each contributes its byte value minus that of "0".
int32_t tagTime(std::string_view line, size_t i, TagKind kind);

enum MarkSource : int32_t {
    kColonTag,     // "[MM:SS]" or "[MM:SS:CC]"
    kFullStopTag,  // "[MM:SS.CC]" or "[MM:SS.mmm]"
    kAngleTag,     // "<MM:SS.CC>" or "<MM:SS.mmm>"
};

// One lyrics line taken apart: its text without the well-formed tags, the marks those tags set
// (each at the text position where its stretch begins) and where malformed tags stand.
struct ScannedLine {
    std::string text;
    std::vector<TimeMark> marks;
    std::vector<MarkSource> sources;        // which kind of tag set each mark
    std::vector<int32_t> malformedOffsets;  // byte offsets of the "[" of malformed tags in the line
    TagKind firstTag = kNotTag;             // the square-bracket tag the line begins with
};

void scanLyricsLine(std::string_view line, ScannedLine& scanned);
