#pragma once
// Where a song's lyrics are looked for on this machine, and in which order: the first source that
// has them is what the song shows. After these, when none has lyrics and the user allows it, the
// song is looked up on a server (online/LrclibSource.h), on a worker of its own: a server may take
// seconds to answer, and is asked only once the lyrics folder's index is complete.
#include <vector>

#include "lyrics/LyricsSource.h"

using LyricsSources = std::vector<const LyricsSource*>;

// Beside the song, below the lyrics folder, the song's copy in the download folder, the song's
// Lyrics3 tag, its other tags.
const LyricsSources& lookupOrder();

// Looks in sources in their order until one loads lyrics: 1 then, 0 when none has any (an empty
// path looks nowhere). The document keeps the title and artist as the last source that read them
// left them. Lyrics from a source that takes no saved timing get the song's download copy (its
// path, even before the copy exists) as their downloadCopy.
int lookUpLyrics(const LyricsSources& sources, LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                 LyricsEnvironment& environment);
