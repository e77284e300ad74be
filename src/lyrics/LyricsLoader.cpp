#include "lyrics/LyricsLoader.h"

#include <memory>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/SongPath.h"
#include "lyrics/TagLyrics.h"
#include "lyrics/TtmlLyrics.h"
#include "utils/Utf.h"

namespace {

constexpr int32_t kMp3FrameSamples = 1152;
constexpr int32_t kWmaFrameSamples = 1000;

}  // namespace

std::string lyricsFileText(std::string_view bytes, int cutShort, LyricsEnvironment& environment,
                           TextEncoding& encoding) {
    encoding = detectEncoding(bytes, cutShort);
    if (encoding == TextEncoding::kAnsi) return environment.ansiToUtf8(bytes.substr(0, kMaxLyricsBytes));
    return decodeUnicode(bytes, encoding, kMaxLyricsCharacters);
}

bool lyricsFileReadsWhole(std::string_view bytes) {
    TextEncoding encoding = detectEncoding(bytes, 0);
    if (encoding == TextEncoding::kAnsi) return bytes.size() <= kMaxLyricsBytes;
    if (bytes.size() > kMaxLyricsFileBytes) return false;
    std::string text = decodeUnicode(bytes, encoding, kMaxLyricsCharacters + 1);
    return codePointsBefore(text, text.size()) <= kMaxLyricsCharacters;
}

int readLyricsFileText(const std::string& path, LyricsEnvironment& environment, std::string& text,
                       TextEncoding& encoding) {
    std::unique_ptr<SourceFile> file = environment.openFile(path.c_str());
    if (!file) return 0;
    std::string bytes(kMaxLyricsFileBytes, '\0');
    bytes.resize(file->read(0, bytes.data(), bytes.size()));
    int cutShort = file->size() > static_cast<int64_t>(bytes.size());
    text = lyricsFileText(bytes, cutShort, environment, encoding);
    return 1;
}

int parseLyricsText(LyricsDocument& document, std::string_view text, int32_t timeType, LyricsWarnings& warnings) {
    return parseLyrics(document, text.data(), text.size(), timeType, warnings);
}

void refreshTitleAndArtist(LyricsDocument& document, const std::string& path, LyricsEnvironment& environment) {
    std::unique_ptr<SourceFile> file = environment.openFile(path.c_str());
    if (!file) return;
    SongTitles titles;
    readSongTitles(*file, path.c_str(), environment, titles);
    file.reset();
    if (!titles.title.empty() || !titles.artist.empty()) {
        document.title = headerText(titles.title);
        document.artist = headerText(titles.artist);
        return;
    }
    std::optional<std::string> hostTitle = environment.hostTitleCopy();
    document.title = hostTitle ? std::optional<std::string>(headerText(*hostTitle)) : std::nullopt;
    document.artist.reset();
}

int loadLyricsFile(LyricsDocument& document, const std::string& path, int32_t timeType,
                   LyricsEnvironment& environment) {
    document.loaded = 0;
    if (path.empty()) return 0;
    refreshTitleAndArtist(document, path, environment);
    for (const LyricsFileFormat& format : kLyricsFileFormats) {
        int loaded = format.read(document, path, replaceExtension(path, format.extension), timeType, environment);
        if (loaded >= 0) return loaded;
    }
    return 0;
}

int readLyricsSyntaxFile(LyricsDocument& document, const std::string& source, const std::string& file, int32_t timeType,
                         LyricsEnvironment& environment) {
    std::string text;
    TextEncoding encoding = TextEncoding::kAnsi;
    if (!readLyricsFileText(file, environment, text, encoding)) return -1;
    return loadLyricsText(document, source, std::move(text), encoding, file, 0, timeType, environment);
}

int readTtmlFile(LyricsDocument& document, const std::string& source, const std::string& file, int32_t timeType,
                 LyricsEnvironment& environment) {
    std::unique_ptr<SourceFile> opened = environment.openFile(file.c_str());
    if (!opened) return -1;
    // One byte more than the reader takes, so that it can tell a file cut short.
    std::string bytes(kMaxTtmlBytes + 1, '\0');
    bytes.resize(opened->read(0, bytes.data(), bytes.size()));
    opened.reset();
    document.reset();
    std::vector<TtmlWarning> warnings;
    int parsed = parseTtml(document, bytes, timeType, warnings);
    if (parsed) markLoaded(document, source);
    for (size_t i = 0; i < warnings.size(); ++i)
        environment.lyricsProblem(warnings[i].lineNumber, warnings[i].offset, ttmlProblemText(warnings[i]), i == 0);
    return parsed;
}

int loadLyricsText(LyricsDocument& document, const std::string& source, std::string text, TextEncoding encoding,
                   const std::string& lyricsFile, int keepText, int32_t timeType, LyricsEnvironment& environment) {
    document.reset();
    document.lyricsFile = lyricsFile;
    document.encoding = encoding;
    if (encoding == TextEncoding::kAnsi) document.ansiCodePage = environment.ansiCodePage();
    LoadWarnings warnings;
    int parsed = parseLyricsText(document, text, timeType, warnings);
    if (parsed) markLoaded(document, source);
    if (parsed && keepText) document.sourceText = std::move(text);
    warnings.report(environment);
    return parsed;
}

void LoadWarnings::malformedTag(int32_t lineNumber, int32_t offset) { tags.push_back({lineNumber, offset}); }

void LoadWarnings::report(LyricsEnvironment& environment) const {
    for (size_t i = 0; i < tags.size(); ++i) environment.malformedTag(tags[i].lineNumber, tags[i].offset, i == 0);
}

void markLoaded(LyricsDocument& document, const std::string& source) {
    document.setFrameLength(source.find(".wma") != std::string::npos ? kWmaFrameSamples : kMp3FrameSamples);
    document.loaded = 1;
}
