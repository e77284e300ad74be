#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/BesideSongSource.h"
#include "lyrics/DownloadFolder.h"
#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LookupOrder.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongNames.h"
#include "lyrics/SongPath.h"
#include "lyrics/SongTags.h"
#include "lyrics/TaggedSongs.h"

namespace {

std::string padded(const std::string& text, size_t size, char pad) {
    return (text + std::string(size, pad)).substr(0, size);
}

std::string id3v1(const std::string& title, const std::string& artist) {
    return "TAG" + padded(title, 30, ' ') + padded(artist, 30, ' ') + std::string(65, '\0');
}

std::string digits(size_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*zu", width, value);
    return text;
}

// A song file ending in a Lyrics3 v2.00 tag with the given fields and an ID3v1 block.
std::string songWithLyrics3(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string block = "LYRICSBEGIN";
    for (const auto& [id, data] : fields) block += id + digits(data.size(), 5) + data;
    return "audio frames" + block + digits(block.size(), 6) + "LYRICS200" + id3v1("Tag title", "Tag artist");
}

struct Lookup {
    LyricsDocument document;
    FakeLyricsEnvironment environment;
    LookupOptions options;
    int lookup(const char* path) {
        LookupSong song(path ? path : "");
        return lookUpLyrics(lookupOrder(), document, song, options, environment);
    }
    const char* firstText() const { return document.lineCount() ? document.lines[0].text.c_str() : ""; }
};

const std::string kSong = "C:\\Music\\a.mp3";

}  // namespace

TEST(ReplaceExtension, ReplacesAfterTheLastDotOfTheWholePath) {
    EXPECT_EQ(replaceExtension("C:\\Music\\song.mp3", "kra"), "C:\\Music\\song.kra");
    EXPECT_EQ(replaceExtension("C:\\My.Music\\song", "kra"), "C:\\My.kra");
    EXPECT_EQ(replaceExtension("song", "kra"), "songkra");
    EXPECT_EQ(replaceExtension(".song", "lrc"), ".songlrc");  // a dot at byte 0 does not count
    EXPECT_EQ(replaceExtension("a.", "txt"), "a.txt");
}

// Lookup order

TEST(LyricsLookup, BesideTheSongKraComesBeforeLrcBeforeTxt) {
    Lookup l;
    l.environment.files = {{kSong, "song"}, {"C:\\Music\\a.lrc", "[00:01]lrc"}, {"C:\\Music\\a.txt", "[00:01]txt"}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "lrc");
    EXPECT_EQ(l.document.loaded, 1);
    EXPECT_EQ(l.document.lyricsFile, "C:\\Music\\a.lrc");  // where a fixed timing is saved

    l.environment.files["C:\\Music\\a.kra"] = "[00:01]kra";
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "kra");
    EXPECT_EQ(l.document.lyricsFile, "C:\\Music\\a.kra");
    EXPECT_TRUE(l.environment.searchedRoots.empty());
}

TEST(LyricsLookup, BesideTheSongATtmlFileComesAfterKraBeforeLrcAndItsProblemsAreWarnedOf) {
    Lookup l;
    l.environment.files = {
        {kSong, "song"},
        {"C:\\Music\\a.ttml", "<tt><body><p begin=\"1s\" end=\"2s\">ttml</p><p>no time</p></body></tt>"},
        {"C:\\Music\\a.lrc", "[00:01]lrc"}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "ttml");
    EXPECT_EQ(l.document.encoding, TextEncoding::kUtf8);
    // The timing the user fixes is not saved into the XML.
    EXPECT_TRUE(l.document.lyricsFile.empty());
    // The line without a time, warned about as a malformed tag is (line 1, character 42).
    using W = std::tuple<int32_t, int32_t, int>;
    EXPECT_EQ(l.environment.warnings, (std::vector<W>{{1, 42, 1}}));

    l.environment.files["C:\\Music\\a.kra"] = "[00:01]kra";
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "kra");
}

