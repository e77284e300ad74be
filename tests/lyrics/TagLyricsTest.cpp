// Lyrics inside songs: every kind of tag as a tagger of its own wrote it, read through the lookup
// as the plug-in reads it, and the place of the tags among the other sources.
#include "lyrics/TagLyrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DocumentDump.h"
#include "FakeLyricsEnvironment.h"
#include "TaggedSongs.h"
#include "lyrics/BesideSongSource.h"
#include "lyrics/LookupOrder.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/SongTagsSource.h"

namespace {

const std::string kFolder = "C:\\Music\\";

struct TagLookup {
    LyricsDocument document;
    FakeLyricsEnvironment environment;
    LookupOptions options;
    // Puts the tagged song into the folder and looks its lyrics up.
    int lookup(const std::string& song) {
        std::string path = kFolder + song;
        if (!environment.files.count(path)) environment.files[path] = taggedSongBytes(song);
        LookupSong lookedUp(path);
        return lookUpLyrics(lookupOrder(), document, lookedUp, options, environment);
    }
};

std::string dump(const LyricsDocument& document) { return dumpDocument(document, document.loaded, {}); }

}  // namespace

TEST(TagLyrics, TimedTextOfEveryTagKindLoadsAsTheSameTextInALyricsFile) {
    TagLookup reference;
    reference.environment.files = {{kFolder + "reference.lrc", kTaggedLrc}};
    ASSERT_EQ(loadFromSource(BesideSongSource(), reference.document, (kFolder + "reference.mp3").c_str(), 1,
                             reference.environment),
              1);
    const std::string expected = dump(reference.document);

    struct Song {
        const char* name;
        const char* field;
        TextEncoding encoding;
    };
    // Plain text before the timed one (xiph.flac's LYRICS, freeform.m4a's ©lyr) does not count.
    for (const Song& song :
         {Song{"xiph.flac", "SYNCEDLYRICS", TextEncoding::kUtf8}, Song{"opus.opus", "LYRICS", TextEncoding::kUtf8},
          Song{"lyr.m4a", u8"©lyr", TextEncoding::kUtf8},
          Song{"freeform.m4a", "----:com.apple.iTunes:Lyrics", TextEncoding::kUtf8},
          Song{"ape.mp3", "Lyrics", TextEncoding::kUtf8}, Song{"asf.wma", "WM/Lyrics", TextEncoding::kUtf16Le}}) {
        SCOPED_TRACE(song.name);
        TagLookup l;
        ASSERT_EQ(l.lookup(song.name), 1);
        EXPECT_EQ(dump(l.document), expected);
        EXPECT_EQ(l.document.tagField, song.field);
        EXPECT_EQ(l.document.encoding, song.encoding);
    }
}

TEST(TagLyrics, JapaneseLyricsInUtf8AndInLatin1FramesHoldingShiftJis) {
    TagLookup vorbis;
    ASSERT_EQ(vorbis.lookup("vorbis.ogg"), 1);
    EXPECT_EQ(vorbis.document.tagField, "UNSYNCED LYRICS");
    const std::vector<std::string> lines = {u8"桜の歌 0@200 9@400", u8"夜明け 0@400 9@700"};
    EXPECT_EQ(linesWithMarks(vorbis.document), lines);

    // The plain USLT comes first and is passed over; the timed one is read in the ANSI code page.
    TagLookup uslt;
    ASSERT_EQ(uslt.lookup("uslt.mp3"), 1);
    EXPECT_EQ(uslt.document.tagField, "USLT");
    EXPECT_EQ(linesWithMarks(uslt.document), lines);
    EXPECT_EQ(encodingName(uslt.document.encoding, uslt.document.ansiCodePage), "ansi-932");
}

namespace {

std::string bigEndian(size_t value, int bytes, int bitsPerByte) {
    std::string out;
    for (int n = bytes - 1; n >= 0; --n)
        out += static_cast<char>(value >> (n * bitsPerByte) & ((1u << bitsPerByte) - 1));
    return out;
}

// An ID3v2.3 frame without flags, and a tag of such frames (its size in 7-bit bytes).
std::string id3v23Frame(const std::string& name, const std::string& data) {
    return name + bigEndian(data.size(), 4, 8) + std::string(2, '\0') + data;
}
std::string id3v23Tag(const std::string& frames) {
    return std::string("ID3\x03\0\0", 6) + bigEndian(frames.size(), 4, 7) + frames;
}

}  // namespace

