#include <gtest/gtest.h>

#include <map>
#include <string>

#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongNames.h"
#include "lyrics/TaggedSongs.h"
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
    int lookups = 0;
    void beginLookup() override { ++lookups; }
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

HttpAnswer answered(int status, const std::string& body) {
    HttpAnswer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

HttpAnswer redirect(int status, const char* location) {
    HttpAnswer answer = answered(status, "");
    answer.location = location;
    return answer;
}

OnlineQuery song() {
    OnlineQuery query;
    query.track = u8"Sakura & Co/夜";
    query.artist = "AC DC";
    query.album = "Best";
    query.durationSeconds = 200;
    return query;
}

const std::string kGet =
    "http://127.0.0.1:8080/api/get?track_name=Sakura%20%26%20Co%2F%E5%A4%9C"
    "&artist_name=AC%20DC&album_name=Best&duration=200";
const std::string kSearch =
    "http://127.0.0.1:8080/api/search?track_name=Sakura%20%26%20Co%2F%E5%A4%9C"
    "&artist_name=AC%20DC";

std::string record(double duration, const std::string& synced, bool instrumental = false) {
    return "{\"id\":1,\"trackName\":\"Sakura\",\"artistName\":\"AC DC\",\"albumName\":\"Best\",\"duration\":" +
           std::to_string(duration) + ",\"instrumental\":" + (instrumental ? "true" : "false") +
           ",\"plainLyrics\":\"plain\",\"syncedLyrics\":" + synced + "}";
}

}  // namespace

TEST(LrclibSearch, ExactMatchIsTakenWithoutSearching) {
    ScriptedClient client;
    client.answers[kGet] = answered(200, record(200.4, "\"[00:01.00]one\\n[00:02.00]two\""));
    SearchOutcome outcome = searchLrclib(kServer, song(), client);
    ASSERT_EQ(outcome.answer.kind, AnswerKind::kLyrics);
    EXPECT_EQ(client.asked, std::vector<std::string>{kGet});
    // The copy names the song as its tags do, whatever the service calls it.
    EXPECT_EQ(outcome.file,
              u8"[ti:Sakura & Co/夜]\r\n[ar:AC DC]\r\n[al:Best]\r\n[length:3:20]\r\n"
              "[00:01.00]one\r\n[00:02.00]two\r\n");
    EXPECT_EQ(client.lookups, 1);
}

TEST(LrclibSearch, NotFoundSearchesAndTakesTheClosestCandidateWithinTwoSeconds) {
    ScriptedClient client;
    client.answers[kGet] = answered(404, "{\"code\":404,\"name\":\"TrackNotFound\"}");
    client.answers[kSearch] =
        answered(200, "[" + record(210, "\"[00:01]far\"") + "," + record(198.5, "\"[00:01]near\"") + "," +
                          record(200.9, "\"[00:01]nearest\"") + "," + record(200, "null") + "]");
    SearchOutcome outcome = searchLrclib(kServer, song(), client);
    ASSERT_EQ(outcome.answer.kind, AnswerKind::kLyrics);
    EXPECT_EQ(outcome.answer.record.syncedLyrics, "[00:01]nearest");  // the exact one has no timing
    EXPECT_EQ(client.asked, (std::vector<std::string>{kGet, kSearch}));

    // Only candidates off by more than two seconds: no lyrics, remembered as a miss.
    client.answers[kSearch] = answered(200, "[" + record(203.5, "\"[00:01]far\"") + "]");
    outcome = searchLrclib(kServer, song(), client);
    EXPECT_EQ(outcome.answer.kind, AnswerKind::kNoLyrics);
    EXPECT_TRUE(isRememberedMiss(outcome.answer.kind));

    // A record of the wrong length from the exact lookup is no match either.
    client.answers[kGet] = answered(200, record(260, "\"[00:01]other version\""));
    EXPECT_EQ(searchLrclib(kServer, song(), client).answer.kind, AnswerKind::kNoLyrics);
}