TEST(LyricsLookup, SearchesTheLyricsFolderTreeWithOrWithoutTrailingBackslash) {
    for (const char* lyricsPath : {"D:\\Lyrics\\", "D:\\Lyrics"}) {
        Lookup l;
        l.options.lyricsFolder = lyricsPath;
        l.environment.hostTitle = "Playlist title";
        l.environment.files = {{kSong, "no tag here"},
                               {"D:\\Lyrics\\other\\b.kra", "[00:01]b"},
                               {"D:\\Lyrics\\x\\A.LRC", "[00:01]lrc"},
                               {"D:\\Lyrics\\y\\a.kra", "[00:01]kra"}};
        EXPECT_EQ(l.lookup(kSong.c_str()), 1) << lyricsPath;
        EXPECT_EQ(l.environment.searchedRoots, std::vector<std::string>{"D:\\Lyrics"});
        EXPECT_STREQ(l.firstText(), "kra");  // kra anywhere in the tree before lrc
        EXPECT_EQ(l.document.title, "Playlist title");
        EXPECT_EQ(l.document.artist, std::nullopt);

        // Without the kra, a TTML file anywhere in the tree comes before the lrc.
        l.environment.files.erase("D:\\Lyrics\\y\\a.kra");
        l.environment.add("D:\\Lyrics\\z\\a.ttml", "<tt><body><p begin=\"1s\" end=\"2s\">ttml</p></body></tt>");
        EXPECT_EQ(l.lookup(kSong.c_str()), 1);
        EXPECT_STREQ(l.firstText(), "ttml");
    }
}

TEST(LyricsLookup, FoundFileHasNoId3v1BlockButItsHeadersWin) {
    Lookup l;
    l.options.lyricsFolder = "D:\\Lyrics";
    l.environment.hostTitle = "Playlist title";
    l.environment.files = {{kSong, id3v1("Id3 title", "Id3 artist")},
                           {"D:\\Lyrics\\x\\a.txt", "@Title Own\n[00:01]found"}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "found");
    EXPECT_EQ(l.document.title, "Own");
    EXPECT_EQ(l.document.artist, std::nullopt);  // the found file has no ID3v1 block
}

TEST(LyricsLookup, EmptyLyricsPathGoesStraightToTheSongsTag) {
    Lookup l;
    l.options.lyricsFolder = "";
    l.environment.files = {{kSong, songWithLyrics3({{"LYR", "[00:01]from the tag"}})}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "from the tag");
    EXPECT_EQ(l.document.lyricsFile, "");  // no lyrics file to save into
    EXPECT_TRUE(l.environment.searchedRoots.empty());
    EXPECT_EQ(l.document.title, "Tag title");  // from the ID3v1 block on the first attempt
    EXPECT_EQ(l.document.artist, "Tag artist");
}

TEST(LyricsLookup, NoLyricsAnywhereLeavesTitleAndArtistOfTheSong) {
    Lookup l;
    l.options.lyricsFolder = "D:\\Lyrics";
    l.environment.files = {{kSong, id3v1("Song", "Singer")}, {"D:\\Lyrics\\b.kra", "[00:01]b"}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 0);
    EXPECT_EQ(l.document.loaded, 0);
    EXPECT_EQ(l.document.title, "Song");
    EXPECT_EQ(l.document.artist, "Singer");
    EXPECT_EQ(l.environment.opened.back(), kSong);  // the tag was tried last

    Lookup none;
    EXPECT_EQ(none.lookup(nullptr), 0);
    EXPECT_TRUE(none.environment.opened.empty());
}

