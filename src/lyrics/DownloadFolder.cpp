#include "lyrics/DownloadFolder.h"

#include <cstring>

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
    // No byte of a UTF-8 sequence is a slash or a backslash: the last one separates.
    const char* name = songPath;
    for (const char* c = songPath; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    std::string base = name;
    size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot >= 1) base.resize(dot);
    // Windows drops trailing dots and spaces from a name: "a." and "a" would be one file.
    while (!base.empty() && (base.back() == '.' || base.back() == ' ')) base.pop_back();
    if (base.empty()) return {};
    for (char& c : base)
        if (forbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
    std::string path = folder;
    if (path.back() != '\\') path += '\\';
    return path + base + ".lrc";
}
