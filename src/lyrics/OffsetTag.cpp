#include "lyrics/OffsetTag.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "lyrics/HeaderLine.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/TextEncoding.h"
#include "utils/Utf.h"

namespace {

enum class LineEnd : int32_t {
    kNone,   // the file's last line, without a line end
    kBreak,  // CR LF, CR or LF
    kZero,   // a single zero character, which ends a line for the parser too
};

struct FileLine {
    size_t start = 0;  // the line's first byte
    size_t end = 0;    // one past its last byte, where its line end begins
    size_t next = 0;   // one past its line end
    LineEnd lineEnd = LineEnd::kNone;
    LineKind kind = LineKind::kOther;
    int isIdTag = 0;
    int isOffsetTag = 0;
    int32_t offsetMs = 0;    // an offset tag's value
    int offsetIsNumber = 0;  // the parser reads that value as the number it says
};

// One rewritten line: its bytes and the bytes of its line end, in the file's encoding.
struct OutputLine {
    std::string text;
    std::string lineEnd;
};

size_t byteOrderMarkLength(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::kUtf8Bom: return 3;
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be: return 2;
    default: return 0;
    }
}

int isUtf16(TextEncoding encoding) { return encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be; }

int isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return 0;
    return 1;
}

// A lyrics file's bytes taken apart into lines, as the loader decodes them and the parser splits
// them: CR LF, a lone CR, a lone LF and a single zero character end a line; two zero characters
// in a row end the text. Whatever follows the end of the text is never read, and is kept.
class LyricsFileLines {
public:
    LyricsFileLines(std::string_view bytes, LyricsEnvironment& environment)
        : bytes(bytes),
          environment(environment),
          encoding(detectEncoding(bytes, 0)),
          unitSize(isUtf16(encoding) ? 2 : 1) {
        split();
        for (FileLine& line : lines) classify(line);
    }

    int32_t offsetMs() const {
        int32_t offset = 0;
        for (const FileLine& line : lines)
            if (line.isOffsetTag) offset = line.offsetMs;
        return offset;
    }

    // The bytes with offsetMs as the offset: tag lines removed (at 0) or replaced, or a new one
    // where it belongs. Where the parser would then see other lines than those meant (a zero
    // character come to stand before another would end the text there, a CR before an LF would
    // join two line ends), tag lines are replaced in place instead, "[offset:0]" at 0, and a new
    // one goes first: that touches no neighbour. 0 when even that reads otherwise.
    int rewrite(int32_t offsetMs, std::string& rewritten) const {
        return build(offsetMs, 0, rewritten) || build(offsetMs, 1, rewritten);
    }

    TextEncoding fileEncoding() const { return encoding; }

    // Every offset tag the file holds reads as the number it says.
    int offsetsAreNumbers() const {
        for (const FileLine& line : lines)
            if (line.isOffsetTag && !line.offsetIsNumber) return 0;
        return 1;
    }

private:
    int build(int32_t offsetMs, int inPlace, std::string& rewritten) const {
        std::vector<OutputLine> output;
        int hadTag = 0;
        for (const FileLine& line : lines) {
            hadTag |= line.isOffsetTag;
            if (!line.isOffsetTag) {
                output.push_back({std::string(bytesOf(line.start, line.end)), std::string(lineEndOf(line))});
            } else if (offsetMs != 0 || inPlace) {
                output.push_back({encode(offsetTagLine(offsetMs)), std::string(lineEndOf(line))});
            } else if (line.lineEnd != LineEnd::kBreak) {
                // The file's last line (or one ended by a zero): the line before it ends as it did.
                if (!output.empty()) {
                    output.back().lineEnd = lineEndOf(line);
                } else if (line.lineEnd == LineEnd::kZero) {
                    output.push_back({"", std::string(lineEndOf(line))});
                }
            }
        }
        if (!hadTag && offsetMs != 0) insertTag(output, offsetMs, inPlace);
        // An empty last line without a line end is no line.
        if (!output.empty() && output.back().text.empty() && output.back().lineEnd.empty()) output.pop_back();
        std::string result(bytes.substr(0, byteOrderMarkLength(encoding)));
        for (const OutputLine& line : output) result += line.text + line.lineEnd;
        result += bytes.substr(textEnd);

        LyricsFileLines reread(result, environment);
        if (reread.lines.size() != output.size()) return 0;
        for (size_t n = 0; n < output.size(); ++n)
            if (reread.bytesOf(reread.lines[n].start, reread.lines[n].end) != output[n].text) return 0;
        rewritten = std::move(result);
        return 1;
    }