TEST(LyricsLookup, DownloadCopyComesAfterTheUsersFoldersAndBeforeTheSongsTags) {
    std::map<std::string, std::string> files = {{kSong, songWithLyrics3({{"LYR", "[00:01]from the tag"}})},
                                                {"E:\\Downloads\\a.lrc", "[00:01]downloaded"}};
    auto firstFound = [&files](const std::string& downloadFolder) {
        Lookup l;
        l.options.lyricsFolder = "D:\\Lyrics";
        l.options.downloadFolder = downloadFolder;
        l.environment.files = files;
        EXPECT_EQ(l.lookup(kSong.c_str()), 1);
        return std::string(l.firstText()) + " " + l.document.lyricsFile;
    };
    // Before the song's own tags: a copy the user corrected wins over what it was taken from.
    EXPECT_EQ(firstFound("E:\\Downloads\\"), "downloaded E:\\Downloads\\a.lrc");
    // Lyrics from the tags save their timing into the copy named after the song.
    {
        Lookup l;
        l.options.downloadFolder = "E:\\Downloads";
        l.environment.files = {{kSong, files.at(kSong)}};
        ASSERT_EQ(l.lookup(kSong.c_str()), 1);
        EXPECT_EQ(l.document.downloadCopy, "E:\\Downloads\\Tag artist - Tag title.lrc");
    }
    EXPECT_EQ(firstFound(""), "from the tag ");  // no download folder: nothing opened by a bare name
    files["a.lrc"] = "[00:01]relative";
    EXPECT_EQ(firstFound(""), "from the tag ");
    files["D:\\Lyrics\\x\\a.txt"] = "[00:01]in the folder";
    EXPECT_EQ(firstFound("E:\\Downloads"), "in the folder D:\\Lyrics\\x\\a.txt");
    files["C:\\Music\\a.lrc"] = "[00:01]beside";
    EXPECT_EQ(firstFound("E:\\Downloads"), "beside C:\\Music\\a.lrc");
}

TEST(DownloadFolder, BesideTheSettingsFileUnlessSet) {
    EXPECT_EQ(downloadFolder(nullptr, "C:\\Users\\u\\AppData\\Winamp\\sorvane.ini"),
              "C:\\Users\\u\\AppData\\Winamp\\Lyrics");
    EXPECT_EQ(downloadFolder("", "C:\\P\\sorvane.ini"), "C:\\P\\Lyrics");
    EXPECT_EQ(downloadFolder("D:\\Mine", "C:\\P\\sorvane.ini"), "D:\\Mine");
    EXPECT_EQ(downloadFolder(nullptr, ""), "");
}

TEST(DownloadFolder, CopyIsNamedAfterTheSongAndStaysInsideTheFolder) {
    auto copyOf = [](const char* artist, const char* title, const char* playlistTitle, const char* path) {
        SongNames song;
        song.artist = artist;
        song.title = title;
        song.playlistTitle = playlistTitle;
        song.path = path;
        return downloadCopyPath("D:\\L", song);
    };
    EXPECT_EQ(copyOf("Someone", "Mr. Blue", "Playlist", "C:\\M\\01 Intro.mp3"), "D:\\L\\Someone - Mr. Blue.lrc");
    EXPECT_EQ(copyOf("", "", u8"桜 - Café", "C:\\M\\x.mp3"), u8"D:\\L\\桜 - Café.lrc");
    EXPECT_EQ(copyOf("", "", "", "C:\\M\\My.Song.mp3"), "D:\\L\\My.Song.lrc");
    // A stream's address, and names Windows would read otherwise, never leave the folder.
    EXPECT_EQ(copyOf("", "", "", "http://radio.example/live?x=1"), "D:\\L\\live_x=1.lrc");
    EXPECT_EQ(copyOf("AC/DC", "Who? Me: <2>", "", ""), "D:\\L\\AC_DC - Who_ Me_ _2_.lrc");
    // Names differing in trailing dots or spaces are different files: ".lrc" follows them.
    EXPECT_NE(copyOf("", "", "", "C:\\M\\trail...mp3"), copyOf("", "", "", "C:\\M\\trail.mp3"));
    EXPECT_NE(copyOf("A", "Song.", "", ""), copyOf("A", "Song", "", ""));
    EXPECT_NE(copyOf("A", "Song ", "", ""), copyOf("A", "Song", "", ""));
    // A name too long for a file system is cut between two characters.
    std::string longName = copyOf("A", std::string(300, '\xE6').c_str(), "", "");
    EXPECT_LE(longName.size(), 220u);
    std::string longTitle;
    for (int i = 0; i < 100; ++i) longTitle += u8"夜";
    longName = copyOf("A", longTitle.c_str(), "", "");
    EXPECT_EQ(longName.substr(longName.size() - 7), u8"夜.lrc") << longName;
    for (const char* nameless : {"C:\\M\\", "C:\\M\\..", ".."}) EXPECT_EQ(copyOf("", "", "", nameless), "") << nameless;
    SongNames named;
    named.path = "C:\\M\\a.mp3";
    EXPECT_EQ(downloadCopyPath("", named), "");
    // Copies kept before were named after the file, without its trailing dots and spaces.
    EXPECT_EQ(formerDownloadCopyPath("D:\\L\\", "C:\\M\\song. .mp3"), "D:\\L\\song.lrc");
}

