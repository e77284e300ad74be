#include "lyrics/SyncedLyrics.h"

#include <algorithm>
#include <cstdio>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/TimeTags.h"
#include "utils/Utf.h"

namespace {

int isLineBreak(char c) { return c == '\r' || c == '\n'; }

// An entry's text without the line breaks at either end, each break inside it a space (CR LF
// counts as one), and whether it began or ended with a break.
struct EntryText {
    std::string text;
    int beginsLine = 0;
    int endsLine = 0;
};

EntryText entryText(const std::string& raw) {
    EntryText entry;
    size_t begin = 0, end = raw.size();
    while (begin < end && isLineBreak(raw[begin])) ++begin;
    while (end > begin && isLineBreak(raw[end - 1])) --end;
    entry.beginsLine = begin > 0;
    entry.endsLine = end < raw.size();
    for (size_t i = begin; i < end; ++i) {
        if (!isLineBreak(raw[i])) {
            entry.text += raw[i];
        } else if (!(raw[i] == '\r' && raw[i + 1] == '\n')) {  // i + 1 < end: the text ends in no break
            entry.text += ' ';
        }
    }
    return entry;
}

// The latest time a full-stop tag can write: "[99:99.99]".
constexpr int32_t kMaxWrittenTime = 99 * 6000 + 9999;
// Characters a lyrics text leaves for the offset tag a save adds, "[offset:+600000]" and its line end.
constexpr size_t kRoomForOffsetTag = 20;

// The display lines of the entries before completion: each line's marks where its entries begin,
// and where an entry without text ends it.
std::vector<LyricsLine> syncedLines(const std::vector<SyncedText>& entries) {
    // Entries in time order (a frame out of order is taken as meant), so that every line ends
    // where the next one in time begins.
    std::vector<SyncedText> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const SyncedText& a, const SyncedText& b) { return a.time < b.time; });
    std::vector<EntryText> texts;
    size_t bytes = 0;
    for (const SyncedText& entry : sorted) {
        texts.push_back(entryText(entry.text));
        bytes += texts.back().text.size();
        if (bytes > kMaxLyricsTextBytes) {
            texts.pop_back();
            break;
        }
    }
    int wordLevel = 0;
    for (size_t i = 0; i < texts.size(); ++i)
        wordLevel |= (i > 0 && texts[i].beginsLine) || (i + 1 < texts.size() && texts[i].endsLine);

    std::vector<LyricsLine> lines;
    int lineOpen = 0;  // the last line takes the next entry's text
    for (size_t i = 0; i < texts.size(); ++i) {
        const EntryText& entry = texts[i];
        int32_t time = std::clamp(sorted[i].time, 0, kMaxSyncedTime);
        if (entry.beginsLine || !wordLevel) lineOpen = 0;
        if (entry.text.empty()) {
            // A line that already ends with a mark keeps it.
            if (!lines.empty() && lines.back().marks.back().offset < lines.back().length)
                lines.back().marks.push_back({lines.back().length, time});
            lineOpen = 0;
            continue;
        }
        if (!lineOpen) lines.emplace_back();
        LyricsLine& line = lines.back();
        line.isKaraoke = lineOpen;
        line.marks.push_back({line.length, time});
        line.text += entry.text;
        line.length = static_cast<int32_t>(line.text.size());
        lineOpen = wordLevel && !entry.endsLine;
    }
    return lines;
}

// A time (up to kMaxWrittenTime) as a full-stop tag writes it, "mm:ss.xx": past 99 minutes the
// seconds run on past 59.
std::string tagTimeText(int32_t time) {
    int32_t minutes = std::min(time / 6000, 99);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d.%02d", minutes, (time - minutes * 6000) / 100, time % 100);
    return text;
}

// Whether a line's text reads back as itself between tags: no time tag of its own, no zero byte
// (which ends a line).
bool readsAsText(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0' || isTagStart(text, i)) return false;
        if (text[i] == '<' && classifyAngleTag(text, i) != kNotTag) return false;
    }
    return true;
}

// A line at the very time of the line before it, with no word marks of its own, is that line's
// translation (the first two are kept), as the lyrics syntax reads these lines once written out
// (syncedLyricsText): a timing saved from them then shows the same lines.
std::vector<LyricsLine> withTranslationsFolded(std::vector<LyricsLine> lines) {
    std::vector<LyricsLine> kept;
    for (LyricsLine& line : lines) {
        if (!kept.empty() && !line.isKaraoke && line.marks.size() == 1 &&
            line.marks[0].time == kept.back().marks.front().time) {
            LyricsLine& sung = kept.back();
            std::string& slot = sung.translation.empty() ? sung.translation : sung.secondTranslation;
            if (slot.empty()) slot = line.text;
            continue;
        }
        kept.push_back(std::move(line));
    }
    return kept;
}

}  // namespace

int32_t syncedTime(uint32_t stamp, SyncedTimeFormat format, int32_t frameSamples, int32_t sampleRate) {
    uint64_t hundredths =
        format == SyncedTimeFormat::kMpegFrames
            ? uint64_t{stamp} * static_cast<uint64_t>(frameSamples) * 100 / static_cast<uint64_t>(sampleRate)
            : stamp / 10;
    return static_cast<int32_t>(std::min<uint64_t>(hundredths, kMaxSyncedTime));
}

int32_t mpegFrameSamples(int32_t version, int32_t layer) {
    if (layer == 1) return 384;
    if (layer == 3 && version != 1) return 576;
    return 1152;
}

int buildSyncedLines(LyricsDocument& document, const std::vector<SyncedText>& entries, int32_t timeType) {
    document.lines = withTranslationsFolded(syncedLines(entries));
    if (document.lines.empty()) return 0;
    completeLines(document, timeType);
    return 1;
}

std::string syncedLyricsText(const std::vector<SyncedText>& entries) {
    std::string text;
    for (const LyricsLine& line : syncedLines(entries)) {
        if (!readsAsText(line.text)) return {};
        for (const TimeMark& mark : line.marks)
            if (mark.time > kMaxWrittenTime) return {};
        // A karaoke line repeats its start as its first word mark, as enhanced LRC writes it: its
        // tags then count as a karaoke line's, however few its words.
        text += "[" + tagTimeText(line.marks.front().time) + "]";
        size_t written = 0;
        for (size_t k = line.isKaraoke ? 0 : 1; k < line.marks.size(); ++k) {
            size_t offset = static_cast<size_t>(line.marks[k].offset);
            text.append(line.text, written, offset - written);
            written = offset;
            text += "<" + tagTimeText(line.marks[k].time) + ">";
        }
        text.append(line.text, written, std::string::npos);
        text += "\n";
    }
    if (codePointsBefore(text, text.size()) + kRoomForOffsetTag > kMaxLyricsCharacters) return {};
    return text;
}