TEST(LrclibSearch, OnlyWellFormedAnswersAreMissesAndAnythingElseIsAFault) {
    const std::string notFound = "{\"code\":404,\"name\":\"TrackNotFound\"}";
    const std::string lyrics = "\"[00:01]x\"";
    std::string deepObject;
    for (int i = 0; i < 100000; ++i) deepObject += "{\"a\":";
    deepObject += "1" + std::string(100000, '}');
    const std::string deepArray = std::string(100000, '[') + std::string(100000, ']');
    std::string longLyrics;
    for (int i = 0; longLyrics.size() < 900000; ++i) longLyrics += "[00:" + std::to_string(10 + i % 50) + ".00]line\\n";
    struct Kind {
        const char* what;
        HttpAnswer get;
        HttpAnswer search;  // asked after a 404 only
        AnswerKind kind;
    };
    const Kind kinds[] = {
        {"lyrics", answered(200, record(200, lyrics)), {}, AnswerKind::kLyrics},
        // Answers that say there is nothing to show: remembered.
        {"instrumental", answered(200, record(200, "null", true)), {}, AnswerKind::kInstrumental},
        {"plain lyrics only", answered(200, record(200, "null")), {}, AnswerKind::kNoLyrics},
        {"blank synced lyrics", answered(200, record(200, "\"  \\n\"")), {}, AnswerKind::kNoLyrics},
        {"404, then an empty search", answered(404, notFound), answered(200, "[]"), AnswerKind::kNoLyrics},
        {"another length, then no candidate", answered(200, record(260, lyrics)),
         answered(200, "[" + record(210, lyrics) + "]"), AnswerKind::kNoLyrics},
        // Faults: asked again the next time.
        {"status 500", answered(500, "oops"), {}, AnswerKind::kUnusable},
        {"404 of a web page", answered(404, "<html>Not Found</html>"), {}, AnswerKind::kUnusable},
        {"broken JSON", answered(200, "{\"syncedLyrics\": \"[00:01]x"), {}, AnswerKind::kUnusable},
        {"no record", answered(200, "[]"), {}, AnswerKind::kUnusable},
        {"a string", answered(200, "\"text\""), {}, AnswerKind::kUnusable},
        {"duration as text",
         answered(200, "{\"duration\":\"200\",\"syncedLyrics\":" + lyrics + "}"),
         {},
         AnswerKind::kUnusable},
        {"synced lyrics an object", answered(200, record(200, "{\"text\":" + lyrics + "}")), {}, AnswerKind::kUnusable},
        {"track name a number",
         answered(200, "{\"trackName\":7,\"duration\":200,\"syncedLyrics\":null}"),
         {},
         AnswerKind::kUnusable},
        {"instrumental as text",
         answered(200, "{\"instrumental\":\"yes\",\"duration\":200,\"syncedLyrics\":null}"),
         {},
         AnswerKind::kUnusable},
        {"no synced lyrics field", answered(200, "{\"duration\":200}"), {}, AnswerKind::kUnusable},
        {"an object 100000 deep", answered(200, deepObject), {}, AnswerKind::kUnusable},
        {"an array 100000 deep", answered(200, deepArray), {}, AnswerKind::kUnusable},
        {"a search listing junk", answered(404, notFound), answered(200, "[" + record(200, lyrics) + ",17]"),
         AnswerKind::kUnusable},
        {"a search of an object", answered(404, notFound), answered(200, record(200, lyrics)), AnswerKind::kUnusable},
        {"zero characters in the lyrics",
         answered(200, record(200, "\"[00:01]a\\u0000b\"")),
         {},
         AnswerKind::kUnusable},
        {"lyrics longer than a file is read",
         answered(200, record(200, "\"" + longLyrics + "\"")),
         {},
         AnswerKind::kUnusable},
        {"a redirect without an address", answered(302, ""), {}, AnswerKind::kUnusable},
        {"no answer", {}, {}, AnswerKind::kUnusable},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.what);
        ScriptedClient client;
        if (kind.get.status) client.answers[kGet] = kind.get;
        if (kind.search.status) client.answers[kSearch] = kind.search;
        SearchOutcome outcome = searchLrclib(kServer, song(), client);
        EXPECT_EQ(outcome.answer.kind, kind.kind);
        bool miss = kind.kind != AnswerKind::kLyrics && kind.kind != AnswerKind::kUnusable;
        EXPECT_EQ(isRememberedMiss(outcome.answer.kind), miss);
        EXPECT_EQ(outcome.file.empty(), kind.kind != AnswerKind::kLyrics);
    }
}