TEST(LyricsLookup, ADownloadCopyIsUsedOnlyForTheSongItsTagsName) {
    const std::string first = "C:\\a1\\Same.mp3", second = "C:\\a2\\SAME.mp3";
    const std::string kept = "[ti:First Song]\r\n[ar:Standin]\r\n[length:3:20]\r\n[00:01]first";
    auto lookUp = [](const std::string& song, const char* playlistTitle, std::map<std::string, std::string> files) {
        Lookup l;
        l.options.downloadFolder = "E:\\L";
        l.environment.hostTitle = playlistTitle;
        l.environment.files = std::move(files);
        l.environment.files[song] = "no tags";
        return l.lookup(song.c_str()) ? std::string(l.firstText()) + " " + l.document.lyricsFile : std::string("none");
    };
    // The copy under the song's name, and a copy kept before under its file's name, are the first
    // song's; the second song, of the same file name in another album, takes neither.
    std::map<std::string, std::string> copies = {{"E:\\L\\Standin - First Song.lrc", kept}, {"E:\\L\\SAME.lrc", kept}};
    EXPECT_EQ(lookUp(first, "Standin - First Song", copies), "first E:\\L\\Standin - First Song.lrc");
    EXPECT_EQ(lookUp(second, "Standin - Second Song", copies), "none");
    EXPECT_EQ(lookUp(first, "Standin - First Song", {{"E:\\L\\Same.lrc", kept}}), "first E:\\L\\Same.lrc");
    // A copy without tags says nothing against any song (timing saved out of the song's own tags).
    EXPECT_EQ(lookUp(second, "Standin - Second Song", {{"E:\\L\\SAME.lrc", "[00:01]untagged"}}),
              "untagged E:\\L\\SAME.lrc");
    // Names compare without regard to ASCII letter case and surrounding spaces. A song without names
    // (its playlist title no "Artist - Title") has none to tell a copy by: its own copy (lyrics
    // from its tags, saved) may name a title all the same.
    EXPECT_EQ(lookUp(first, "Standin - First Song", {{"E:\\L\\Same.lrc", "[ti: FIRST song ]\n[ar:standin]\n[00:01]x"}}),
              "x E:\\L\\Same.lrc");
    EXPECT_EQ(lookUp(first, "Same", {{"E:\\L\\Same.lrc", kept}}), "first E:\\L\\Same.lrc");

    // The length within two seconds of the song's: 夜明け by 桜 lasts 2.6 s.
    const std::string tagged = taggedSongBytes("id3v1.mp3");
    ASSERT_FALSE(tagged.empty());
    auto withLength = [&tagged](const char* length) {
        Lookup l;
        l.options.downloadFolder = "E:\\L";
        l.environment.files = {
            {kSong, tagged},
            {u8"E:\\L\\桜 - 夜明け.lrc", std::string(u8"[ti:夜明け]\n[ar:桜]\n[length:") + length + "]\n[00:01]x"}};
        return l.lookup(kSong.c_str());
    };
    EXPECT_EQ(withLength("0:04"), 1);
    EXPECT_EQ(withLength("0:05.00"), 0);
    EXPECT_EQ(withLength("not a time"), 1);
}

