#include "online/LrclibSource.h"

#include <ctime>

#include "lyrics/DownloadCopySource.h"
#include "lyrics/DownloadFolder.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/Win32LyricsFileWriter.h"
#include "online/OnlineMisses.h"
#include "online/OnlineSearch.h"
#include "online/SongQuery.h"

namespace {

// The misses file is small by construction; anything larger is not ours and is read no further.
constexpr size_t kMaxMissesFileBytes = kMaxMisses * (kMaxMissKeyBytes + 24);

// Parse warnings of a downloaded text are not the user's to fix: they go unreported.
class SilentWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

void readMisses(const std::string& missesFile, Win32LyricsFileWriter& writer, OnlineMisses& misses, int64_t now) {
    std::string bytes;
    SaveFailure failure;
    if (!missesFile.empty() && writer.readFile(missesFile.c_str(), kMaxMissesFileBytes, bytes, failure))
        misses.read(bytes, now);
}

void rememberMiss(const std::string& missesFile, Win32LyricsFileWriter& writer, const std::string& key, int64_t now) {
    if (missesFile.empty()) return;
    OnlineMisses misses;
    readMisses(missesFile, writer, misses, now);
    misses.add(key, now);
    SaveFailure failure;
    if (!writer.replaceFile(missesFile.c_str(), misses.text(), failure) && failure == SaveFailure::kGone)
        writer.createFile(missesFile.c_str(), misses.text(), failure);
}

}  // namespace

int LrclibSource::lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                         LyricsEnvironment& environment) const {
    document.loaded = 0;
    if (song.path.empty()) return 0;
    const SongNames& names = song.names(environment);
    OnlineQuery query = songQuery(names);
    std::string copy = downloadCopyPath(options.downloadFolder, names);
    if (copy.empty() || !queryIsComplete(query)) return 0;
    int64_t now = static_cast<int64_t>(std::time(nullptr));
    std::string key = missKey(query);
    OnlineMisses misses;
    readMisses(options.missesFile, writer, misses, now);
    if (misses.contains(key)) return 0;

    SearchOutcome outcome = searchLrclib(options.server, query, client);
    if (givenUp && givenUp()) return 0;
    if (isRememberedMiss(outcome.answer.kind)) rememberMiss(options.missesFile, writer, key, now);
    if (outcome.answer.kind != AnswerKind::kLyrics) return 0;

    SaveFailure failure;
    if (writer.createFile(copy.c_str(), outcome.file, failure) || failure == SaveFailure::kExists)
        loadDownloadCopy(document, copy, names, options.timeType, environment);
    if (document.isLoaded()) return 1;
    // Not kept: shown all the same, from memory, as it would read from the file.
    document.reset();
    SilentWarnings warnings;
    document.loaded = parseLyrics(document, outcome.file.data(), outcome.file.size(), options.timeType, warnings);
    return document.loaded;
}
