#include "lyrics/LyricsParser.h"

#include <algorithm>
#include <queue>
#include <string_view>
#include <utility>
#include <vector>

#include "lyrics/HeaderLine.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/TimeTags.h"

namespace {

constexpr int32_t kLastLineHold = 300;  // the last line ends three seconds after its last mark

// Calls visit(line, lineNumber) for every line of the text. CR LF, a lone CR, a lone LF and a
// single zero byte each end a line; two zero bytes in a row end the text, as does the size limit.
template <typename Visit>
void forEachLine(const char* text, size_t size, Visit visit) {
    size = std::min(size, kMaxLyricsBytes);
    int32_t lineNumber = 1;
    size_t start = 0;
    for (size_t i = 0; i < size;) {
        char c = text[i];
        if (c != '\r' && c != '\n' && c != '\0') {
            ++i;
            continue;
        }
        visit(std::string_view(text + start, i - start), lineNumber++);
        if (c == '\0' && (i + 1 == size || text[i + 1] == '\0')) return;
        i += (c == '\r' && i + 1 < size && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < size) visit(std::string_view(text + start, size - start), lineNumber);
}

int32_t addClamped(int32_t a, int32_t b) {
    int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// Builds the display lines from the lyrics lines, one source line at a time.
class LineReader {
public:
    LineReader(LyricsDocument& document, LyricsWarnings& warnings) : document(document), warnings(warnings) {}

    void read(std::string_view line, int32_t lineNumber) {
        int32_t tagStarts = countTagStarts(line);
        if (tagStarts > 0) {
            readLyricsLine(line, lineNumber, tagStarts);
        } else if (!line.empty() && line[0] == '@') {
            applyHeader(document, splitHeader(line));
        }
    }

    // 1 when the first display line has marks; otherwise drops every line.
    int finish() {
        if (document.lines.empty() || document.lines.front().marks.empty()) {
            document.lines.clear();
            return 0;
        }
        return 1;
    }

private:
    void readLyricsLine(std::string_view line, int32_t lineNumber, int32_t tagStarts) {
        scanLyricsLine(line, scanned);
        for (int32_t offset : scanned.malformedOffsets) warnings.malformedTag(lineNumber, offset);
        if (scanned.text.empty()) {
            closeLastLine();
            return;
        }
        // The first line with text becomes the first display line even without marks (and then
        // the whole text counts as unusable). A later one without marks could never be shown
        // or timed, so it is left out.
        if (scanned.marks.empty() && !document.lines.empty()) return;
        int32_t karaoke = tagStarts >= 3;
        if (scanned.firstTag == kShortTag && scanned.marks.size() >= 2) {
            // A repeated line: the same text once for every tag, each copy timed by one tag.
            for (size_t k = 0; k < scanned.marks.size(); ++k)
                appendLine(scanned.text, {scanned.marks[k]}, k == 0 ? karaoke : 0);
        } else {
            appendLine(scanned.text, std::move(scanned.marks), karaoke);
        }
    }

    // A line of only tags gives the end time of the previous line's last stretch, unless that
    // line already ends with a mark at its end.
    void closeLastLine() {
        if (scanned.marks.empty() || document.lines.empty() || document.lines.back().marks.empty()) return;
        LyricsLine& last = document.lines.back();
        if (last.marks.back().offset >= last.length) return;
        scanned.marks.front().offset = last.length;
        last.marks.insert(last.marks.end(), scanned.marks.begin(), scanned.marks.end());
    }

    void appendLine(const std::string& text, std::vector<TimeMark> marks, int32_t karaoke) {
        LyricsLine& line = document.lines.emplace_back();
        line.text = text;
        line.length = static_cast<int32_t>(text.size());
        line.isKaraoke = karaoke;
        line.marks = std::move(marks);
    }

    LyricsDocument& document;
    LyricsWarnings& warnings;
    ScannedLine scanned;
};

}  // namespace

int parseLyrics(LyricsDocument& document, const char* text, size_t size, int32_t timeType,
                LyricsWarnings& warnings) {
    LineReader reader(document, warnings);
    forEachLine(text, size, [&](std::string_view line, int32_t lineNumber) { reader.read(line, lineNumber); });
    if (!reader.finish()) return 0;
    completeLines(document, timeType);
    orderLines(document, timeType);
    return 1;
}

void completeLines(LyricsDocument& document, int32_t timeType) {
    std::vector<LyricsLine>& lines = document.lines;
    size_t count = std::min(lines.size(), static_cast<size_t>(kLastCompletedIndex) + 1);
    for (size_t n = 0; n < count; ++n) {
        std::vector<TimeMark>& marks = lines[n].marks;
        if (marks.front().offset > 0) {
            int32_t start = n == 0 ? 0 : document.displayTime(lines[n - 1].marks.back(), timeType);
            marks.insert(marks.begin(), TimeMark{0, start});
        }
        if (marks.back().offset != lines[n].length) {
            int32_t end = n + 1 < lines.size() ? document.displayTime(lines[n + 1].marks.front(), timeType)
                                               : addClamped(document.displayTime(marks.back(), timeType), kLastLineHold);
            marks.push_back(TimeMark{lines[n].length, end});
        }
    }
}

void orderLines(LyricsDocument& document, int32_t timeType) {
    std::vector<LyricsLine>& lines = document.lines;
    // Pairs up to index 9998 / 9999 are compared, so the first 10000 lines take part.
    size_t count = std::min(lines.size(), static_cast<size_t>(kLastCompletedIndex) + 2);
    std::vector<std::pair<int32_t, size_t>> keys(count);
    for (size_t i = 0; i < count; ++i) keys[i] = {document.displayTime(lines[i].marks.front(), timeType), i};
    if (std::is_sorted(keys.begin(), keys.end())) return;
    // After p passes of adjacent exchange, place i holds the earliest line among those in places
    // 0 to i + p that no earlier place took: each line moves forward by at most one place a pass.
    // Ties go to the earlier line, as exchange never swaps equal times.
    std::priority_queue<std::pair<int32_t, size_t>, std::vector<std::pair<int32_t, size_t>>, std::greater<>> window;
    size_t next = 0;
    std::vector<LyricsLine> ordered;
    ordered.reserve(lines.size());
    for (size_t place = 0; place < count; ++place) {
        while (next < count && next <= place + kOrderingPasses) window.push(keys[next++]);
        ordered.push_back(std::move(lines[window.top().second]));
        window.pop();
    }
    for (size_t i = count; i < lines.size(); ++i) ordered.push_back(std::move(lines[i]));
    lines = std::move(ordered);
}
