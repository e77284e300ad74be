#include "lyrics/DownloadCopySource.h"

#include "lyrics/DownloadFolder.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"

int DownloadCopySource::lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                               LyricsEnvironment& environment) const {
    document.loaded = 0;
    if (song.path.empty()) return 0;
    const SongNames& names = song.names(environment);
    std::string copy = downloadCopyPath(options.downloadFolder, names);
    if (loadDownloadCopy(document, copy, names, options.timeType, environment)) return 1;
    std::string formerCopy = formerDownloadCopyPath(options.downloadFolder, song.path.c_str());
    return formerCopy != copy && loadDownloadCopy(document, formerCopy, names, options.timeType, environment);
}

int loadDownloadCopy(LyricsDocument& document, const std::string& copy, const SongNames& song, int32_t timeType,
                     LyricsEnvironment& environment) {
    document.loaded = 0;
    if (copy.empty()) return 0;
    std::string text;
    TextEncoding encoding = TextEncoding::kAnsi;
    if (!readLyricsFileText(copy, environment, text, encoding) || !copyBelongsToSong(text, song)) return 0;
    refreshTitleAndArtist(document, copy, environment);
    return loadLyricsText(document, copy, std::move(text), encoding, copy, 0, timeType, environment);
}
