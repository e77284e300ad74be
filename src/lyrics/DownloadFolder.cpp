#include "lyrics/DownloadFolder.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "lyrics/HeaderLine.h"
#include "lyrics/SongPath.h"
#include "utils/Text.h"

namespace {

// A file name of 255 UTF-16 units is the most any Windows file system takes; this many UTF-8 bytes
// never come to that, with ".lrc" and the ".sorvane-<n>.tmp" a save writes first.
constexpr size_t kMaxCopyStemBytes = 200;

// Characters a Windows file name may not hold: controls and <>:"/\|?*.
bool forbiddenInFileName(unsigned char c) { return c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr; }

bool onlyDotsAndSpaces(std::string_view text) { return text.find_first_not_of(". ") == std::string_view::npos; }

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty()) return {};
    std::string path = folder;
    if (path.back() != '\\') path += '\\';
    return path + name;
}

// stem as a file name's stem: forbidden characters made "_", cut short between two characters.
std::string fileNameStem(std::string_view stem) {
    std::string name;
    for (char c : stem) name += forbiddenInFileName(static_cast<unsigned char>(c)) ? '_' : c;
    if (name.size() > kMaxCopyStemBytes) {
        size_t end = kMaxCopyStemBytes;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
        name.resize(end);
    }
    return name;
}

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool sameAsciiCaseless(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// A [length:] value "m:ss", "mm:ss.xx" in seconds; none when it is no such time.
std::optional<double> lengthSeconds(std::string_view value) {
    size_t colon = value.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 >= value.size()) return std::nullopt;
    std::string_view minutes = value.substr(0, colon), seconds = value.substr(colon + 1);
    if (minutes.find_first_not_of("0123456789") != std::string_view::npos || minutes.size() > 6) return std::nullopt;
    if (seconds.find_first_not_of("0123456789.") != std::string_view::npos || seconds[0] == '.') return std::nullopt;
    return integerPrefix(minutes) * 60.0 + decimalPrefix(seconds);
}

// A name the copy gives (none: it gives none, or an empty one) must be the song's, where the song
// has one to tell.
bool nameFits(const std::optional<std::string>& named, const std::string& songs) {
    return !named || songs.empty() || sameAsciiCaseless(*named, idTagValue(songs));
}

}  // namespace

std::string downloadFolder(const char* downloadPath, const std::string& settingsFile) {
    if (downloadPath && *downloadPath) return downloadPath;
    size_t separator = settingsFile.rfind('\\');
    if (separator == std::string::npos) return {};
    return settingsFile.substr(0, separator + 1) + "Lyrics";
}

std::string downloadCopyName(const SongNames& song) {
    std::string stem;
    if (!song.artist.empty() && !song.title.empty()) {
        stem = song.artist + " - " + song.title;
    } else if (!trimmedBlanks(song.playlistTitle).empty()) {
        stem = trimmedBlanks(song.playlistTitle);
    } else {
        stem = songBaseName(song.path.c_str());
    }
    // A name followed by ".lrc" keeps its own trailing dots and spaces: "a." and "a" are two files.
    if (onlyDotsAndSpaces(stem)) return {};
    return fileNameStem(stem) + ".lrc";
}

std::string downloadCopyPath(const std::string& folder, const SongNames& song) {
    return inFolder(folder, downloadCopyName(song));
}

std::string formerDownloadCopyPath(const std::string& folder, const char* songPath) {
    if (!songPath) return {};
    std::string base = songBaseName(songPath);
    while (!base.empty() && (base.back() == '.' || base.back() == ' ')) base.pop_back();
    if (base.empty()) return {};
    for (char& c : base)
        if (forbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
    return inFolder(folder, base + ".lrc");
}

bool copyBelongsToSong(std::string_view copyText, const SongNames& song) {
    std::optional<std::string> title, artist;
    std::optional<double> length;
    while (!copyText.empty()) {
        size_t end = copyText.find_first_of("\r\n");
        std::string_view line = copyText.substr(0, end);
        copyText.remove_prefix(end == std::string_view::npos ? copyText.size() : end + 1);
        IdTag tag;
        if (!splitIdTag(line, tag)) continue;
        std::string key(tag.key);
        if (sameText(key.c_str(), "ti")) {
            title = tag.value.empty() ? std::nullopt : std::optional<std::string>(tag.value);
        } else if (sameText(key.c_str(), "ar")) {
            artist = tag.value.empty() ? std::nullopt : std::optional<std::string>(tag.value);
        } else if (sameText(key.c_str(), "length")) {
            if (std::optional<double> seconds = lengthSeconds(tag.value)) length = seconds;
        }
    }
    if (!nameFits(title, song.title) || !nameFits(artist, song.artist)) return false;
    return !length || song.lengthSeconds <= 0 || std::fabs(*length - song.lengthSeconds) <= kDurationToleranceSeconds;
}
