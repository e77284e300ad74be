// The loader over any song file: the ID3v1 and Lyrics3 readers and the text they hand on.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../lyrics/FakeLyricsEnvironment.h"
#include "lyrics/BesideSongSource.h"
#include "lyrics/Lyrics3Source.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryFile file(bytes);
    std::string title, artist, lyrics;
    if (readId3v1(file, title, artist) && (title.size() > 30 || artist.size() > 30)) std::abort();
    if (readLyrics3(file, lyrics) && lyrics.size() > kMaxLyricsBytes) std::abort();

    FakeLyricsEnvironment environment;
    environment.files = {{"C:\\song.mp3", bytes}, {"C:\\song.lrc", bytes}};
    LyricsDocument document;
    loadFromSource(BesideSongSource(), document, "C:\\song.mp3", 1, environment);
    loadFromSource(Lyrics3Source(), document, "C:\\song.mp3", 0, environment);
    return 0;
}
