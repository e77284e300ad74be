#include "lyrics/TimeTags.h"

namespace {

int isDigit(char c) { return c >= '0' && c <= '9'; }

int32_t twoDigits(std::string_view line, size_t i) { return (line[i] - '0') * 10 + (line[i + 1] - '0'); }

int32_t byteMinusZero(char c) { return static_cast<int32_t>(static_cast<unsigned char>(c)) - '0'; }

}  // namespace

int isTagStart(std::string_view line, size_t i) {
    return i + 4 <= line.size() && line[i] == '[' && isDigit(line[i + 1]) && isDigit(line[i + 2]) &&
           line[i + 3] == ':';
}

int32_t countTagStarts(std::string_view line) {
    int32_t count = 0;
    for (size_t i = 0; i + 4 <= line.size(); ++i)
        if (line[i] == '[') count += isTagStart(line, i);
    return count;
}

TagKind classifyTag(std::string_view line, size_t i, int* malformed) {
    *malformed = 0;
    if (!isTagStart(line, i) || i + 6 > line.size() || !isDigit(line[i + 4]) || !isDigit(line[i + 5]))
        return kNotTag;
    if (i + 6 < line.size() && line[i + 6] == ']') return kShortTag;
    if (i + 9 < line.size() && line[i + 6] == ':' && line[i + 9] == ']') return kLongTag;
    *malformed = 1;
    return kNotTag;
}

int32_t tagTime(std::string_view line, size_t i, TagKind kind) {
    int32_t time = (twoDigits(line, i + 1) * 60 + twoDigits(line, i + 4)) * 100;
    if (kind == kLongTag) time += byteMinusZero(line[i + 7]) * 10 + byteMinusZero(line[i + 8]);
    return time;
}

void scanLyricsLine(std::string_view line, ScannedLine& scanned) {
    scanned.text.clear();
    scanned.marks.clear();
    scanned.malformedOffsets.clear();
    scanned.firstTag = kNotTag;
    // Mark offsets count the bytes outside tags. The text drops a tag only up to its first "]":
    // a long tag with a "]" among its hundredths bytes leaves the bytes after that "]" in the
    // text, uncounted, so that offsets never run past the text.
    int32_t counted = 0;
    size_t i = 0;
    while (i < line.size()) {
        int malformed = 0;
        TagKind kind = line[i] == '[' ? classifyTag(line, i, &malformed) : kNotTag;
        if (i == 0) scanned.firstTag = kind;
        if (kind == kNotTag) {
            if (malformed) scanned.malformedOffsets.push_back(static_cast<int32_t>(i));
            scanned.text += line[i];
            ++counted;
            ++i;
            continue;
        }
        size_t length = kind == kShortTag ? kShortTagLength : kLongTagLength;
        scanned.marks.push_back({counted, tagTime(line, i, kind)});
        size_t close = line.find(']', i + 1);
        scanned.text.append(line.substr(close + 1, i + length - (close + 1)));
        i += length;
    }
}
