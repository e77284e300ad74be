#include "lyrics/LyricsLoader.h"

#include <cstring>
#include <memory>
#include <vector>

#include "config/Settings.h"
#include "lyrics/DownloadFolder.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongTags.h"
#include "lyrics/SyncedLyrics.h"
#include "lyrics/TagLyrics.h"
#include "lyrics/TtmlLyrics.h"
#include "utils/Text.h"
#include "utils/Utf.h"

namespace {

// A song's lyrics files, in the order they are looked for. A TTML file goes before the LRC ones:
// it is the one with word timing and translations, and nothing makes one but the user's choice.
constexpr const char* kLyricsExtensions[] = {"kra", "ttml", "lrc", "txt"};
constexpr size_t kLyricsExtensionCount = sizeof kLyricsExtensions / sizeof kLyricsExtensions[0];
int isTtmlExtension(const char* extension) { return std::strcmp(extension, "ttml") == 0; }
constexpr int32_t kMp3FrameSamples = 1152;
constexpr int32_t kWmaFrameSamples = 1000;

// The title and artist the file's tags give (readSongTitles), an empty text for the one they leave
// out; or else, when they give neither, the host's title of the playlist entry and no artist. A
// file that does not open leaves both as they are.
void refreshTitleAndArtist(LyricsDocument& document, const char* path, LyricsEnvironment& environment) {
    std::unique_ptr<SourceFile> file = environment.openFile(path);
    if (!file) return;
    SongTitles titles;
    readSongTitles(*file, path, environment, titles);
    file.reset();
    if (!titles.title.empty() || !titles.artist.empty()) {
        assignString(document.title, titles.title.c_str());
        assignString(document.artist, titles.artist.c_str());
        return;
    }
    char* hostTitle = environment.hostTitleCopy();
    assignString(document.title, hostTitle);
    freeText(hostTitle);
    freeText(document.artist);
}

// The lyrics text of the file at path, as far as a lyrics file is read. 0 when it does not open.
int readTextOf(const char* path, LyricsEnvironment& environment, std::string& text, TextEncoding& encoding) {
    std::unique_ptr<SourceFile> file = environment.openFile(path);
    if (!file) return 0;
    std::string bytes(kMaxLyricsFileBytes, '\0');
    bytes.resize(file->read(0, bytes.data(), bytes.size()));
    int cutShort = file->size() > static_cast<int64_t>(bytes.size());
    text = lyricsFileText(bytes, cutShort, environment, encoding);
    return 1;
}

// The first count bytes of the file at path. 0 when it does not open.
int readBytesOf(const char* path, LyricsEnvironment& environment, size_t count, std::string& bytes) {
    std::unique_ptr<SourceFile> file = environment.openFile(path);
    if (!file) return 0;
    bytes.assign(count, '\0');
    bytes.resize(file->read(0, bytes.data(), bytes.size()));
    return 1;
}

// The first of the lyrics files beside source that opens, in path: its text, or for a TTML file
// (ttml set) its bytes, one more than the reader takes when there are more.
int readLyricsFile(const char* source, LyricsEnvironment& environment, std::string& text, TextEncoding& encoding,
                   std::string& path, int& ttml) {
    for (const char* extension : kLyricsExtensions) {
        path = replaceExtension(source, extension);
        ttml = isTtmlExtension(extension);
        if (ttml ? readBytesOf(path.c_str(), environment, kMaxTtmlBytes + 1, text)
                 : readTextOf(path.c_str(), environment, text, encoding))
            return 1;
    }
    return 0;
}

int readLyrics3Text(const char* songPath, LyricsEnvironment& environment, std::string& text) {
    std::unique_ptr<SourceFile> file = environment.openFile(songPath);
    std::string ansi;
    if (!file || !readLyrics3(*file, ansi)) return 0;
    text = environment.ansiToUtf8(ansi);
    return 1;
}

// The parser's warnings of one load, handed on once the document is complete: the plug-in's
// box is modal, and ticks that run while it is open must find a finished document.
class LoadWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t lineNumber, int32_t offset) override { tags.push_back({lineNumber, offset}); }
    void report(LyricsEnvironment& environment) const {
        for (size_t i = 0; i < tags.size(); ++i) environment.malformedTag(tags[i].lineNumber, tags[i].offset, i == 0);
    }

private:
    struct Tag {
        int32_t lineNumber;
        int32_t offset;
    };
    std::vector<Tag> tags;
};

