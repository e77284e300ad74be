#include "lyrics/LyricsParser.h"

#include <algorithm>
#include <queue>
#include <string_view>
#include <utility>
#include <vector>

#include "lyrics/HeaderLine.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/TimeTags.h"
#include "utils/Utf.h"

namespace {

// Calls visit(line, lineNumber) for every line of the text. CR LF, a lone CR, a lone LF and a
// single zero byte each end a line; two zero bytes in a row end the text, as does the size limit
// (between two characters).
template <typename Visit>
void forEachLine(const char* text, size_t size, Visit visit) {
    if (size > kMaxLyricsTextBytes) size = utf8PrefixWithin(std::string_view(text, size), kMaxLyricsTextBytes);
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

// A tag time moved earlier by offsetMs milliseconds, rounded down to hundredths. A time moved
// before the song's start is shown at the start; one moved past the latest a tag can write stays
// there, so that every conversion of it stays within 32 bits.
int32_t shiftedTime(int32_t time, int32_t offsetMs) {
    int64_t ms = static_cast<int64_t>(time) * 10 - offsetMs;
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(ms, 0) / 10, kMaxTagTime));
}

int32_t addClamped(int32_t a, int32_t b) {
    int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// The times of the square-bracket tags before the line's text: when the whole line is sung (once
// for each of them). Word marks, and tags inside or after the text, are not among them.
std::vector<int32_t> lineTagTimes(const ScannedLine& scanned) {
    std::vector<int32_t> times;
    for (size_t k = 0; k < scanned.marks.size() && scanned.marks[k].offset == 0 && scanned.sources[k] != kAngleTag; ++k)
        times.push_back(scanned.marks[k].time);
    return times;
}

// Builds the display lines from the lyrics lines, one source line at a time.
class LineReader {
public:
    LineReader(LyricsDocument& document, LyricsWarnings& warnings) : document(document), warnings(warnings) {}

    void read(std::string_view line, int32_t lineNumber) {
        switch (lineKind(line)) {
        case LineKind::kLyrics: readLyricsLine(line, lineNumber, countTagStarts(line)); break;
        case LineKind::kHeader: applyHeader(document, splitHeader(line)); break;
        case LineKind::kOther: applyIdTag(document, line); break;
        }
    }

    // The display lines made from repeated lines in LRC form (with a full-stop tag among the
    // repeating ones), by index.
    const std::vector<size_t>& lrcRepeatCopies() const { return lrcCopies; }

    // 1 when the first display line has marks; otherwise drops every line. Applies the offset.
    int finish() {
        if (document.lines.empty() || document.lines.front().marks.empty()) {
            document.lines.clear();
            return 0;
        }
        if (document.offsetMs != 0) {
            for (LyricsLine& line : document.lines)
                for (TimeMark& mark : line.marks) mark.time = shiftedTime(mark.time, document.offsetMs);
        }
        return 1;
    }

private:
    void readLyricsLine(std::string_view line, int32_t lineNumber, int32_t tagStarts) {
        scanLyricsLine(line, scanned);
        for (int32_t offset : scanned.malformedOffsets)
            warnings.malformedTag(lineNumber,
                                  static_cast<int32_t>(codePointsBefore(line, static_cast<size_t>(offset))));
        std::vector<int32_t> times = lineTagTimes(scanned);
        if (scanned.text.empty()) {
            lastLineTimes.clear();
            if (std::count(scanned.sources.begin(), scanned.sources.end(), kFullStopTag)) {
                endLinesAtBlank();
            } else {
                closeLastLine();
            }
            return;
        }
        // A line at the very times of the line before it, timed by those tags alone, is that
        // line's translation: bilingual files write each line twice at the same time.
        if (!lastLineTimes.empty() && times == lastLineTimes && times.size() == scanned.marks.size()) {
            addTranslation(scanned.text);
            return;
        }
        lastLineTimes = times;
        // The first line with text becomes the first display line even without marks (and then
        // the whole text counts as unusable). A later one without marks could never be shown
        // or timed, so it is left out.
        if (scanned.marks.empty() && !document.lines.empty()) return;
        int32_t angleTags = static_cast<int32_t>(std::count(scanned.sources.begin(), scanned.sources.end(), kAngleTag));
        int32_t karaoke = tagStarts + angleTags >= 3;
        std::vector<int> repeats = repeatingMarks();
        linesOfLastSource = document.lines.size();
        if (repeats.empty()) {
            appendLine(scanned.text, std::move(scanned.marks), karaoke);
        } else {
            appendCopies(repeats, karaoke);
        }
    }

    // A repeated line: the same text once for every repeating tag, each copy timed by one of them
    // (the line begins with the first). Any other marks (word timing) time the first copy.
    void appendCopies(const std::vector<int>& repeats, int32_t karaoke) {
        std::vector<TimeMark> first;
        for (size_t k = 0; k < scanned.marks.size(); ++k)
            if (k == 0 || !repeats[k]) first.push_back(scanned.marks[k]);
        appendLine(scanned.text, std::move(first), karaoke);
        for (size_t k = 1; k < scanned.marks.size(); ++k)
            if (repeats[k]) appendLine(scanned.text, {scanned.marks[k]}, 0);
        int lrcForm = 0;
        for (size_t k = 0; k < repeats.size(); ++k) lrcForm |= repeats[k] && scanned.sources[k] == kFullStopTag;
        for (size_t n = linesOfLastSource; lrcForm && n < document.lines.size(); ++n) lrcCopies.push_back(n);
    }

    // Which marks make copies of a repeated line; empty when the line is none. A line that
    // begins with a short tag repeats once for every square-bracket tag. A line whose full-stop
    // tags stand together at its start, two or more of them, repeats once for every tag there.
    // Angle tags never repeat a line.
    std::vector<int> repeatingMarks() const {
        const std::vector<MarkSource>& sources = scanned.sources;
        size_t bracketTags = sources.size() - std::count(sources.begin(), sources.end(), kAngleTag);
        size_t fullStopTags = std::count(sources.begin(), sources.end(), kFullStopTag);
        int fullStopsLead = 1;
        for (size_t k = 0; k < sources.size(); ++k)
            if (sources[k] == kFullStopTag && scanned.marks[k].offset != 0) fullStopsLead = 0;
        int shortFirst = scanned.firstTag == kShortTag && bracketTags >= 2;
        int fullStopFirst =
            (scanned.firstTag == kCentiTag || scanned.firstTag == kMilliTag) && fullStopTags >= 2 && fullStopsLead;
        if (!shortFirst && !fullStopFirst) return {};
        std::vector<int> repeats(sources.size());
        for (size_t k = 0; k < sources.size(); ++k)
            repeats[k] = sources[k] != kAngleTag && (shortFirst || scanned.marks[k].offset == 0);
        return repeats;
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

    // A line of only tags in LRC form is a blank: at each of its times the display goes blank.
    // Each tag ends the line, among those made from the last lyrics line, that starts latest at
    // or before its time, unless that line already ends with a mark at its end. So a blank after
    // a repeated line ends the copy it follows, not whichever copy comes last in the file.
    void endLinesAtBlank() {
        for (const TimeMark& blank : scanned.marks) {
            LyricsLine* latest = nullptr;
            for (size_t n = linesOfLastSource; n < document.lines.size(); ++n) {
                LyricsLine& line = document.lines[n];
                if (line.marks.empty()) continue;  // a first line without tags: the text is unusable
                int32_t start = line.marks.front().time;
                if (start <= blank.time && (!latest || start > latest->marks.front().time)) latest = &line;
            }
            if (latest && latest->marks.back().offset < latest->length)
                latest->marks.push_back({latest->length, blank.time});
        }
    }

    // Every display line made from the last lyrics line takes the text as its first translation,
    // or else its second; a third is left out.
    void addTranslation(const std::string& text) {
        for (size_t n = linesOfLastSource; n < document.lines.size(); ++n) {
            LyricsLine& line = document.lines[n];
            std::string& slot = line.translation.empty() ? line.translation : line.secondTranslation;
            if (slot.empty()) slot = text;
        }
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
    size_t linesOfLastSource = 0;  // the first display line made from the last lyrics line with text
    // The line tags of the last lyrics line, when it had text; empty after a line of only tags.
    std::vector<int32_t> lastLineTimes;
    std::vector<size_t> lrcCopies;
};

// LRC players show each copy of a repeated line until the next line in time begins; completion
// in file order would end a copy where the line after it in the file begins, often before the
// copy's own start, and the copy would never be shown. These copies therefore get their end mark
// first: the start of the next line in time, or for the latest line three seconds after its last
// mark. Like completion's marks, it holds a converted time.
void endCopiesInTimeOrder(LyricsDocument& document, const std::vector<size_t>& copies, int32_t timeType) {
    if (copies.empty()) return;
    std::vector<LyricsLine>& lines = document.lines;
    size_t count = std::min(lines.size(), static_cast<size_t>(kLastCompletedIndex) + 1);
    std::vector<int32_t> starts;
    for (size_t n = 0; n < count; ++n) starts.push_back(document.displayTime(lines[n].marks.front(), timeType));
    std::sort(starts.begin(), starts.end());
    for (size_t n : copies) {
        if (n >= count || lines[n].marks.back().offset == lines[n].length) continue;
        auto next =
            std::upper_bound(starts.begin(), starts.end(), document.displayTime(lines[n].marks.front(), timeType));
        int32_t end = next != starts.end()
                          ? *next
                          : addClamped(document.displayTime(lines[n].marks.back(), timeType), kLastLineHold);
        lines[n].marks.push_back({lines[n].length, end});
    }
}

}  // namespace

LineKind lineKind(std::string_view line) {
    if (countTagStarts(line) > 0) return LineKind::kLyrics;
    if (!line.empty() && line[0] == '@') return LineKind::kHeader;
    return LineKind::kOther;
}

int parseLyrics(LyricsDocument& document, const char* text, size_t size, int32_t timeType, LyricsWarnings& warnings) {
    LineReader reader(document, warnings);
    forEachLine(text, size, [&](std::string_view line, int32_t lineNumber) { reader.read(line, lineNumber); });
    if (!reader.finish()) return 0;
    endCopiesInTimeOrder(document, reader.lrcRepeatCopies(), timeType);
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
            int32_t end = n + 1 < lines.size()
                              ? document.displayTime(lines[n + 1].marks.front(), timeType)
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
