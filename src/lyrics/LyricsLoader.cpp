#include "lyrics/LyricsLoader.h"

#include <cstring>
#include <memory>
#include <vector>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongTags.h"
#include "utils/Text.h"

namespace {

constexpr const char* kLyricsExtensions[] = {"kra", "lrc", "txt"};
constexpr int32_t kMp3FrameSamples = 1152;
constexpr int32_t kWmaFrameSamples = 1000;

int fitsPath(std::string_view path) { return path.size() < kMaxPath; }

// The ID3v1 title and artist of the file, or else the host's title of the playlist entry and no
// artist. A file that does not open leaves both as they are.
void refreshTitleAndArtist(LyricsDocument& document, const char* path, LyricsEnvironment& environment) {
    std::unique_ptr<SourceFile> file = environment.openFile(path);
    if (!file) return;
    std::string title, artist;
    if (readId3v1(*file, title, artist)) {
        assignString(document.title, title.c_str());
        assignString(document.artist, artist.c_str());
        return;
    }
    file.reset();
    char* hostTitle = environment.hostTitleCopy();
    assignString(document.title, hostTitle);
    freeText(hostTitle);
    freeText(document.artist);
}

int readLyricsFile(const char* source, LyricsEnvironment& environment, std::string& text, TextEncoding& encoding) {
    for (const char* extension : kLyricsExtensions) {
        std::string path = replaceExtension(source, extension);
        if (!fitsPath(path)) continue;
        std::unique_ptr<SourceFile> file = environment.openFile(path.c_str());
        if (!file) continue;
        std::string bytes(kMaxLyricsFileBytes, '\0');
        bytes.resize(file->read(0, bytes.data(), bytes.size()));
        int cutShort = file->size() > static_cast<int64_t>(bytes.size());
        return lyricsFileText(bytes, cutShort, environment, text, encoding);
    }
    return 0;
}

// How many bytes of the ANSI text, at most limit, end between two characters.
size_t wholeCharacters(const std::string& text, size_t limit, LyricsEnvironment& environment) {
    size_t end = 0;
    while (end < text.size()) {
        size_t step = environment.isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > limit) break;
        end += step;
    }
    return end;
}

int readTagLyrics(const char* songPath, LyricsEnvironment& environment, std::string& text) {
    std::unique_ptr<SourceFile> file = environment.openFile(songPath);
    return file && readLyrics3(*file, text);
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

// Where the separating backslash is: scanning forward, so that the second byte of a double-byte
// character is never taken for one, whatever byte stands before it.
size_t lastSeparator(const char* path, LyricsEnvironment& environment) {
    size_t separator = std::string_view::npos;
    for (size_t i = 0; path[i]; ++i) {
        if (path[i] == '\\') {
            separator = i;
        } else if (environment.isLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1]) {
            ++i;
        }
    }
    return separator;
}

// The full path of the song's lyrics file below LyricsPath, or empty.
std::string searchLyricsFolder(const char* lyricsPath, const char* songPath, LyricsEnvironment& environment) {
    if (!lyricsPath) return {};
    std::string folder = lyricsPath;
    if (!folder.empty() && lastSeparator(lyricsPath, environment) == folder.size() - 1) folder.pop_back();
    if (folder.empty()) return {};
    std::string name = songFileName(songPath, environment);
    std::string names[3];
    for (size_t i = 0; i < 3; ++i) names[i] = replaceExtension(name, kLyricsExtensions[i]);
    std::string found;
    if (!environment.findInTree(folder, names, 3, found)) return {};
    return found;
}

}  // namespace

std::string replaceExtension(std::string_view path, const char* extension) {
    size_t dot = path.rfind('.');
    std::string result(path.substr(0, dot != std::string_view::npos && dot >= 1 ? dot + 1 : path.size()));
    return result + extension;
}

std::string songFileName(const char* path, LyricsEnvironment& environment) {
    size_t separator = lastSeparator(path, environment);
    return separator == std::string_view::npos ? std::string(path) : std::string(path + separator + 1);
}

int lyricsFileText(std::string_view bytes, int cutShort, LyricsEnvironment& environment, std::string& text,
                   TextEncoding& encoding) {
    encoding = detectEncoding(bytes, cutShort);
    if (encoding == TextEncoding::kAnsi) {
        text = bytes.substr(0, kMaxLyricsBytes);
        return 1;
    }
    // Every unit becomes one byte at least: one more than the limit is enough to fill it.
    if (!environment.wideToAnsi(decodeUnicode(bytes, encoding, kMaxLyricsBytes + 1), text)) return 0;
    if (text.size() > kMaxLyricsBytes) text.resize(wholeCharacters(text, kMaxLyricsBytes, environment));
    return 1;
}

int loadLyrics(LyricsDocument& document, const char* source, int32_t timeType, LyricsEnvironment& environment) {
    document.loaded = 0;
    if (!source || !*source) return 0;
    size_t prefixLength = std::strlen(kLyrics3Prefix);
    int fromTag = std::strncmp(source, kLyrics3Prefix, prefixLength) == 0;
    const char* path = fromTag ? source + prefixLength : source;
    // Longer paths cannot name a file here; refusing them keeps every path buffer in bounds.
    if (!fitsPath(path)) return 0;

    std::string text;
    TextEncoding encoding = TextEncoding::kAnsi;
    if (fromTag) {
        if (!readTagLyrics(path, environment, text)) return 0;
    } else {
        refreshTitleAndArtist(document, path, environment);
        if (!readLyricsFile(path, environment, text, encoding)) return 0;
    }
    document.reset();
    document.encoding = encoding;
    LoadWarnings warnings;
    int parsed = parseLyrics(document, text.data(), text.size(), timeType, warnings);
    if (parsed) {
        document.setFrameLength(std::strstr(source, ".wma") ? kWmaFrameSamples : kMp3FrameSamples);
        document.loaded = 1;
    }
    warnings.report(environment);
    return parsed;
}

int lookupLyrics(LyricsDocument& document, const char* currentFile, const Settings& settings,
                 LyricsEnvironment& environment) {
    if (loadLyrics(document, currentFile, settings.TimeType, environment)) return 1;
    if (!currentFile) return 0;
    std::string found = searchLyricsFolder(settings.LyricsPath, currentFile, environment);
    if (loadLyrics(document, found.c_str(), settings.TimeType, environment)) return 1;
    std::string tagSource = std::string(kLyrics3Prefix) + currentFile;
    return loadLyrics(document, tagSource.c_str(), settings.TimeType, environment);
}