TEST(TagLyrics, Id3v2EncodingByteOfNoEncodingReadsAsLatin1) {
    // Byte 85 names none of ID3v2's four encodings: the texts are Shift-JIS, as a Latin-1 one
    // would hold them on a Japanese system. Their byte counts are even: TagLib reads such a text
    // two bytes at a time and loses an odd last byte.
    const char encoding = 85;
    auto sjis = [](const std::u16string& text) { return FakeLyricsEnvironment::shiftJis(text); };
    std::string sylt = std::string(1, encoding) + "jpn\x02\x01" + '\0' + sjis(u"桜の歌") + '\0' +
                       bigEndian(1000, 4, 8) + sjis(u"夜明け") + '\0' + bigEndian(3000, 4, 8);
    std::string uslt = std::string(1, encoding) + "jpn" + '\0' + sjis(u"[00:02.00]桜の歌\r\n[00:04.00]夜明け");
    std::string title = std::string(1, encoding) + sjis(u"夜明けの歌");
    std::string artist = std::string(1, encoding) + sjis(u"桜");
    FakeLyricsEnvironment environment;
    MemoryFile song(id3v23Tag(id3v23Frame("SYLT", sylt) + id3v23Frame("USLT", uslt) + id3v23Frame("TIT2", title) +
                              id3v23Frame("TPE1", artist)));

    std::vector<TagLyrics> found = readTagLyrics(song, "C:\\Music\\song.mp3", environment);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].field, "SYLT");
    EXPECT_EQ(found[0].encoding, TextEncoding::kAnsi);
    ASSERT_EQ(found[0].entries.size(), 2u);
    EXPECT_EQ(found[0].entries[0].text, u8"桜の歌");
    EXPECT_EQ(found[0].entries[1].text, u8"夜明け");
    EXPECT_EQ(found[1].field, "USLT");
    EXPECT_EQ(found[1].encoding, TextEncoding::kAnsi);
    EXPECT_EQ(found[1].text, u8"[00:02.00]桜の歌\r\n[00:04.00]夜明け");

    SongTitles titles;
    EXPECT_EQ(readSongTitles(song, "C:\\Music\\song.mp3", environment, titles), 1);
    EXPECT_EQ(titles.title, u8"夜明けの歌");
    EXPECT_EQ(titles.artist, u8"桜");
}

TEST(TagLyrics, SyltOfContentTypeLyricsComesBeforeOtherSyltAndBeforeUslt) {
    TagLookup l;
    ASSERT_EQ(l.lookup("sylt-ms.mp3"), 1);
    EXPECT_EQ(l.document.tagField, "SYLT");
    // An entry without text ends the line before it; the last line is held for three seconds.
    EXPECT_EQ(
        linesWithMarks(l.document),
        (std::vector<std::string>{"First line 0@100 10@350", "Second line 0@350 11@500", "Third line 0@600 10@900"}));
}

TEST(TagLyrics, SyltInMpegFramesCountsTheStreamsOwnFrames) {
    // MPEG-2 layer III at 16 kHz: 576 samples, 36 ms a frame; entries at frames 100 and 250.
    TagLookup l;
    ASSERT_EQ(l.lookup("sylt-frames.mp3"), 1);
    EXPECT_EQ(linesWithMarks(l.document),
              (std::vector<std::string>{"Frame one 0@360 9@900", "Frame two 0@900 9@1200"}));
}

TEST(TagLyrics, SyltWordByWordMakesKaraokeLines) {
    TagLookup l;
    ASSERT_EQ(l.lookup("sylt-words.mp3"), 1);
    EXPECT_EQ(linesWithMarks(l.document), (std::vector<std::string>{"Hello world (karaoke) 0@100 3@150 6@200 11@400",
                                                                    "Second (karaoke) 0@400 2@450 6@750"}));
}

TEST(TagLyrics, PlainTextIsNoLyricsToShowAndTheLookupComesBackEmpty) {
    TagLookup l;
    EXPECT_EQ(l.lookup("plain.flac"), 0);
    EXPECT_EQ(l.document.loaded, 0);
    // Nothing to read: a song without tags, one that is not there, one that is no audio.
    l.environment.files[kFolder + "silence.mp3"] = std::string(5000, '\0');
    EXPECT_EQ(l.lookup("silence.mp3"), 0);
    l.environment.files[kFolder + "noise.flac"] = std::string(5000, '\xFF');
    EXPECT_EQ(l.lookup("noise.flac"), 0);
    EXPECT_EQ(loadFromSource(SongTagsSource(), l.document, "C:\\Music\\missing.ogg", 1, l.environment), 0);
}

