#pragma once
// Time tags inside one lyrics line: "[MM:SS]" (short) and "[MM:SS:CC]" (long), valued in
// hundredths of a second. A line is a byte range without its line end; a tag lies wholly inside
// its line, and nothing past the line's end is ever read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/LyricsDocument.h"

enum TagKind : int32_t {
    kNotTag = -1,
    kShortTag = 1,
    kLongTag = 2,
};

constexpr size_t kShortTagLength = 7;
constexpr size_t kLongTagLength = 10;

// 1 when "[", digit, digit, ":" stand at position i.
int isTagStart(std::string_view line, size_t i);
int32_t countTagStarts(std::string_view line);

// What the "[" at position i opens. A text that starts like a tag ("[dd:dd") but ends in neither
// form is kNotTag with *malformed set to 1; any other non-tag leaves *malformed 0.
TagKind classifyTag(std::string_view line, size_t i, int* malformed);

// The value of the well-formed tag at position i. The two hundredths bytes of a long tag are
// not checked: each contributes its byte value minus that of "0".
int32_t tagTime(std::string_view line, size_t i, TagKind kind);

// One lyrics line taken apart: its text without the well-formed tags, the marks those tags set
// (each at the text position where its stretch begins) and where malformed tags stand.
struct ScannedLine {
    std::string text;
    std::vector<TimeMark> marks;
    std::vector<int32_t> malformedOffsets;  // byte offsets of the "[" of malformed tags in the line
    TagKind firstTag = kNotTag;             // what the line begins with
};

void scanLyricsLine(std::string_view line, ScannedLine& scanned);
