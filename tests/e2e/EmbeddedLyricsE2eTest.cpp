// Lyrics inside songs through the real plug-in: songs a tagger wrote (see TaggedSongs.h) play in
// the substitute player, and the bar shows their lyrics exactly as it shows the same lyrics from
// a file beside another song.
#include "PluginRun.h"
#include "lyrics/TaggedSongs.h"

namespace {

class EmbeddedLyrics : public PluginRun {
protected:
    // The bar at positionMs once the playlist entry `index` plays.
    Image barOf(int32_t index, int32_t positionMs) {
        select(index);
        return barAt(positionMs, kStatusTicks + 2);
    }
};

}  // namespace

TEST_F(EmbeddedLyrics, TheBarShowsTheLyricsInASongsTagsAsFromALyricsFile) {
    struct Song {
        const char* name;
        std::string sameLyrics;  // the song's lyrics as a lyrics file would hold them
        std::vector<int32_t> positionsMs;
    };
    // Word-level SYLT (karaoke lines), and a FLAC file's Xiph comment holding LRC text.
    const Song songs[] = {
        {"sylt-words.mp3",
         "[00:01:00]Hel[00:01:50]lo [00:02:00]world[00:04:00]\r\n[00:04:00]Se[00:04:50]cond[00:07:50]\r\n",
         {1750, 3000, 4700}},
        {"xiph.flac", kTaggedLrc, {2000, 4500, 7000}},
    };
    int32_t entry = 0;
    for (const Song& song : songs) {
        std::string bytes;
        ASSERT_EQ(readFileBytes(taggedSongPath(song.name), bytes), 1) << song.name;
        addSong(writeData(song.name, bytes), "Same title");
        addSongWithLyrics("reference-" + std::to_string(entry), song.sameLyrics, "Same title");
        entry += 2;
    }
    ASSERT_EQ(player.init(), 0);
    entry = 0;
    for (const Song& song : songs) {
        for (int32_t positionMs : song.positionsMs) {
            SCOPED_TRACE(std::string(song.name) + " at " + std::to_string(positionMs) + " ms");
            Image tagged = barOf(entry, positionMs);
            Image reference = barOf(entry + 1, positionMs);
            EXPECT_GT(countPixels(reference, kUnsungPixel) + countPixels(reference, kSungPixel), 20) << "lyrics show";
            EXPECT_TRUE(tagged.pixels == reference.pixels) << "the bars differ";
        }
        entry += 2;
    }
    EXPECT_TRUE(player.record.boxes.empty());
}