TEST(TagLyrics, ComeAfterLyricsFilesBesideTheSongUnderLyricsPathAndTheLyrics3Tag) {
    TagLookup l;
    l.options.lyricsFolder = "D:\\Lyrics";
    l.environment.files[kFolder + "xiph.lrc"] = "[00:01]beside";
    l.environment.files["D:\\Lyrics\\x\\xiph.kra"] = "[00:01]in the folder";
    ASSERT_EQ(l.lookup("xiph.flac"), 1);
    EXPECT_EQ(l.document.lines[0].text, "beside");
    EXPECT_EQ(l.document.tagField, "");
    l.environment.files.erase(kFolder + "xiph.lrc");
    ASSERT_EQ(l.lookup("xiph.flac"), 1);
    EXPECT_EQ(l.document.lines[0].text, "in the folder");
    l.environment.files.erase("D:\\Lyrics\\x\\xiph.kra");
    l.environment.tree.changed = 1;
    ASSERT_EQ(l.lookup("xiph.flac"), 1);
    EXPECT_EQ(l.document.tagField, "SYNCEDLYRICS");

    // An MP3 with ID3v2 lyrics and a Lyrics3 tag at its end: the Lyrics3 tag wins.
    std::string block = "LYRICSBEGINLYR00017[00:01]in Lyrics3";
    std::string song = taggedSongBytes("sylt-ms.mp3") + block + "0000" + std::to_string(block.size()) + "LYRICS200" +
                       "TAG" + std::string(125, '\0');
    l.environment.files[kFolder + "both.mp3"] = song;
    ASSERT_EQ(l.lookup("both.mp3"), 1);
    EXPECT_EQ(l.document.lines[0].text, "in Lyrics3");
    EXPECT_EQ(l.document.tagField, "");
}

namespace {

// A file that records how far anything asked to read.
class WatchedFile : public MemoryFile {
public:
    explicit WatchedFile(const std::string& bytes) : MemoryFile(bytes), bytes(bytes.size()) {}
    size_t read(int64_t offset, char* buffer, size_t count) override {
        EXPECT_GE(offset, 0);
        EXPECT_LE(static_cast<uint64_t>(offset) + count, bytes) << "read past the end";
        return MemoryFile::read(offset, buffer, count);
    }

private:
    size_t bytes;
};

}  // namespace

TEST(TagLyrics, SongsCutShortAtEitherEndAreReadWithinTheirBytes) {
    FakeLyricsEnvironment environment;
    for (const char* name : {"sylt-ms.mp3", "sylt-words.mp3", "uslt.mp3", "xiph.flac", "vorbis.ogg", "opus.opus",
                             "lyr.m4a", "freeform.m4a", "ape.mp3", "asf.wma"}) {
        std::string song = taggedSongBytes(name);
        ASSERT_FALSE(song.empty()) << name;
        // Tags lie at the start of most songs and at the end of some (APEv2): cut finely there.
        for (size_t cut = 0; cut < song.size(); cut += cut < 2048 || cut + 2048 > song.size() ? 7 : 1009) {
            for (const std::string& part : {song.substr(0, cut), song.substr(cut)}) {
                WatchedFile file(part);
                readTagLyrics(file, name, environment);
            }
        }
    }
}

TEST(TagLyrics, TitlesComeFieldByFieldFromTheFirstTagThatHoldsThem) {
    FakeLyricsEnvironment environment;
    // A format TagLib does not read, ending in an ID3v1 block all the same.
    const std::string raw =
        std::string(1000, 'U') + "TAG" + "Raw title" + std::string(21, ' ') + "Raw artist" + std::string(85, '\0');
    const std::pair<const char*, std::string> songs[] = {
        {"titles.mp3", u8"夜空の星/Café Band/APE Album"},  // ID3v2, then APEv2 for the album; not ID3v1
        {"titles.flac", "Xiph Title/Xiph Artist/"},       {"titles.m4a", "MP4 Title/MP4 Artist/"},
        {"titles.wma", "ASF Title/ASF Artist/"},          {"song.xyz", "Raw title/Raw artist/"},
    };
    for (const auto& [song, expected] : songs) {
        MemoryFile file(std::string(song) == "song.xyz" ? raw : taggedSongBytes(song));
        SongTitles titles;
        readSongTitles(file, song, environment, titles);
        EXPECT_EQ(titles.title + "/" + titles.artist + "/" + titles.album, expected) << song;
    }
}
