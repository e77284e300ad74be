#include <gtest/gtest.h>

#include <map>
#include <string>

#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/TaggedSongs.h"
#include "lyrics/LyricsParser.h"
#include "online/LrclibAnswer.h"
#include "online/OnlineMisses.h"
#include "online/OnlineSearch.h"
#include "online/SongQuery.h"

namespace {

// Answers by URL; an unknown URL is a request that failed.
class ScriptedClient : public HttpClient {
public:
    std::map<std::string, HttpAnswer> answers;
    std::vector<std::string> asked;
    int get(const std::string& url, HttpAnswer& answer) override {
        asked.push_back(url);
        auto it = answers.find(url);
        if (it == answers.end()) {
            answer.failure = "timed out";
            return 0;
        }
        answer = it->second;
        return 1;
    }
};

const char kServer[] = "http://127.0.0.1:8080/";

OnlineQuery song() {
    OnlineQuery query;
    query.track = u8"Sakura & Co/夜";
    query.artist = "AC DC";
    query.album = "Best";
    query.durationSeconds = 200;
    return query;
}

const std::string kGet = "http://127.0.0.1:8080/api/get?track_name=Sakura%20%26%20Co%2F%E5%A4%9C"
                         "&artist_name=AC%20DC&album_name=Best&duration=200";
const std::string kSearch = "http://127.0.0.1:8080/api/search?track_name=Sakura%20%26%20Co%2F%E5%A4%9C"
                            "&artist_name=AC%20DC";

std::string record(double duration, const std::string& synced, bool instrumental = false) {
    return "{\"id\":1,\"trackName\":\"Sakura\",\"artistName\":\"AC DC\",\"albumName\":\"Best\",\"duration\":" +
           std::to_string(duration) + ",\"instrumental\":" + (instrumental ? "true" : "false") +
           ",\"plainLyrics\":\"plain\",\"syncedLyrics\":" + synced + "}";
}

}  // namespace

TEST(LrclibSearch, ExactMatchIsTakenWithoutSearching) {
    ScriptedClient client;
    client.answers[kGet] = {200, record(200.4, "\"[00:01.00]one\\n[00:02.00]two\""), ""};
    SearchOutcome outcome = searchLrclib(kServer, song(), client);
    ASSERT_EQ(outcome.answer.kind, AnswerKind::kLyrics);
    EXPECT_EQ(client.asked, std::vector<std::string>{kGet});
    EXPECT_EQ(lyricsFileFor(outcome.answer.record, song()),
              "[ti:Sakura]\r\n[ar:AC DC]\r\n[al:Best]\r\n[length:3:20]\r\n[00:01.00]one\r\n[00:02.00]two\r\n");
}

TEST(LrclibSearch, NotFoundSearchesAndTakesTheClosestCandidateWithinTwoSeconds) {
    ScriptedClient client;
    client.answers[kGet] = {404, "{\"code\":404,\"name\":\"TrackNotFound\"}", ""};
    client.answers[kSearch] = {200,
                               "[" + record(210, "\"[00:01]far\"") + "," + record(198.5, "\"[00:01]near\"") + "," +
                                   record(200.9, "\"[00:01]nearest\"") + "," + record(200, "null") + "," +
                                   "17,{\"duration\":\"200\"}]",
                               ""};
    SearchOutcome outcome = searchLrclib(kServer, song(), client);
    ASSERT_EQ(outcome.answer.kind, AnswerKind::kLyrics);
    EXPECT_EQ(outcome.answer.record.syncedLyrics, "[00:01]nearest");  // the exact one has no timing
    EXPECT_EQ(client.asked, (std::vector<std::string>{kGet, kSearch}));

    // Only candidates off by more than two seconds: no lyrics, remembered as a miss.
    client.answers[kSearch] = {200, "[" + record(203.5, "\"[00:01]far\"") + "]", ""};
    outcome = searchLrclib(kServer, song(), client);
    EXPECT_EQ(outcome.answer.kind, AnswerKind::kNoLyrics);
    EXPECT_TRUE(isRememberedMiss(outcome.answer.kind));

    // A record of the wrong length from the exact lookup is no match either.
    client.answers[kGet] = {200, record(260, "\"[00:01]other version\""), ""};
    EXPECT_EQ(searchLrclib(kServer, song(), client).answer.kind, AnswerKind::kNoLyrics);
}

TEST(LrclibSearch, InstrumentalAndPlainOnlyAreMissesButFailuresAreNot) {
    ScriptedClient client;
    client.answers[kGet] = {200, record(200, "null", true), ""};
    EXPECT_EQ(searchLrclib(kServer, song(), client).answer.kind, AnswerKind::kInstrumental);
    client.answers[kGet] = {200, record(200, "\"  \\n\""), ""};
    EXPECT_EQ(searchLrclib(kServer, song(), client).answer.kind, AnswerKind::kNoLyrics);

    // Nothing is concluded from a fault: the song is asked again on its next play.
    for (HttpAnswer broken : {HttpAnswer{500, "oops", ""}, HttpAnswer{200, "{\"syncedLyrics\": \"[00:01]x", ""},
                              HttpAnswer{200, "[]", ""}, HttpAnswer{200, "\"text\"", ""}}) {
        client.answers[kGet] = broken;
        SearchOutcome outcome = searchLrclib(kServer, song(), client);
        EXPECT_EQ(outcome.answer.kind, AnswerKind::kUnusable) << broken.body;
        EXPECT_FALSE(isRememberedMiss(outcome.answer.kind));
    }
    client.answers.erase(kGet);  // timed out
    SearchOutcome outcome = searchLrclib(kServer, song(), client);
    EXPECT_EQ(outcome.answer.kind, AnswerKind::kUnusable);
    EXPECT_EQ(outcome.steps.back().answer.failure, "timed out");
}