int hasPrefix(const char* source, const char* prefix) { return std::strncmp(source, prefix, std::strlen(prefix)) == 0; }

// The frame length follows the name: the player counts time by decoded frames.
void markLoaded(LyricsDocument& document, const char* source) {
    document.setFrameLength(std::strstr(source, ".wma") ? kWmaFrameSamples : kMp3FrameSamples);
    document.loaded = 1;
}

// The lines of a text read from a lyrics file (lyricsFile; empty for the Lyrics3 tag, fromTag).
int parseLoaded(LyricsDocument& document, const char* source, std::string text, TextEncoding encoding,
                const std::string& lyricsFile, int fromTag, int32_t timeType, LyricsEnvironment& environment) {
    document.reset();
    document.lyricsFile = lyricsFile;
    document.encoding = encoding;
    if (encoding == TextEncoding::kAnsi) document.ansiCodePage = environment.ansiCodePage();
    LoadWarnings warnings;
    int parsed = parseLyrics(document, text.data(), text.size(), timeType, warnings);
    if (parsed) markLoaded(document, source);
    if (parsed && fromTag) document.sourceText = std::move(text);
    warnings.report(environment);
    return parsed;
}

// The lines of a TTML file. Its timing is not saved into it (lyricsFile stays empty): a save
// writes an LRC offset tag, which has no place in XML.
int parseTtmlLoaded(LyricsDocument& document, const char* source, std::string_view bytes, int32_t timeType,
                    LyricsEnvironment& environment) {
    document.reset();
    std::vector<TtmlWarning> warnings;
    int parsed = parseTtml(document, bytes, timeType, warnings);
    if (parsed) markLoaded(document, source);
    for (size_t i = 0; i < warnings.size(); ++i)
        environment.lyricsProblem(warnings[i].lineNumber, warnings[i].offset, ttmlProblemText(warnings[i]), i == 0);
    return parsed;
}

// The first of the song's tag fields that makes lyrics to show. A field that makes none leaves
// only the header texts it set, as a lyrics file would; only the loaded field's warnings are shown.
int loadTagLyrics(LyricsDocument& document, const char* source, int32_t timeType, LyricsEnvironment& environment) {
    const char* path = source + std::strlen(kTagsPrefix);
    std::unique_ptr<SourceFile> file = environment.openFile(path);
    if (!file) return 0;
    std::vector<TagLyrics> fields = readTagLyrics(*file, path, environment);
    file.reset();
    for (const TagLyrics& field : fields) {
        document.reset();
        LoadWarnings warnings;
        int parsed = field.synced ? buildSyncedLines(document, field.entries, timeType)
                                  : parseLyrics(document, field.text.data(), field.text.size(), timeType, warnings);
        if (!parsed) continue;
        document.encoding = field.encoding;
        if (field.encoding == TextEncoding::kAnsi) document.ansiCodePage = environment.ansiCodePage();
        document.tagField = field.field;
        document.sourceText = field.synced ? syncedLyricsText(field.entries) : field.text;
        markLoaded(document, source);
        warnings.report(environment);
        return 1;
    }
    return 0;
}

// The full path of the song's lyrics file below LyricsPath, or empty.
std::string searchLyricsFolder(const char* lyricsPath, const char* songPath, LyricsEnvironment& environment) {
    if (!lyricsPath) return {};
    std::string folder = lyricsPath;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (folder.empty()) return {};
    std::string name = songFileName(songPath);
    std::string names[kLyricsExtensionCount];
    for (size_t i = 0; i < kLyricsExtensionCount; ++i) names[i] = replaceExtension(name, kLyricsExtensions[i]);
    std::string found;
    if (!environment.findInTree(folder, names, kLyricsExtensionCount, found)) return {};
    return found;
}

}  // namespace

std::string replaceExtension(std::string_view path, const char* extension) {
    size_t dot = path.rfind('.');
    std::string result(path.substr(0, dot != std::string_view::npos && dot >= 1 ? dot + 1 : path.size()));
    return result + extension;
}

std::string songFileName(const char* path) {
    // No byte of a UTF-8 sequence is a backslash: the last one separates.
    const char* separator = std::strrchr(path, '\\');
    return separator ? std::string(separator + 1) : std::string(path);
}

std::string songBaseName(const char* path) {
    // No byte of a UTF-8 sequence is a slash or a backslash: the last one separates.
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    std::string base = name;
    size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot >= 1) base.resize(dot);
    return base;
}