TEST(LrclibSearch, RedirectsAreFollowedOnTheServerOnlyAndAtMostThreeTimes) {
    const std::string server = "http://Example.org/lrclib/";
    const std::string get =
        "http://Example.org/lrclib/api/get?track_name=Sakura%20%26%20Co%2F%E5%A4%9C"
        "&artist_name=AC%20DC&album_name=Best&duration=200";
    ScriptedClient client;
    // Relative to the request, from the root, without the scheme, and written out in full with
    // the default port: all the same server.
    client.answers[get] = redirect(302, "moved?a");
    client.answers["http://Example.org/lrclib/api/moved?a"] = redirect(301, "/b#fragment");
    client.answers["http://Example.org/b"] = redirect(307, "//example.ORG:80/c");
    client.answers["http://example.ORG:80/c"] = answered(200, record(200, "\"[00:01]moved\""));
    SearchOutcome outcome = searchLrclib(server, song(), client);
    EXPECT_EQ(outcome.answer.kind, AnswerKind::kLyrics);
    EXPECT_EQ(client.asked.size(), 4u);
    EXPECT_EQ(outcome.steps.size(), 4u);

    // A fourth is not followed.
    client.answers["http://example.ORG:80/c"] = redirect(308, "/d");
    client.answers["http://example.ORG:80/d"] = answered(200, record(200, "\"[00:01]too far\""));
    client.asked.clear();
    outcome = searchLrclib(server, song(), client);
    EXPECT_EQ(outcome.answer.kind, AnswerKind::kUnusable);
    EXPECT_EQ(client.asked.size(), 4u);
    EXPECT_NE(outcome.fault.find("more than 3 redirects"), std::string::npos) << outcome.fault;

    // Another host, port or scheme never hears of the song, and nothing is concluded.
    for (const char* elsewhere :
         {"http://localhost/lrclib/api/get?x", "http://example.org:8080/x", "https://example.org/x",
          "http://example.org.evil/x", "http://user@evil/x", "javascript:alert(1)"}) {
        SCOPED_TRACE(elsewhere);
        client.answers[get] = redirect(302, elsewhere);
        client.asked.clear();
        outcome = searchLrclib(server, song(), client);
        EXPECT_EQ(outcome.answer.kind, AnswerKind::kUnusable);
        EXPECT_FALSE(isRememberedMiss(outcome.answer.kind));
        EXPECT_EQ(client.asked, std::vector<std::string>{get});
        EXPECT_NE(outcome.fault.find("not followed"), std::string::npos) << outcome.fault;
    }
}

TEST(LrclibSearch, AServerAddressKeepsItsPathAndOneWithAQueryAsksNothing) {
    ScriptedClient client;
    searchLrclib("http://127.0.0.1:8080/sub/path//", song(), client);
    ASSERT_FALSE(client.asked.empty());
    EXPECT_EQ(client.asked[0].rfind("http://127.0.0.1:8080/sub/path/api/get?track_name=", 0), 0u) << client.asked[0];

    const std::pair<const char*, ServerAddressProblem> addresses[] = {
        {"https://lrclib.net", ServerAddressProblem::kNone},
        {"HTTP://[::1]:8080/a/b/", ServerAddressProblem::kNone},
        {"http://host:port/sub/path?x=1", ServerAddressProblem::kNotHttp},
        {"http://127.0.0.1:8080/sub/path?x=1", ServerAddressProblem::kQueryOrFragment},
        {"http://127.0.0.1:8080/#top", ServerAddressProblem::kQueryOrFragment},
        {"http://127.0.0.1:8080?", ServerAddressProblem::kQueryOrFragment},
        {"ftp://lrclib.net", ServerAddressProblem::kNotHttp},
        {"lrclib.net", ServerAddressProblem::kNotHttp},
        {"http:///api", ServerAddressProblem::kNotHttp},
        {"http://lrclib.net:70000", ServerAddressProblem::kNotHttp},
        {"http://lrc lib.net", ServerAddressProblem::kNotHttp},
    };
    for (const auto& [address, problem] : addresses) {
        SCOPED_TRACE(address);
        EXPECT_EQ(serverAddressProblem(address), problem);
        if (problem == ServerAddressProblem::kNone) continue;
        client.asked.clear();
        SearchOutcome outcome = searchLrclib(address, song(), client);
        EXPECT_TRUE(client.asked.empty());
        EXPECT_EQ(outcome.answer.kind, AnswerKind::kUnusable);
        EXPECT_NE(outcome.fault.find(serverAddressProblemText(problem)), std::string::npos) << outcome.fault;
    }
}