TEST(LyricsLookup, TreeIsWalkedOnceAndAgainOnlyAfterAChange) {
    Lookup l;
    l.options.lyricsFolder = "D:\\Lyrics";
    l.environment.files = {{kSong, "song"}, {"D:\\Lyrics\\x\\z.kra", "[00:01]z"}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 0);
    EXPECT_EQ(l.lookup(kSong.c_str()), 0);
    EXPECT_EQ(l.environment.tree.walks, 1);
    // A file added since the last song is found.
    l.environment.add("D:\\Lyrics\\new\\a.txt", "[00:01]new");
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_STREQ(l.firstText(), "new");
    EXPECT_EQ(l.environment.tree.walks, 2);
    // Another root is another tree.
    l.options.lyricsFolder = "D:\\Other";
    l.lookup(kSong.c_str());
    EXPECT_EQ(l.environment.tree.walks, 3);
}

TEST(LyricsLookup, NamesInAnyScriptAreFoundBesideTheSongAndBelowTheFolder) {
    // "ソ" was 0x83 0x5C in code page 932, its second byte a backslash; in UTF-8 no byte of a
    // character is one.
    EXPECT_EQ(songFileName(u8"C:\\Music\\ソ.mp3"), u8"ソ.mp3");
    EXPECT_EQ(songFileName(u8"C:\\歌詞\\사랑 😀.mp3"), u8"사랑 😀.mp3");
    EXPECT_EQ(songFileName("a.mp3"), "a.mp3");

    Lookup l;
    l.options.lyricsFolder = u8"D:\\歌詞\\";  // trailing backslash
    std::string song = u8"C:\\音楽\\사랑.mp3";
    l.environment.files = {{song, "song"}, {u8"D:\\歌詞\\한국\\사랑.lrc", "[00:01]found"}};
    EXPECT_EQ(l.lookup(song.c_str()), 1);
    EXPECT_EQ(l.environment.searchedRoots, std::vector<std::string>{u8"D:\\歌詞"});
    EXPECT_STREQ(l.firstText(), "found");
}

TEST(LyricsLookup, LongPathsAreLeftToThePlatform) {
    // Past the old 260-byte buffers: the platform decides what it can open.
    Lookup l;
    std::string song = "C:\\";
    for (int i = 0; i < 30; ++i) song += u8"長いフォルダ名\\";
    song += u8"さくら.mp3";
    l.environment.files = {{song, "song"}, {replaceExtension(song, "kra"), "[00:01]a"}};
    EXPECT_EQ(l.lookup(song.c_str()), 1);
}

// Title and artist

TEST(LyricsLoad, Id3v1FieldsEndAtTheirZeroByteAndLoseTheBlanksAtEitherEnd) {
    FakeLyricsEnvironment environment;
    LyricsDocument document;
    std::string title = padded(std::string("Hi  ") + '\0', 30, ' ');  // as every tag's title: no blanks
    std::string artist = std::string(30, 'A');                        // all 30 bytes, no terminator
    environment.files = {{kSong, "audio" + std::string("TAG") + title + artist + std::string(65, 'z')}};
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, kSong.c_str(), 1, environment), 0);
    EXPECT_EQ(document.title, "Hi");
    EXPECT_EQ(document.artist, std::string(30, 'A'));

    environment.files[kSong] = id3v1("   ", "Trailing   ");
    loadFromSource(BesideSongSource(), document, kSong.c_str(), 1, environment);
    EXPECT_EQ(document.title, "");
    EXPECT_EQ(document.artist, "Trailing");
    EXPECT_EQ(environment.titleQueries, 0);
}

TEST(LyricsLoad, WithoutId3v1TheHostTitleIsUsedAndTheArtistCleared) {
    FakeLyricsEnvironment environment;
    LyricsDocument document;
    document.artist = "Old artist";
    environment.hostTitle = "Host title";
    environment.files = {{kSong, std::string(127, 'T')}};  // too short for a block
    loadFromSource(BesideSongSource(), document, kSong.c_str(), 1, environment);
    EXPECT_EQ(document.title, "Host title");
    EXPECT_EQ(document.artist, std::nullopt);

    environment.hostTitle = nullptr;
    loadFromSource(BesideSongSource(), document, kSong.c_str(), 1, environment);
    EXPECT_EQ(document.title, std::nullopt);

    // A file that does not open leaves both.
    document.title = "Kept";
    loadFromSource(BesideSongSource(), document, "C:\\missing.mp3", 1, environment);
    EXPECT_EQ(document.title, "Kept");
    EXPECT_EQ(environment.titleQueries, 2);
}