TEST(LrclibSearch, SavedFileKeepsTagsOnTheirLinesAndReadsBackAsTheLyrics) {
    LrclibRecord arrived;
    arrived.track = "A]\n[ti:B";
    arrived.durationSeconds = -1;  // none given: the song's own length
    arrived.syncedLyrics = "[00:01.00]first\r[00:02.50]second\r\n\n[00:03.00]" + std::string(u8"三番");
    OnlineQuery query = song();
    query.album.clear();
    std::string file = lyricsFileFor(arrived, query);
    EXPECT_EQ(file.substr(0, file.find("[00:01")), "[ti:A ti:B]\r\n[ar:AC DC]\r\n[al:]\r\n[length:3:20]\r\n");

    struct CountedWarnings : LyricsWarnings {
        int count = 0;
        void malformedTag(int32_t, int32_t) override { ++count; }
    } warnings;
    LyricsDocument document;
    ASSERT_EQ(parseLyrics(document, file.data(), file.size(), 1, warnings), 1);
    ASSERT_EQ(document.lineCount(), 3);
    EXPECT_EQ(document.lines[2].text, u8"三番");
    EXPECT_EQ(warnings.count, 0);
}

TEST(SongQuery, TagsInTheAnsiCodePageFirstThenThePlaylistTitle) {
    FakeLyricsEnvironment environment;
    for (const char* song : {"uslt.mp3", "id3v1.mp3", "lyr.m4a"})
        environment.files[std::string("C:\\") + song] = taggedSongBytes(song);
    // ID3v2 Latin-1 frames and ID3v1 fields hold Shift-JIS bytes, as Japanese taggers write them.
    OnlineQuery query = songQuery("C:\\uslt.mp3", "Playlist - Title", environment);
    EXPECT_EQ(query.track, u8"夜明けの歌");
    EXPECT_EQ(query.artist, u8"桜");
    EXPECT_EQ(query.album, u8"Album 夜明け");
    EXPECT_EQ(query.durationSeconds, 2);  // a hundred MPEG frames: 2.6 s
    query = songQuery("C:\\id3v1.mp3", nullptr, environment);
    EXPECT_EQ(query.track + "/" + query.artist + "/" + query.album, u8"夜明け/桜/");
    // No title and artist in the tags: the playlist title's.
    query = songQuery("C:\\lyr.m4a", "Someone - Song", environment);
    EXPECT_EQ(query.track + "/" + query.artist, "Song/Someone");
    query = songQuery("C:\\missing.mp3", nullptr, environment);
    EXPECT_FALSE(queryIsComplete(query));
}

TEST(QueryFromTitle, SplitsArtistAndTitleAtTheFirstDash) {
    OnlineQuery query;
    ASSERT_EQ(queryFromTitle(" Artist  -  Song - Live ", query), 1);
    EXPECT_EQ(query.artist, "Artist");
    EXPECT_EQ(query.track, "Song - Live");
    for (const char* unsplittable : {"Song", "Artist -Song", " - Song", "Artist - "})
        EXPECT_EQ(queryFromTitle(unsplittable, query), 0) << unsplittable;
}

TEST(OnlineMisses, KeepsAWeekOfWellFormedLinesBoundedInNumber) {
    const int64_t now = 1'800'000'000;
    OnlineMisses misses;
    misses.read("1799999000 a\tb\t\t200\n"
                "1700000000 too old\n"
                "1800000500 from the future\n"
                "garbage\n 12 leading space\n99999999999999999999 overflow\n1799999999 \n"
                "1799990000 kept\r\n",
                now);
    EXPECT_TRUE(misses.contains("a\tb\t\t200"));
    EXPECT_TRUE(misses.contains("kept"));
    EXPECT_EQ(misses.text(), "1799990000 kept\n1799999000 a\tb\t\t200\n");

    misses.add("kept", now);  // again: moved to the newest
    misses.add("two\nlines", now);
    EXPECT_EQ(misses.text(), "1799999000 a\tb\t\t200\n1800000000 kept\n");

    for (size_t i = 0; i < kMaxMisses + 5; ++i) misses.add("song " + std::to_string(i), now);
    OnlineMisses reread;
    reread.read(misses.text(), now + 1);
    EXPECT_FALSE(reread.contains("kept"));
    EXPECT_TRUE(reread.contains("song " + std::to_string(kMaxMisses + 4)));
    reread.read(misses.text(), now + kMissKeptSeconds);
    EXPECT_EQ(reread.text(), "");
}
