#include "lyrics/LookupOrder.h"

#include "lyrics/BesideSongSource.h"
#include "lyrics/DownloadCopySource.h"
#include "lyrics/DownloadFolder.h"
#include "lyrics/Lyrics3Source.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsFolderSource.h"
#include "lyrics/SongTagsSource.h"

namespace {

// A source holds nothing of a lookup: one of each serves every lookup, on any thread.
template <typename Source>
const LyricsSource* theSource() {
    static const Source source;
    return &source;
}

}  // namespace

const LyricsSources& lookupOrder() {
    static const LyricsSources order = {
        theSource<BesideSongSource>(), theSource<LyricsFolderSource>(), theSource<DownloadCopySource>(),
        theSource<Lyrics3Source>(),    theSource<SongTagsSource>(),
    };
    return order;
}

int lookUpLyrics(const LyricsSources& sources, LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                 LyricsEnvironment& environment) {
    document.loaded = 0;
    if (song.path.empty()) return 0;
    for (const LyricsSource* source : sources) {
        if (!source->lookUp(document, song, options, environment)) continue;
        if (!source->takesSavedTiming())
            document.downloadCopy = downloadCopyPath(options.downloadFolder, song.names(environment));
        return 1;
    }
    return 0;
}