TEST(LyricsLoad, SongTagsAreReadInTheAnsiCodePage) {
    Lookup l;
    std::string lyrics = FakeLyricsEnvironment::shiftJis(u"[00:01:00]夜[00:01:50]明け");
    std::string song = songWithLyrics3({{"LYR", lyrics}});
    song.replace(song.size() - 125, 60,
                 id3v1(FakeLyricsEnvironment::shiftJis(u"夜明けのうた"), FakeLyricsEnvironment::shiftJis(u"うたう"))
                     .substr(3, 60));
    l.environment.files = {{kSong, song}};
    EXPECT_EQ(l.lookup(kSong.c_str()), 1);
    EXPECT_EQ(l.document.title, u8"夜明けのうた");
    EXPECT_EQ(l.document.artist, u8"うたう");
    EXPECT_STREQ(l.firstText(), u8"夜明け");
    EXPECT_EQ(l.document.lines[0].marks[1].offset, 3);  // after "夜"
    EXPECT_EQ(encodingName(l.document.encoding, l.document.ansiCodePage), "ansi-932");
}

// Loading

TEST(LyricsLoad, FrameLengthFollowsWmaInTheSourceName) {
    FakeLyricsEnvironment environment;
    LyricsDocument document;
    environment.files = {{"C:\\Music\\x.lrc", "[00:01]a"}};
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\Music\\x.wma", 1, environment), 1);
    EXPECT_NEAR(document.frameRatio, 0.9702, 1e-4);
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\Music\\x.lrc", 1, environment), 1);
    EXPECT_NEAR(document.frameRatio, 0.99531250, 1e-8);
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\Music\\x.WMA", 1, environment), 1);  // lower case only
    EXPECT_NEAR(document.frameRatio, 0.99531250, 1e-8);
}

TEST(LyricsLoad, FailedLoadClearsLoadedAndResetsOnlyWhenTextWasRead) {
    FakeLyricsEnvironment environment;
    LyricsDocument document;
    environment.files = {{"C:\\a.lrc", "@TimeRatio 2\n[00:01]a"}, {"C:\\b.lrc", "@Title only headers"}};
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\a.mp3", 1, environment), 1);
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, "C:\\none.mp3", 1, environment), 0);
    EXPECT_EQ(document.loaded, 0);
    EXPECT_EQ(document.timeRatio, 2.0);  // nothing read: the document is left as it was
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, "C:\\b.mp3", 1, environment), 0);
    EXPECT_EQ(document.timeRatio, kDefaultRatio);
    EXPECT_EQ(document.lineCount(), 0);
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, "", 1, environment), 0);
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, nullptr, 1, environment), 0);
}

TEST(LyricsLoad, OnlyTheFirstMalformedTagOfALoadRaisesTheWarningOnceTheDocumentIsComplete) {
    // The plug-in's box is modal and ticks run under it: they must find a finished document.
    struct Watching : FakeLyricsEnvironment {
        void malformedTag(int32_t lineNumber, int32_t offset, int firstOfLoad) override {
            FakeLyricsEnvironment::malformedTag(lineNumber, offset, firstOfLoad);
            loadedAtWarning.push_back(document.loaded &&
                                      document.lines[1].marks.back().offset == document.lines[1].length);
        }
        LyricsDocument document;
        std::vector<int> loadedAtWarning;
    } environment;
    environment.files = {{"C:\\a.lrc", "[00:01]a\n[00:02]b[00:03,00]c[00:04,00]"}};
    loadFromSource(BesideSongSource(), environment.document, "C:\\a.mp3", 1, environment);
    loadFromSource(BesideSongSource(), environment.document, "C:\\a.mp3", 1, environment);
    using W = std::tuple<int32_t, int32_t, int>;
    EXPECT_EQ(environment.warnings, (std::vector<W>{{2, 8, 1}, {2, 19, 0}, {2, 8, 1}, {2, 19, 0}}));
    EXPECT_EQ(environment.loadedAtWarning, (std::vector<int>{1, 1, 1, 1}));
}

