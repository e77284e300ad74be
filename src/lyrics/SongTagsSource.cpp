#include "lyrics/SongTagsSource.h"

#include <memory>
#include <vector>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/SyncedLyrics.h"
#include "lyrics/TagLyrics.h"

int SongTagsSource::lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                           LyricsEnvironment& environment) const {
    document.loaded = 0;
    if (song.path.empty()) return 0;
    std::unique_ptr<SourceFile> file = environment.openFile(song.path.c_str());
    if (!file) return 0;
    std::vector<TagLyrics> fields = readTagLyrics(*file, song.path.c_str(), environment);
    file.reset();
    for (const TagLyrics& field : fields) {
        document.reset();
        LoadWarnings warnings;
        int parsed = field.synced ? buildSyncedLines(document, field.entries, options.timeType)
                                  : parseLyricsText(document, field.text, options.timeType, warnings);
        if (!parsed) continue;
        document.encoding = field.encoding;
        if (field.encoding == TextEncoding::kAnsi) document.ansiCodePage = environment.ansiCodePage();
        document.tagField = field.field;
        document.sourceText = field.synced ? syncedLyricsText(field.entries) : field.text;
        markLoaded(document, song.path);
        warnings.report(environment);
        return 1;
    }
    return 0;
}
