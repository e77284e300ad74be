#include "lyrics/TimeTags.h"

#include "utils/Utf.h"

namespace {

int isDigit(char c) { return c >= '0' && c <= '9'; }

int digitsAt(std::string_view line, size_t i, size_t count) {
    for (size_t k = 0; k < count; ++k)
        if (!isDigit(line[i + k])) return 0;
    return 1;
}

int32_t twoDigits(std::string_view line, size_t i) { return (line[i] - '0') * 10 + (line[i + 1] - '0'); }

int32_t byteMinusZero(char c) { return static_cast<int32_t>(static_cast<unsigned char>(c)) - '0'; }

// "MM:SS" after the opening bracket at i: two digits, a colon, two digits.
int hasMinutesAndSeconds(std::string_view line, size_t i) {
    return i + 6 <= line.size() && isDigit(line[i + 1]) && isDigit(line[i + 2]) && line[i + 3] == ':' &&
           isDigit(line[i + 4]) && isDigit(line[i + 5]);
}

// The full-stop forms after "MM:SS": ".CC" or ".mmm", then the closing bracket.
TagKind fullStopForm(std::string_view line, size_t i, char close) {
    if (i + 7 > line.size() || line[i + 6] != '.') return kNotTag;
    if (i + 10 <= line.size() && digitsAt(line, i + 7, 2) && line[i + 9] == close) return kCentiTag;
    if (i + 11 <= line.size() && digitsAt(line, i + 7, 3) && line[i + 10] == close) return kMilliTag;
    return kNotTag;
}

}  // namespace

int isTagStart(std::string_view line, size_t i) {
    return i + 4 <= line.size() && line[i] == '[' && isDigit(line[i + 1]) && isDigit(line[i + 2]) && line[i + 3] == ':';
}

int32_t countTagStarts(std::string_view line) {
    int32_t count = 0;
    for (size_t i = 0; i + 4 <= line.size(); ++i)
        if (line[i] == '[') count += isTagStart(line, i);
    return count;
}

TagKind classifyTag(std::string_view line, size_t i, int* malformed) {
    *malformed = 0;
    if (line[i] != '[' || !hasMinutesAndSeconds(line, i)) return kNotTag;
    if (i + 6 < line.size() && line[i + 6] == ']') return kShortTag;
    if (i + 9 < line.size() && line[i + 6] == ':' && line[i + 9] == ']') return kLongTag;
    TagKind fullStop = fullStopForm(line, i, ']');
    if (fullStop == kNotTag) *malformed = 1;
    return fullStop;
}

TagKind classifyAngleTag(std::string_view line, size_t i) {
    if (line[i] != '<' || !hasMinutesAndSeconds(line, i)) return kNotTag;
    return fullStopForm(line, i, '>');
}

size_t tagLength(TagKind kind) {
    switch (kind) {
    case kShortTag: return 7;
    case kLongTag:
    case kCentiTag: return 10;
    case kMilliTag: return 11;
    default: return 0;
    }
}

int32_t tagTime(std::string_view line, size_t i, TagKind kind) {
    int32_t time = (twoDigits(line, i + 1) * 60 + twoDigits(line, i + 4)) * 100;
    if (kind == kLongTag) time += byteMinusZero(line[i + 7]) * 10 + byteMinusZero(line[i + 8]);
    // Of milliseconds, the third digit is below a hundredth.
    if (kind == kCentiTag || kind == kMilliTag) time += twoDigits(line, i + 7);
    return time;
}

void scanLyricsLine(std::string_view line, ScannedLine& scanned) {
    scanned.text.clear();
    scanned.marks.clear();
    scanned.sources.clear();
    scanned.malformedOffsets.clear();
    scanned.firstTag = kNotTag;
    // Mark offsets count the bytes outside tags. The text drops a tag only up to its first "]":
    // a long tag with a "]" among its hundredths bytes leaves the bytes after that "]" in the
    // text, uncounted, so that offsets never run past the text.
    int32_t counted = 0;
    size_t i = 0;
    while (i < line.size()) {
        int malformed = 0;
        TagKind kind = kNotTag;
        MarkSource source = kAngleTag;
        if (line[i] == '[') {
            kind = classifyTag(line, i, &malformed);
            source = kind == kShortTag || kind == kLongTag ? kColonTag : kFullStopTag;
        } else if (line[i] == '<') {
            kind = classifyAngleTag(line, i);
        }
        if (i == 0 && line[0] == '[') scanned.firstTag = kind;
        if (kind == kNotTag) {
            if (malformed) scanned.malformedOffsets.push_back(static_cast<int32_t>(i));
            scanned.text += line[i];
            ++counted;
            ++i;
            continue;
        }
        size_t length = tagLength(kind);
        scanned.marks.push_back({counted, tagTime(line, i, kind)});
        scanned.sources.push_back(source);
        if (kind == kLongTag) {
            size_t close = line.find(']', i + 1);
            scanned.text.append(line.substr(close + 1, i + length - (close + 1)));
        }
        i += length;
    }
    // Those uncounted bytes can leave a later mark inside a character: it then marks the
    // character it lies in.
    for (TimeMark& mark : scanned.marks)
        mark.offset = static_cast<int32_t>(utf8CharacterStart(scanned.text, static_cast<size_t>(mark.offset)));
}