// Lyrics3 tags

TEST(Lyrics3, FieldsBeforeTheLyricsAreSkippedBySize) {
    std::string lyrics;
    MemoryFile indFirst(songWithLyrics3({{"IND", "10"}, {"INF", "LYR inside"}, {"LYR", "[00:01]a"}, {"ETT", "x"}}));
    ASSERT_EQ(readLyrics3(indFirst, lyrics), 1);
    EXPECT_EQ(lyrics, "[00:01]a");
    MemoryFile lyrFirst(songWithLyrics3({{"LYR", "[00:02]b"}, {"IND", "10"}}));
    ASSERT_EQ(readLyrics3(lyrFirst, lyrics), 1);
    EXPECT_EQ(lyrics, "[00:02]b");
    // After ten skipped fields the eleventh is taken whatever its name.
    std::vector<std::pair<std::string, std::string>> fields(10, {"EAL", "x"});
    fields.push_back({"ETT", "[00:03]c"});
    MemoryFile eleventh(songWithLyrics3(fields));
    ASSERT_EQ(readLyrics3(eleventh, lyrics), 1);
    EXPECT_EQ(lyrics, "[00:03]c");
}

TEST(Lyrics3, BrokenTagsAreRefusedWithoutReadingOutsideTheBlock) {
    std::string good = songWithLyrics3({{"IND", "10"}, {"LYR", "[00:01]a"}});
    size_t sizeAt = good.size() - 143;
    size_t blockStart = good.find("LYRICSBEGIN");
    auto refused = [](std::string bytes) {
        MemoryFile file(std::move(bytes));
        std::string lyrics;
        return readLyrics3(file, lyrics) == 0;
    };
    std::string beforeFile = good;
    beforeFile.replace(sizeAt, 6, "999999");
    EXPECT_TRUE(refused(beforeFile));
    std::string notDigits = good;
    notDigits.replace(sizeAt, 6, "abcdef");
    EXPECT_TRUE(refused(notDigits));
    std::string tooSmall = good;
    tooSmall.replace(sizeAt, 6, "000005");
    EXPECT_TRUE(refused(tooSmall));
    std::string skipPastBlock = good;
    skipPastBlock.replace(blockStart + 14, 5, "99999");  // the IND field's size
    EXPECT_TRUE(refused(skipPastBlock));
    std::string sizeNotDigits = good;
    sizeNotDigits.replace(blockStart + 14, 5, "x0002");
    EXPECT_TRUE(refused(sizeNotDigits));
    std::string noMarker = good;
    noMarker.replace(good.size() - 137, 9, "LYRICS100");
    EXPECT_TRUE(refused(noMarker));
    EXPECT_TRUE(refused(good.substr(good.size() - 142)));
    EXPECT_FALSE(refused(good));
}

TEST(Lyrics3, LyricsFieldIsCutAtTheBlockEndAndAtTheTextLimit) {
    std::string song = songWithLyrics3({{"LYR", "[00:01]abcdef"}});
    size_t lyrSize = song.find("LYR", song.find("LYRICSBEGIN") + 11) + 3;
    song.replace(lyrSize, 5, "00100");  // claims more than the block holds
    MemoryFile overrun(song);
    std::string lyrics;
    ASSERT_EQ(readLyrics3(overrun, lyrics), 1);
    EXPECT_EQ(lyrics, "[00:01]abcdef");

    std::string block = "LYRICSBEGIN" + std::string("LYR") + "99999" + std::string(99999, 'y');
    MemoryFile large("audio" + block + digits(block.size(), 6) + "LYRICS200" + id3v1("", ""));
    ASSERT_EQ(readLyrics3(large, lyrics), 1);
    EXPECT_EQ(lyrics.size(), kMaxLyricsBytes);
}
