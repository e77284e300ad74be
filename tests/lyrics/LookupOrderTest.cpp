// The sources on this machine in their stated order: a song with lyrics in every place shows the
// first place's, and each further place once the places before it are emptied; where a saved
// timing of the lyrics goes is what their source says.
#include "lyrics/LookupOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/TaggedSongs.h"

namespace {

const std::string kSong = "C:\\Music\\song.mp3";
const std::string kCopy = "E:\\L\\Standin - Song.lrc";

// The song's ID3v2 lyrics (a SYLT), then a Lyrics3 tag when asked, and an ID3v1 block naming
// nobody: the song is named by its playlist title.
std::string songBytes(bool withLyrics3) {
    std::string block = "LYRICSBEGINLYR00014[00:01]Lyrics3";
    std::string lyrics3 = withLyrics3 ? block + "0000" + std::to_string(block.size()) + "LYRICS200" : "";
    return taggedSongBytes("sylt-ms.mp3") + lyrics3 + "TAG" + std::string(125, '\0');
}

// The first source that finds lyrics for the song on its own.
const LyricsSource* firstFinding(FakeLyricsEnvironment& environment, const LookupOptions& options) {
    for (const LyricsSource* source : lookupOrder()) {
        LyricsDocument document;
        LookupSong song(kSong);
        if (source->lookUp(document, song, options, environment)) return source;
    }
    return nullptr;
}

}  // namespace

TEST(LookupOrder, EachPlaceIsShownOnceThePlacesBeforeItAreEmptyAndNamesWhereItsTimingIsSaved) {
    FakeLyricsEnvironment environment;
    environment.hostTitle = "Standin - Song";
    environment.files = {{kSong, songBytes(true)},
                         {"C:\\Music\\song.lrc", "[00:01]beside"},
                         {"D:\\Lyrics\\x\\song.kra", "[00:01]folder"},
                         {kCopy, "[00:01]copy"}};
    ASSERT_GT(environment.files[kSong].size(), 1000u);
    LookupOptions options;
    options.lyricsFolder = "D:\\Lyrics";
    options.downloadFolder = "E:\\L";

    // What each lookup shows: "<first line> <lyricsFile> <downloadCopy>".
    std::vector<std::string> shown;
    auto lookUp = [&] {
        const LyricsSource* first = firstFinding(environment, options);
        LyricsDocument document;
        LookupSong song(kSong);
        int loaded = lookUpLyrics(lookupOrder(), document, song, options, environment);
        EXPECT_EQ(loaded != 0, first != nullptr);
        if (!loaded) return;
        SCOPED_TRACE(first->name());
        shown.push_back(document.lines[0].text + " " + document.lyricsFile + " " + document.downloadCopy);
        // Lyrics in a file of their own keep their timing there; the others in the song's copy.
        EXPECT_EQ(!document.lyricsFile.empty(), first->takesSavedTiming());
        EXPECT_EQ(!document.downloadCopy.empty(), !first->takesSavedTiming());
    };

    lookUp();
    environment.files.erase("C:\\Music\\song.lrc");
    lookUp();
    environment.files.erase("D:\\Lyrics\\x\\song.kra");
    environment.tree.changed = 1;
    lookUp();
    environment.files.erase(kCopy);
    lookUp();
    environment.files[kSong] = songBytes(false);
    lookUp();
    environment.files[kSong] = "no tags at all";
    lookUp();
    EXPECT_EQ(shown, (std::vector<std::string>{"beside C:\\Music\\song.lrc ", "folder D:\\Lyrics\\x\\song.kra ",
                                               "copy " + kCopy + " ", "Lyrics3  " + kCopy, "First line  " + kCopy}));
}