TEST(LrclibSearch, SavedFileKeepsTagsOnTheirLinesAndReadsBackAsTheLyricsWithoutAbsurdOffsets) {
    LrclibRecord arrived;
    arrived.track = "Service title";
    arrived.album = "Service album";
    arrived.durationSeconds = 201.6;
    arrived.syncedLyrics =
        "[offset:-600000000]\n[offset:+99999999999999999999]\r[00:01.00]first\r[00:02.50]second\r\n\n"
        "[offset: +250 ]\n[00:03.00]" +
        std::string(u8"三番");
    OnlineQuery query = song();
    query.track = "A]\n[ti:B";  // a title that would break its tag apart
    query.album.clear();
    std::string file = lyricsFileFor(arrived, query);
    EXPECT_EQ(file.substr(0, file.find("[00:01")),
              "[ti:A ti:B]\r\n[ar:AC DC]\r\n[al:Service album]\r\n[length:3:20]\r\n");
    EXPECT_EQ(file.find("[offset:-6"), std::string::npos);
    EXPECT_EQ(file.find("[offset:+9"), std::string::npos);

    struct CountedWarnings : LyricsWarnings {
        int count = 0;
        void malformedTag(int32_t, int32_t) override { ++count; }
    } warnings;
    LyricsDocument document;
    ASSERT_EQ(parseLyrics(document, file.data(), file.size(), 1, warnings), 1);
    ASSERT_EQ(document.lineCount(), 3);
    EXPECT_EQ(document.lines[2].text, u8"三番");
    EXPECT_EQ(document.offsetMs, 250);  // an offset within ten minutes is the service's timing
    EXPECT_EQ(warnings.count, 0);
}

TEST(SongQuery, TagsInTheAnsiCodePageFirstThenThePlaylistTitle) {
    FakeLyricsEnvironment environment;
    for (const char* song : {"uslt.mp3", "id3v1.mp3", "lyr.m4a"})
        environment.files[std::string("C:\\") + song] = taggedSongBytes(song);
    // ID3v2 Latin-1 frames and ID3v1 fields hold Shift-JIS bytes, as Japanese taggers write them.
    OnlineQuery query = songQuery(readSongNames("C:\\uslt.mp3", "Playlist - Title", environment));
    EXPECT_EQ(query.track, u8"夜明けの歌");
    EXPECT_EQ(query.artist, u8"桜");
    EXPECT_EQ(query.album, u8"Album 夜明け");
    EXPECT_EQ(query.durationSeconds, 2);  // a hundred MPEG frames: 2.6 s
    query = songQuery(readSongNames("C:\\id3v1.mp3", nullptr, environment));
    EXPECT_EQ(query.track + "/" + query.artist + "/" + query.album, u8"夜明け/桜/");
    // No title and artist in the tags: the playlist title's.
    query = songQuery(readSongNames("C:\\lyr.m4a", "Someone - Song", environment));
    EXPECT_EQ(query.track + "/" + query.artist, "Song/Someone");
    query = songQuery(readSongNames("C:\\missing.mp3", nullptr, environment));
    EXPECT_FALSE(queryIsComplete(query));
}

TEST(SplitArtistTitle, SplitsArtistAndTitleAtTheFirstDash) {
    std::string artist, title;
    ASSERT_EQ(splitArtistTitle(" Artist  -  Song - Live ", artist, title), 1);
    EXPECT_EQ(artist, "Artist");
    EXPECT_EQ(title, "Song - Live");
    for (const char* unsplittable : {"Song", "Artist -Song", " - Song", "Artist - "})
        EXPECT_EQ(splitArtistTitle(unsplittable, artist, title), 0) << unsplittable;
}

TEST(OnlineMisses, KeepsAWeekOfWellFormedLinesBoundedInNumber) {
    const int64_t now = 1'800'000'000;
    OnlineMisses misses;
    misses.read(
        "1799999000 a\tb\t\t200\n"
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