    // Mirrors the parser's line splitting, on the file's code units.
    void split() {
        size_t size = bytes.size();
        size_t bodyStart = std::min(byteOrderMarkLength(encoding), size);
        size_t unitsEnd = bodyStart + (size - bodyStart) / unitSize * unitSize;
        size_t start = bodyStart;
        for (size_t i = bodyStart; i < unitsEnd; i += unitSize) {
            uint32_t unit = unitAt(i);
            if (unit != '\r' && unit != '\n' && unit != 0) continue;
            size_t next = i + unitSize;
            if (unit == '\r' && next < unitsEnd && unitAt(next) == '\n') next += unitSize;
            lines.push_back({start, i, next, unit == 0 ? LineEnd::kZero : LineEnd::kBreak});
            if (unit == 0 && (next == size || (next < unitsEnd && unitAt(next) == 0))) {
                textEnd = next;
                return;
            }
            start = next;
            i = next - unitSize;
        }
        // Half a UTF-16 unit at the end belongs to the last line (it reads as U+FFFD).
        if (start < size) lines.push_back({start, size, size, LineEnd::kNone});
        textEnd = size;
    }

    void classify(FileLine& line) const {
        std::string text = decode(bytesOf(line.start, line.end));
        line.kind = lineKind(text);
        IdTag tag;
        line.isIdTag = line.kind == LineKind::kOther && splitIdTag(text, tag);
        line.isOffsetTag = line.isIdTag && offsetTagValue(tag, line.offsetMs);
        line.offsetIsNumber = line.isOffsetTag && offsetIsNumber(tag);
    }

    // The tag goes after the last header or ID tag before the first lyrics line, else first.
    void insertTag(std::vector<OutputLine>& output, int32_t offsetMs, int first) const {
        size_t after = 0;  // the index of that line plus one; 0 for none
        for (size_t n = 0; !first && n < lines.size() && lines[n].kind != LineKind::kLyrics; ++n)
            if (lines[n].kind == LineKind::kHeader || lines[n].isIdTag) after = n + 1;
        // Nothing can follow a last line cut inside a UTF-16 unit: the tag then goes first.
        if (after > 0 && (lines[after - 1].next - lines[after - 1].start) % unitSize != 0) after = 0;
        OutputLine tag{encode(offsetTagLine(offsetMs)), firstBreak()};
        if (after > 0 && lines[after - 1].lineEnd == LineEnd::kBreak) {
            // A new line ends like the one before it (a CR before an LF would make one line end).
            tag.lineEnd = output[after - 1].lineEnd;
        } else if (after > 0) {
            // After the last line, or one ended by a zero: the tag takes over that ending.
            std::swap(tag.lineEnd, output[after - 1].lineEnd);
        }
        output.insert(output.begin() + static_cast<std::ptrdiff_t>(after), tag);
    }

    // The file's first CR LF, CR or LF; CR LF when it has none.
    std::string firstBreak() const {
        for (const FileLine& line : lines)
            if (line.lineEnd == LineEnd::kBreak) return std::string(lineEndOf(line));
        return encode("\r\n");
    }

    uint32_t unitAt(size_t i) const {
        auto byte = [&](size_t k) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[k])); };
        if (encoding == TextEncoding::kUtf16Le) return byte(i) | byte(i + 1) << 8;
        if (encoding == TextEncoding::kUtf16Be) return byte(i) << 8 | byte(i + 1);
        return byte(i);
    }

    std::string_view bytesOf(size_t start, size_t end) const { return bytes.substr(start, end - start); }
    std::string_view lineEndOf(const FileLine& line) const { return bytesOf(line.end, line.next); }

    // A line as the loader decodes the whole file, line ends being characters of their own.
    std::string decode(std::string_view line) const {
        switch (encoding) {
        case TextEncoding::kAnsi: return environment.ansiToUtf8(line);
        case TextEncoding::kUtf16Le:
            return decodeUnicode("\xFF\xFE" + std::string(line), encoding, kMaxLyricsCharacters);
        case TextEncoding::kUtf16Be:
            return decodeUnicode("\xFE\xFF" + std::string(line), encoding, kMaxLyricsCharacters);
        default: return decodeUnicode(line, TextEncoding::kUtf8, kMaxLyricsCharacters);
        }
    }

    // ASCII text in the file's encoding.
    std::string encode(std::string_view ascii) const {
        if (!isUtf16(encoding)) return std::string(ascii);
        std::string units;
        for (char c : ascii) {
            units += encoding == TextEncoding::kUtf16Le ? c : '\0';
            units += encoding == TextEncoding::kUtf16Le ? '\0' : c;
        }
        return units;
    }

    std::string_view bytes;
    LyricsEnvironment& environment;
    TextEncoding encoding;
    size_t unitSize;
    std::vector<FileLine> lines;
    size_t textEnd = 0;  // where the text ends for the parser: the file's end, or at a second zero
};

class IgnoredWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

// The file loads with lines to show.
int holdsLyrics(std::string_view bytes, LyricsEnvironment& environment) {
    TextEncoding encoding;
    std::string text = lyricsFileText(bytes, 0, environment, encoding);
    LyricsDocument document;
    IgnoredWarnings warnings;
    return parseLyrics(document, text.data(), text.size(), 1, warnings);
}

int rewriteFile(const LyricsFileLines& file, std::string_view bytes, int64_t offsetMs, std::string& rewritten,
                SaveFailure& failure) {
    TextEncoding encoding = file.fileEncoding();
    if (!lyricsFileReadsWhole(bytes)) {
        failure = SaveFailure::kTooLong;
        return 0;
    }
    if (offsetMs < -kMaxOffsetMs || offsetMs > kMaxOffsetMs) {
        failure = SaveFailure::kOffsetOutOfRange;
        return 0;
    }
    if (offsetMs == file.offsetMs()) {
        rewritten = bytes;
        return 1;
    }
    std::string result;
    if (!file.rewrite(static_cast<int32_t>(offsetMs), result)) {
        failure = SaveFailure::kAmbiguous;
        return 0;
    }
    if (!lyricsFileReadsWhole(result)) {
        failure = SaveFailure::kTooLongWithTag;
        return 0;
    }
    // Removing a tag line that held the only bytes invalid in UTF-8 would turn an ANSI file into
    // one read as UTF-8. (A UTF-8 file left with ASCII alone reads the same as ANSI.)
    if (detectEncoding(result, 0) != encoding && !isAscii(result)) {
        failure = SaveFailure::kAmbiguous;
        return 0;
    }
    rewritten = std::move(result);
    return 1;
}

// newOffset gives the offset to save for the file (64 bits: a shift may take it past 32), or 0
// with the reason it gives none.
template <typename NewOffset>
int saveWith(const char* path, LyricsEnvironment& environment, LyricsFileWriter& writer, OffsetSave& save,
             NewOffset newOffset) {
    save = OffsetSave{};
    std::string bytes;
    if (!writer.readFile(path, kMaxLyricsFileBytes, bytes, save.failure)) return 0;
    LyricsFileLines file(bytes, environment);
    save.encoding = file.fileEncoding();
    save.previousMs = file.offsetMs();
    int64_t offsetMs = 0;
    if (!newOffset(file, offsetMs, save.failure)) return 0;
    save.savedMs = static_cast<int32_t>(std::clamp<int64_t>(offsetMs, INT32_MIN, INT32_MAX));
    if (!holdsLyrics(bytes, environment)) {
        save.failure = SaveFailure::kNotLyrics;
        return 0;
    }
    std::string rewritten;
    if (!rewriteFile(file, bytes, offsetMs, rewritten, save.failure)) return 0;
    if (rewritten == bytes) return 1;
    if (!writer.replaceFile(path, rewritten, save.failure)) return 0;
    save.written = 1;
    return 1;
}

}  // namespace

std::string offsetTagLine(int32_t offsetMs) {
    return "[offset:" + std::string(offsetMs > 0 ? "+" : "") + std::to_string(offsetMs) + "]";
}

int32_t fileOffsetMs(std::string_view bytes, LyricsEnvironment& environment) {
    return LyricsFileLines(bytes, environment).offsetMs();
}

int rewriteOffsetTag(std::string_view bytes, int32_t offsetMs, LyricsEnvironment& environment, std::string& rewritten,
                     SaveFailure& failure) {
    if (bytes.size() > kMaxLyricsFileBytes) {
        failure = SaveFailure::kTooLong;
        return 0;
    }
    return rewriteFile(LyricsFileLines(bytes, environment), bytes, offsetMs, rewritten, failure);
}

int saveOffsetTag(const char* path, int32_t offsetMs, LyricsEnvironment& environment, LyricsFileWriter& writer,
                  OffsetSave& save) {
    return saveWith(path, environment, writer, save, [&](const LyricsFileLines&, int64_t& newMs, SaveFailure&) {
        newMs = offsetMs;
        return 1;
    });
}

int shiftOffsetTag(const char* path, int32_t shiftMs, LyricsEnvironment& environment, LyricsFileWriter& writer,
                   OffsetSave& save) {
    return saveWith(path, environment, writer, save,
                    [&](const LyricsFileLines& file, int64_t& newMs, SaveFailure& failure) {
                        // A tag read otherwise than it is written gives no offset to shift from.
                        if (!file.offsetsAreNumbers()) {
                            failure = SaveFailure::kOffsetNotANumber;
                            return 0;
                        }
                        newMs = int64_t{file.offsetMs()} + shiftMs;
                        return 1;
                    });
}
