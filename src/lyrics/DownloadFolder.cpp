#include "lyrics/DownloadFolder.h"

#include <cstring>

#include "lyrics/LyricsLoader.h"

namespace {

// Characters a Windows file name may not hold: controls and <>:"/\|?*.
bool forbiddenInFileName(unsigned char c) { return c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr; }

}  // namespace

std::string downloadFolder(const char* downloadPath, const std::string& settingsFile) {
    if (downloadPath && *downloadPath) return downloadPath;
    size_t separator = settingsFile.rfind('\\');
    if (separator == std::string::npos) return {};
    return settingsFile.substr(0, separator + 1) + "Lyrics";
}

std::string downloadCopyPath(const std::string& folder, const char* songPath) {
    if (folder.empty() || !songPath) return {};
    std::string base = songBaseName(songPath);
    // Windows drops trailing dots and spaces from a name: "a." and "a" would be one file.
    while (!base.empty() && (base.back() == '.' || base.back() == ' ')) base.pop_back();
    if (base.empty()) return {};
    for (char& c : base)
        if (forbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
    std::string path = folder;
    if (path.back() != '\\') path += '\\';
    return path + base + ".lrc";
}