std::string lyricsFileText(std::string_view bytes, int cutShort, LyricsEnvironment& environment,
                           TextEncoding& encoding) {
    encoding = detectEncoding(bytes, cutShort);
    if (encoding == TextEncoding::kAnsi) return environment.ansiToUtf8(bytes.substr(0, kMaxLyricsBytes));
    return decodeUnicode(bytes, encoding, kMaxLyricsCharacters);
}

int loadLyrics(LyricsDocument& document, const char* source, int32_t timeType, LyricsEnvironment& environment) {
    document.loaded = 0;
    if (!source || !*source) return 0;
    if (hasPrefix(source, kTagsPrefix)) return loadTagLyrics(document, source, timeType, environment);
    int fromTag = hasPrefix(source, kLyrics3Prefix);
    const char* path = fromTag ? source + std::strlen(kLyrics3Prefix) : source;

    std::string text, lyricsFile;
    TextEncoding encoding = TextEncoding::kAnsi;
    int ttml = 0;
    if (fromTag) {
        if (!readLyrics3Text(path, environment, text)) return 0;
    } else {
        refreshTitleAndArtist(document, path, environment);
        if (!readLyricsFile(path, environment, text, encoding, lyricsFile, ttml)) return 0;
    }
    if (ttml) return parseTtmlLoaded(document, source, text, timeType, environment);
    return parseLoaded(document, source, std::move(text), encoding, lyricsFile, fromTag, timeType, environment);
}

int loadDownloadCopy(LyricsDocument& document, const std::string& copy, const SongNames& song, int32_t timeType,
                     LyricsEnvironment& environment) {
    document.loaded = 0;
    if (copy.empty()) return 0;
    std::string text;
    TextEncoding encoding = TextEncoding::kAnsi;
    if (!readTextOf(copy.c_str(), environment, text, encoding) || !copyBelongsToSong(text, song)) return 0;
    refreshTitleAndArtist(document, copy.c_str(), environment);
    return parseLoaded(document, copy.c_str(), std::move(text), encoding, copy, 0, timeType, environment);
}

bool lyricsFileReadsWhole(std::string_view bytes) {
    TextEncoding encoding = detectEncoding(bytes, 0);
    if (encoding == TextEncoding::kAnsi) return bytes.size() <= kMaxLyricsBytes;
    if (bytes.size() > kMaxLyricsFileBytes) return false;
    std::string text = decodeUnicode(bytes, encoding, kMaxLyricsCharacters + 1);
    return codePointsBefore(text, text.size()) <= kMaxLyricsCharacters;
}

int lookupLyrics(LyricsDocument& document, const char* currentFile, const Settings& settings,
                 LyricsEnvironment& environment, const std::string& downloadFolder) {
    if (loadLyrics(document, currentFile, settings.TimeType, environment)) return 1;
    if (!currentFile) return 0;
    std::string found = searchLyricsFolder(textOrNull(settings.LyricsPath), currentFile, environment);
    if (loadLyrics(document, found.c_str(), settings.TimeType, environment)) return 1;
    char* hostTitle = environment.hostTitleCopy();
    SongNames song = readSongNames(currentFile, hostTitle, environment);
    freeText(hostTitle);
    std::string copy = downloadCopyPath(downloadFolder, song);
    if (loadDownloadCopy(document, copy, song, settings.TimeType, environment)) return 1;
    std::string formerCopy = formerDownloadCopyPath(downloadFolder, currentFile);
    if (formerCopy != copy && loadDownloadCopy(document, formerCopy, song, settings.TimeType, environment)) return 1;
    // Inside the song: its Lyrics3 tag, then its other tags. Their timing is saved into the copy.
    for (const char* prefix : {kLyrics3Prefix, kTagsPrefix}) {
        std::string tagSource = std::string(prefix) + currentFile;
        if (!loadLyrics(document, tagSource.c_str(), settings.TimeType, environment)) continue;
        document.downloadCopy = copy;
        return 1;
    }
    // An online search comes last, on a worker of its own (the caller's).
    return 0;
}

int lookupInLyricsPath(LyricsDocument& document, const char* currentFile, const Settings& settings,
                       LyricsEnvironment& environment) {
    if (!currentFile) return 0;
    std::string found = searchLyricsFolder(textOrNull(settings.LyricsPath), currentFile, environment);
    return loadLyrics(document, found.c_str(), settings.TimeType, environment);
}
