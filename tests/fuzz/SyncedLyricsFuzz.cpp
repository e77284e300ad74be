// Synchronised lyrics entries of any times and texts to lines: no fault, the document's promises
// kept, every mark at a character boundary, no text beyond the limit, nothing but line breaks lost;
// and their LRC text, when there is one, parses into the same lines.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/SyncedLyrics.h"
#include "lyrics/TextEncoding.h"

namespace {

int isLineBreak(char c) { return c == '\r' || c == '\n'; }

// The text's characters other than line breaks and spaces, which the lines keep in time order.
std::string visible(const std::string& text) {
    std::string kept;
    for (char c : text)
        if (!isLineBreak(c) && c != ' ') kept += c;
    return kept;
}

// Whether every character of part comes in whole, in order, with others between.
bool isSubsequence(const std::string& part, const std::string& whole) {
    size_t at = 0;
    for (char c : part) {
        at = whole.find(c, at);
        if (at == std::string::npos) return false;
        ++at;
    }
    return true;
}

}  // namespace

// Input: a byte for the time base, then entries of a 3-byte time stamp, a length byte and that
// many bytes of text (made valid UTF-8, as the tag reader hands them on).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    int32_t timeType = data[0] & 1;
    std::vector<SyncedText> entries;
    for (size_t i = 1; i + 4 <= size;) {
        uint32_t stamp = data[i] | data[i + 1] << 8 | data[i + 2] << 16;
        size_t length = data[i + 3];
        i += 4;
        std::string raw(reinterpret_cast<const char*>(data + i), std::min(length, size - i));
        i += raw.size();
        // Frames of data[0]'s choosing, and milliseconds: both stay within a day.
        int32_t time = syncedTime(stamp, data[0] & 2 ? SyncedTimeFormat::kMpegFrames : SyncedTimeFormat::kMilliseconds,
                                  data[0] & 4 ? 576 : 1152, 8000 + (data[0] >> 3) * 1000);
        require(time >= 0 && time <= kMaxSyncedTime);
        entries.push_back({time, decodeUnicode(raw, TextEncoding::kUtf8, 255)});
    }

    LyricsDocument document;
    int result = buildSyncedLines(document, entries, timeType);
    std::string all;
    for (const SyncedText& entry : entries) all += visible(entry.text);
    if (!result) {
        require(document.lines.empty() && all.empty());
        return 0;
    }
    requireLoadedDocument(document, timeType);
    std::string shown;
    size_t bytes = 0;
    bool translationsMayBeLeftOut = false;  // a third at one time is, when two are kept
    for (const LyricsLine& line : document.lines) {
        require(isValidUtf8(line.text));
        for (const TimeMark& mark : line.marks)
            require(utf8CharacterStart(line.text, static_cast<size_t>(mark.offset)) ==
                    static_cast<size_t>(mark.offset));
        // A line at the time of the one before is its translation, read after it.
        shown += visible(line.text) + visible(line.translation) + visible(line.secondTranslation);
        bytes += line.text.size();
        translationsMayBeLeftOut |= !line.secondTranslation.empty();
    }
    require(bytes <= kMaxLyricsTextBytes);
    // Times are sorted stably, so the characters come in the order of the sorted entries.
    std::vector<SyncedText> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const SyncedText& a, const SyncedText& b) { return a.time < b.time; });
    std::string expected;
    for (const SyncedText& entry : sorted) expected += visible(entry.text);
    if (translationsMayBeLeftOut) {
        require(isSubsequence(shown, expected));
    } else {
        require(expected.compare(0, shown.size(), shown) == 0);
        if (all.size() + entries.size() < kMaxLyricsTextBytes) require(shown == expected);
    }

    std::string text = syncedLyricsText(entries);
    if (text.empty()) return 0;
    LyricsDocument reread;
    IgnoredWarnings warnings;
    require(parseLyrics(reread, text.data(), text.size(), timeType, warnings) == 1);
    require(reread.lines.size() == document.lines.size());
    for (size_t n = 0; n < reread.lines.size(); ++n) {
        const LyricsLine& built = document.lines[n];
        LyricsLine& line = reread.lines[n];
        // A karaoke line's first word mark repeats its start: a stretch of no characters.
        if (line.marks.size() > 1 && line.marks[1].offset == 0 && line.marks[1].time == line.marks[0].time)
            line.marks.erase(line.marks.begin());
        require(line.text == built.text && line.isKaraoke == built.isKaraoke &&
                line.marks.size() == built.marks.size());
        require(line.translation == built.translation && line.secondTranslation == built.secondTranslation);
        for (size_t k = 0; k < line.marks.size(); ++k)
            require(line.marks[k].offset == built.marks[k].offset && line.marks[k].time == built.marks[k].time);
    }
    return 0;
}
