#include "lyrics/HeaderLine.h"

#include <charconv>
#include <cmath>
#include <string>

#include "lyrics/LyricsDocument.h"
#include "utils/Text.h"

namespace {

int isSeparator(char c) { return c == '\t' || c == ' ' || c == '='; }

int isDigit(char c) { return c >= '0' && c <= '9'; }

int isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t skipWhiteSpace(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isWhiteSpace(text[i])) ++i;
    return i;
}

size_t skipDigits(std::string_view text, size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

void assignValue(std::optional<std::string>& field, std::string_view value) { field = headerText(value); }

int isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view trimBlanks(std::string_view text) {
    size_t start = 0, end = text.size();
    while (start < end && (text[start] == ' ' || text[start] == '\t')) ++start;
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(start, end - start);
}

}  // namespace

HeaderLine splitHeader(std::string_view line) {
    size_t keywordEnd = 0;
    while (keywordEnd < line.size() && !isSeparator(line[keywordEnd])) ++keywordEnd;
    size_t valueStart = keywordEnd;
    while (valueStart < line.size() && isSeparator(line[valueStart])) ++valueStart;
    size_t valueEnd = line.find('\t', valueStart);
    if (valueEnd == std::string_view::npos) valueEnd = line.size();
    return {line.substr(0, keywordEnd), line.substr(valueStart, valueEnd - valueStart)};
}

int splitIdTag(std::string_view line, IdTag& tag) {
    line = trimBlanks(line);
    size_t colon = line.find(':');
    if (line.size() < 3 || line.front() != '[' || line.back() != ']' || colon == std::string_view::npos || colon < 2)
        return 0;
    for (size_t i = 1; i < colon; ++i)
        if (!isLetter(line[i])) return 0;
    tag.key = line.substr(1, colon - 1);
    tag.value = trimBlanks(line.substr(colon + 1, line.size() - colon - 2));
    return 1;
}

int offsetTagValue(const IdTag& tag, int32_t& offsetMs) {
    if (!sameText(std::string(tag.key).c_str(), "offset")) return 0;
    offsetMs = integerPrefix(tag.value);
    return 1;
}

int offsetIsNumber(const IdTag& tag) {
    std::string_view value = tag.value;
    size_t start = !value.empty() && (value[0] == '+' || value[0] == '-');
    size_t end = skipDigits(value, start);
    if (end == start) return 0;
    int64_t magnitude = 0;
    for (size_t i = start; i < end; ++i)
        if ((magnitude = magnitude * 10 + (value[i] - '0')) > int64_t{INT32_MAX} + 1) return 0;
    return magnitude <= INT32_MAX || value[0] == '-';
}

std::string idTagValue(std::string_view text) {
    std::string value;
    for (char c : text) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
        if (c == '[' || c == ']' || static_cast<unsigned char>(c) < 0x20) continue;
        value += c;
    }
    return std::string(trimBlanks(value));
}

int applyIdTag(LyricsDocument& document, std::string_view line) {
    IdTag tag;
    if (!splitIdTag(line, tag)) return 0;
    std::string key(tag.key);
    const char* k = key.c_str();
    if (sameText(k, "ti")) {
        assignValue(document.title, tag.value);
    } else if (sameText(k, "ar")) {
        assignValue(document.artist, tag.value);
    } else if (sameText(k, "al")) {
        assignValue(document.album, tag.value);
    } else if (sameText(k, "by")) {
        assignValue(document.taggingBy, tag.value);
    } else {
        offsetTagValue(tag, document.offsetMs);
    }
    return 1;
}

double decimalPrefix(std::string_view text) {
    size_t i = skipWhiteSpace(text);
    int negative = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    size_t numberStart = i;
    size_t end = skipDigits(text, i);
    int hasDigits = end > numberStart;
    if (end < text.size() && text[end] == '.') {
        size_t fractionEnd = skipDigits(text, end + 1);
        hasDigits |= fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits) return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && isDigit(text[e])) end = skipDigits(text, e);
    }
    double value = 0;
    std::from_chars(text.data() + numberStart, text.data() + end, value, std::chars_format::general);
    return negative ? -value : value;
}

int32_t integerPrefix(std::string_view text) {
    size_t i = skipWhiteSpace(text);
    int negative = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        if (value <= INT32_MAX) value = value * 10 + (text[i] - '0');
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int isUsableTimeRatio(double ratio) { return std::isfinite(ratio) && std::fabs(ratio) >= 0.1; }

void applyHeader(LyricsDocument& document, const HeaderLine& header) {
    std::string keyword(header.keyword);
    const char* k = keyword.c_str();
    if (sameText(k, "@Title")) {
        assignValue(document.title, header.value);
    } else if (sameText(k, "@Artist")) {
        assignValue(document.artist, header.value);
    } else if (sameText(k, "@Arbum")) {
        assignValue(document.album, header.value);
    } else if (sameText(k, "@Words")) {
        assignValue(document.words, header.value);
    } else if (sameText(k, "@Music")) {
        assignValue(document.music, header.value);
    } else if (sameText(k, "@TaggingBy") || sameText(k, "@KraBy")) {
        assignValue(document.taggingBy, header.value);
    } else if (sameText(k, "@TimeRatio")) {
        // A ratio of 0 (a missing number) would divide every time by zero, and a tiny one would
        // push times past 32 bits: such a line leaves the ratio as it was.
        double ratio = decimalPrefix(header.value);
        if (isUsableTimeRatio(ratio)) document.timeRatio = ratio;
    } else if (sameText(k, "@TotalSec")) {
        document.totalSec = integerPrefix(header.value);
    } else if (sameText(k, "@Flames")) {
        document.frames = integerPrefix(header.value);
    }
}
