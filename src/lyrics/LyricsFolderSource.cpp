#include "lyrics/LyricsFolderSource.h"

#include <iterator>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/SongPath.h"

namespace {

constexpr size_t kFormats = std::size(kLyricsFileFormats);

// The full path of the song's lyrics file below lyricsFolder, or empty.
std::string searchLyricsFolder(const std::string& lyricsFolder, const std::string& songPath,
                               LyricsEnvironment& environment) {
    std::string folder = lyricsFolder;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (folder.empty() || songPath.empty()) return {};
    std::string name = songFileName(songPath);
    std::string names[kFormats];
    for (size_t i = 0; i < kFormats; ++i) names[i] = replaceExtension(name, kLyricsFileFormats[i].extension);
    std::string found;
    if (!environment.findInTree(folder, names, kFormats, found)) return {};
    return found;
}

}  // namespace

int LyricsFolderSource::lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                               LyricsEnvironment& environment) const {
    document.loaded = 0;
    std::string found = searchLyricsFolder(options.lyricsFolder, song.path, environment);
    return loadLyricsFile(document, found, options.timeType, environment);
}
