#include "lyrics/Lyrics3Source.h"

#include <memory>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/SongTags.h"

int Lyrics3Source::lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                          LyricsEnvironment& environment) const {
    document.loaded = 0;
    if (song.path.empty()) return 0;
    std::unique_ptr<SourceFile> file = environment.openFile(song.path.c_str());
    std::string ansi;
    if (!file || !readLyrics3(*file, ansi)) return 0;
    file.reset();
    return loadLyricsText(document, song.path, environment.ansiToUtf8(ansi), TextEncoding::kAnsi, {}, 1,
                          options.timeType, environment);
}
