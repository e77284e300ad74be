// The native environment against real files and folders (the Windows builds test theirs under Wine).
#ifndef _WIN32
#include "lyrics/PosixLyricsEnvironment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "lyrics/BesideSongSource.h"
#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LookupOrder.h"
#include "lyrics/LyricsDocument.h"

namespace {

class TempTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/sorvane-lyrics-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }

    void folder(const std::string& relative) { mkdir((root + "/" + relative).c_str(), 0755); }
    void file(const std::string& relative, const std::string& contents) {
        FILE* f = std::fopen((root + "/" + relative).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(contents.data(), 1, contents.size(), f);
        std::fclose(f);
    }
    int find(const std::string& name, std::string& found) { return environment.findInTree(root, &name, 1, found); }

    std::string root;
    PosixLyricsEnvironment environment;
};

}  // namespace

TEST_F(TempTree, FindsNestedFilesIgnoringCaseAndNoticesFilesAddedLater) {
    folder("a");
    folder("a/b");
    folder("c");
    file("a/b/Song.KRA", "x");
    file("a/song.mp3", "x");
    file("a/b/ÉTÉ ΣΟΦΊΑ äPFEL.lrc", "x");
    std::string found;
    ASSERT_EQ(find("song.kra", found), 1);
    EXPECT_EQ(found, root + "/a/b/Song.KRA");
    // Letters of every script, by their simple case folding.
    ASSERT_EQ(find("été σοφία Äpfel.lrc", found), 1);
    EXPECT_EQ(found, root + "/a/b/ÉTÉ ΣΟΦΊΑ äPFEL.lrc");
    EXPECT_EQ(find("ete σοφια apfel.lrc", found), 0) << "letters, not the same letters without their marks";
    EXPECT_EQ(find("song.mp3", found), 0);  // not a lyrics name: never indexed
    EXPECT_EQ(find("late.lrc", found), 0);

    // Added deep down, only that folder's time changes.
    file("a/b/late.lrc", "x");
    ASSERT_EQ(find("late.lrc", found), 1);
    EXPECT_EQ(found, root + "/a/b/late.lrc");
    // A new folder with a file in it.
    folder("c/d");
    file("c/d/later.txt", "x");
    ASSERT_EQ(find("LATER.TXT", found), 1);
    EXPECT_EQ(found, root + "/c/d/later.txt");
    // A removed file is no longer offered.
    unlink((root + "/a/b/late.lrc").c_str());
    EXPECT_EQ(find("late.lrc", found), 0);
}

TEST_F(TempTree, OpensRegularFilesOnlyAndReadsWithinThem) {
    folder("x.kra");
    file("x.lrc", "[00:01]real");
    EXPECT_EQ(environment.openFile((root + "/x.kra").c_str()), nullptr);
    EXPECT_EQ(environment.openFile((root + "/missing").c_str()), nullptr);
    auto f = environment.openFile((root + "/x.lrc").c_str());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->size(), 11);
    char buffer[16] = {};
    EXPECT_EQ(f->read(7, buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "real");
    EXPECT_EQ(f->read(11, buffer, 4), 0u);

    // A folder named like the lyrics file is passed over for the next extension.
    LyricsDocument document;
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, (root + "/x.mp3").c_str(), 1, environment), 1);
    EXPECT_EQ(document.lines[0].text, "real");
}

TEST(PosixLyricsEnvironment, ConvertsTheCodePageItIsMadeWithIntoUtf8) {
    PosixLyricsEnvironment japanese;
    EXPECT_EQ(japanese.ansiCodePage(), 932u);
    // "夜明けー", half-width "ｱ", then a byte that opens no character, a lead byte cut off by a line
    // end and one cut off by the end of the text.
    EXPECT_EQ(japanese.ansiToUtf8("a\x96\xe9\x96\xbe\x82\xaf\x81\x5b\xb1z\xfd\x81\n\x82"),
              u8"a夜明けーｱz\uFFFD\uFFFD\n\uFFFD");
    std::string many(10000, '\0');
    for (size_t i = 0; i < many.size(); i += 2) many.replace(i, 2, "\x82\xa0");
    EXPECT_EQ(japanese.ansiToUtf8(many).size(), 15000u);  // past one buffer of the converter
    EXPECT_EQ(japanese.ansiToUtf8(""), "");

    PosixLyricsEnvironment western(1252);
    EXPECT_EQ(western.ansiToUtf8("Caf\xe9 \x80 \x96\xe9"), u8"Café € –é");

    PosixLyricsEnvironment unknown(77);
    EXPECT_FALSE(unknown.knowsCodePage());
    EXPECT_EQ(unknown.ansiToUtf8("a\xe9"), u8"a\uFFFD");
}

TEST_F(TempTree, ReadsFilesInAnyScriptByTheirUtf8Names) {
    std::string bytes = utf16File(u"[00:01.00]夜明け😀", 0);
    file(u8"사랑 さくら.lrc", bytes);
    LyricsDocument document;
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, (root + u8"/사랑 さくら.mp3").c_str(), 1, environment), 1);
    EXPECT_EQ(document.encoding, TextEncoding::kUtf16Le);
    EXPECT_EQ(document.lines[0].text, u8"夜明け😀");
}
TEST_F(TempTree, ASongNamedWithSlashesFindsItsLyricsBelowTheLyricsFolder) {
    // The file's name is what follows the last "/" as much as the last "\\".
    folder("music");
    folder("lyrics");
    folder("lyrics/deep");
    file("music/a.b song.mp3", "no tags");
    file("lyrics/deep/a.b song.lrc", "[00:01]below");
    LyricsDocument document;
    LookupSong song(root + "/music/a.b song.mp3");
    LookupOptions options;
    options.lyricsFolder = root + "/lyrics";
    ASSERT_EQ(lookUpLyrics(lookupOrder(), document, song, options, environment), 1);
    EXPECT_EQ(document.lines[0].text, "below");
    EXPECT_EQ(document.lyricsFile, root + "/lyrics/deep/a.b song.lrc");
}
#endif
