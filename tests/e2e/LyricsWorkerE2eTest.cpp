// The lyrics lookup off the host's thread, through the real plug-in: the LyricsPath tree walked by
// the lookup's worker while the bar goes on, results adopted only for the song still playing, and
// quit while the worker is busy.
#include "PluginRun.h"

namespace {

// Lines from 0 to 30 s: a hold anywhere in between shows the line.
const char kDeepLyrics[] = "[00:00:00]WWWW WWWW[00:30:00]\r\n";
const char kBesideLyrics[] = "[00:00:00]ii[00:30:00]\r\n";

int lyricsPixels(const Image& bar) { return countPixels(bar, kSungPixel) + countPixels(bar, kUnsungPixel); }

class LyricsWorker : public PluginRun {
protected:
    // A LyricsPath tree of `folders` empty folders, walked for long enough that the bar ticks on
    // meanwhile, with the lyrics of "deep.mp3" in the folder the walk reaches last.
    std::string makeTree(int folders) {
        std::string tree = dataPath("tree");
        CreateDirectoryA(tree.c_str(), nullptr);
        for (int i = 0; i < folders / 50; ++i) {
            std::string outer = tree + "\\d" + std::to_string(i);
            CreateDirectoryA(outer.c_str(), nullptr);
            for (int j = 0; j < 50; ++j) CreateDirectoryA((outer + "\\e" + std::to_string(j)).c_str(), nullptr);
        }
        writeData("tree\\d" + std::to_string(folders / 50 - 1) + "\\e49\\deep.kra", kDeepLyrics);
        writeIni("LyricsPath", tree);
        return dataPath("deep.mp3");
    }

    // Ticks until the bar shows lyrics other than `shown`, at most timeoutMs; returns the bar then.
    Image waitForLyrics(int timeoutMs, const Image& shown = Image()) {
        Image bar = captureBar();
        for (DWORD start = GetTickCount(); lyricsPixels(bar) == 0 || bar.pixels == shown.pixels;) {
            if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) break;
            player.waitTicks(1, 1000);
            bar = captureBar();
        }
        return bar;
    }
};

}  // namespace

TEST_F(LyricsWorker, ALookupBeforeTheTreeIsWalkedShowsTheBannerAndTheLyricsComeLaterInTheSameSong) {
    addSong(makeTree(5000), "Deep title");
    ASSERT_EQ(player.init(), 0);
    hold(15000);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    Image first = captureBar();
    EXPECT_EQ(lyricsPixels(first), 0) << "the tree is still being walked";
    EXPECT_GT(countPixels(first, kBannerTextPixel), 0) << "meanwhile the bar shows the song's title";

    Image later = waitForLyrics(30000);
    EXPECT_GT(lyricsPixels(later), 0) << "the lyrics found once the tree is walked";
    player.watchModalWindows();
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(LyricsWorker, ASongChangeWhileItsLookupWaitsForTheTreeNeverShowsTheOldSongsLyrics) {
    addSong(makeTree(5000), "Deep title");
    addSongWithLyrics("beside", kBesideLyrics, "Beside title");
    ASSERT_EQ(player.init(), 0);
    hold(15000);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    ASSERT_EQ(lyricsPixels(captureBar()), 0) << "the deep song's lookup waits for the walk";

    select(1);
    Image beside = waitForLyrics(5000);
    ASSERT_GT(lyricsPixels(beside), 0);
    // The walk ends meanwhile; the deep song's lyrics must never replace the song now playing.
    for (int tick = 0; tick < 200; ++tick) {
        ASSERT_TRUE(player.waitTicks(1, 1000));
        ASSERT_EQ(captureBar().pixels, beside.pixels) << "tick " << tick;
    }
    // Back to the deep song: its lyrics are found in the walked tree.
    select(0);
    Image deep = waitForLyrics(30000, beside);
    EXPECT_GT(lyricsPixels(deep), lyricsPixels(beside));
}

TEST_F(LyricsWorker, QuitWhileTheTreeIsWalkedReturnsAtOnceAndTheLibraryIsGoneAfterUnloading) {
    addSong(makeTree(5000), "Deep title");
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(3, 3000));  // the first lookup has started the walk
    DWORD start = GetTickCount();
    player.quit();
    EXPECT_LT(GetTickCount() - start, 500u) << "quit waited for the walk";
    player.unload();
    // No thread of the plug-in kept it loaded, and nothing of it runs on.
    EXPECT_EQ(GetModuleHandleA("gen_sorvane.dll"), nullptr);
    player.runFor(500);
    player.watchModalWindows();
    EXPECT_TRUE(player.record.boxes.empty());
}
