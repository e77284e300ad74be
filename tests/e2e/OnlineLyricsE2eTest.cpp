// Lyrics found online through the real plug-in, against a stand-in LRCLIB server on 127.0.0.1
// (tests/e2e/lrclib_standin.py): lyrics show only for good answers and are kept in the download
// folder, each song's under its own name; bad answers show and write nothing, misses are not asked
// again; a server that holds a lookup back holds it no longer than its deadline, and never holds
// up the bar's ticks, nor quit.
#include <windows.h>
#include <winhttp.h>

#include <cstdio>

#include "PluginRun.h"
#include "resources/Version.h"
#include "subplayer/TickTimes.h"

namespace {

int lyricsPixels(const Image& bar) { return countPixels(bar, kSungPixel) + countPixels(bar, kUnsungPixel); }

// The stand-in's length for every song; its good candidates lie within 2 s of it.
constexpr int kSongSeconds = 200;

// One GET to the stand-in, from the test itself; the body, or "" without an answer.
std::string fetch(int port, const wchar_t* path) {
    std::string body;
    HINTERNET session = WinHttpOpen(L"test", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
    HINTERNET connection =
        session ? WinHttpConnect(session, L"127.0.0.1", static_cast<INTERNET_PORT>(port), 0) : nullptr;
    HINTERNET request =
        connection ? WinHttpOpenRequest(connection, L"GET", path, nullptr, nullptr, nullptr, 0) : nullptr;
    if (request && WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) &&
        WinHttpReceiveResponse(request, nullptr)) {
        char buffer[4096];
        DWORD read = 0;
        while (WinHttpReadData(request, buffer, sizeof buffer, &read) && read) body.append(buffer, read);
    }
    for (HINTERNET handle : {request, connection, session})
        if (handle) WinHttpCloseHandle(handle);
    return body;
}

class OnlineLyrics : public PluginRun {
protected:
    void SetUp() override {
        PluginRun::SetUp();
        // The stand-in is a program of this machine: Wine starts it as such. Its port comes back
        // through a file; it ends at /__stop, or on its own after its lifetime.
        // Named by more than the process: the 32- and 64-bit runs each have a Wine of their own,
        // whose process numbers start alike, and they run side by side.
        char portFile[96];
        std::snprintf(portFile, sizeof portFile, "/tmp/sorvane-lrclib-%u-%lu-%lu.port", unsigned(sizeof(void*) * 8),
                      GetCurrentProcessId(), GetTickCount());
        std::string windowsPortFile = std::string("Z:") + portFile;
        DeleteFileA(windowsPortFile.c_str());
        std::string command = std::string("Z:\\usr\\bin\\python3 ") + SORVANE_LRCLIB_STANDIN + " " + portFile + " 240";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(
            CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::string text;
        for (int i = 0; i < 200 && !readFileBytes(windowsPortFile, text); ++i) Sleep(50);
        port = std::atoi(text.c_str());
        ASSERT_GT(port, 0) << "the stand-in server did not start";
        DeleteFileA(windowsPortFile.c_str());
        writeIni("OnlineLyrics", 1);
        writeIni("LyricsServer", "http://127.0.0.1:" + std::to_string(port) + "/");
    }
    void TearDown() override {
        if (port) fetch(port, L"/__stop");
        PluginRun::TearDown();
    }

    // A song of the stand-in's scenario: a file without tags (in folder, below the data folder),
    // the host's title "Artist - scenario".
    void addScenario(const std::string& scenario, const std::string& file = "") {
        std::string name = file.empty() ? scenario + ".mp3" : file;
        size_t folder = name.rfind('\\');
        if (folder != std::string::npos) CreateDirectoryA(dataPath(name.substr(0, folder)).c_str(), nullptr);
        addSong(writeData(name, "no tags here"), "Standin Artist - " + scenario);
        withModel([](HostModel& m) { m.setLastEntryLength(kSongSeconds); });
    }
    // Plays entry `index` and ticks until the stand-in has had `requests` requests in all, and a
    // moment more for the answer to reach the bar; returns the bar then.
    Image playUntilAnswered(int32_t index, size_t requests) {
        select(index);
        hold(15000);
        for (DWORD start = GetTickCount(); requestLog().size() < requests && GetTickCount() - start < 15000;)
            player.waitTicks(1, 1000);
        return waitForLyrics(1500);
    }
    // Ticks until the bar shows lyrics, at most timeoutMs.
    Image waitForLyrics(int timeoutMs) {
        Image bar = captureBar();
        for (DWORD start = GetTickCount();
             lyricsPixels(bar) == 0 && GetTickCount() - start < static_cast<DWORD>(timeoutMs);) {
            player.waitTicks(1, 1000);
            bar = captureBar();
        }
        return bar;
    }
    // The stand-in's log: one line per request, "<path> UA=<user agent>".
    std::vector<std::string> requestLog() {
        std::vector<std::string> lines;
        std::string text = fetch(port, L"/__log");
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(text.substr(at, end - at));
        return lines;
    }
    // The song's copy: named after its artist and title, which the host's title gives here.
    std::string downloadCopy(const std::string& scenario) {
        return joinPath(joinPath(settingsFolder(), "Lyrics"), "Standin Artist - " + scenario + ".lrc");
    }
    std::string host() const { return "HOST=127.0.0.1:" + std::to_string(port); }

    int port = 0;
};

}  // namespace

TEST_F(OnlineLyrics, GoodAnswersShowTheLyricsKeepThemInTheDownloadFolderAndAreNotAskedAgain) {
    writeIni("LyricsServer", "http://127.0.0.1:" + std::to_string(port) + "/sub/path/");  // kept below the server
    addScenario("found");                                                                 // /api/get
    addScenario("searchhit");     // 404, then the search's candidate within 2 s
    addScenario("absurdoffset");  // lyrics with [offset:-600000000] among them
    addScenario("samehost");      // a redirect to "found" on the same server
    ASSERT_EQ(player.init(), 0);

    EXPECT_GT(lyricsPixels(playUntilAnswered(0, 1)), 0) << "the exact match shows";
    EXPECT_GT(lyricsPixels(playUntilAnswered(1, 3)), 0) << "the search's candidate shows";
    EXPECT_GT(lyricsPixels(playUntilAnswered(2, 4)), 0) << "an absurd offset is dropped, and the lyrics show";
    EXPECT_GT(lyricsPixels(playUntilAnswered(3, 6)), 0) << "a redirect on the same server is followed";
    std::vector<std::string> log = requestLog();
    ASSERT_EQ(log.size(), 6u);
    // Sorvane, its version and its homepage, as LRCLIB asks of its clients.
    EXPECT_EQ(log[0],
              "/sub/path/api/get?track_name=found&artist_name=Standin%20Artist&album_name=&duration=200 "
              "UA=Sorvane/" SORVANE_VERSION_TEXT " (https://sorvane.example.org/) " +
                  host());
    EXPECT_EQ(log[2].rfind("/sub/path/api/search?track_name=searchhit&artist_name=Standin%20Artist UA=", 0), 0u)
        << log[2];
    EXPECT_EQ(log[5].rfind("/api/get?track_name=found&", 0), 0u) << log[5];
    EXPECT_NE(log[5].find(host()), std::string::npos) << log[5];

    std::string kept;
    ASSERT_EQ(readFileBytes(downloadCopy("found"), kept), 1);
    EXPECT_EQ(kept,
              "[ti:found]\r\n[ar:Standin Artist]\r\n[al:Standin Album]\r\n[length:3:20]\r\n"
              "[00:00.00]WWWW WWWW\r\n[00:30.00]end found\r\n");
    ASSERT_EQ(readFileBytes(downloadCopy("searchhit"), kept), 1);
    EXPECT_EQ(kept.find("iiii"), std::string::npos) << "the candidate 1.5 s short, not the one 9 s long";
    ASSERT_EQ(readFileBytes(downloadCopy("absurdoffset"), kept), 1);
    EXPECT_EQ(kept.find("[offset:"), std::string::npos) << kept;
    EXPECT_EQ(readFileBytes(downloadCopy("samehost"), kept), 1);

    // Played again: the download copy, without the network.
    Image again = playUntilAnswered(0, 6);
    EXPECT_GT(lyricsPixels(again), 0);
    EXPECT_EQ(requestLog().size(), 6u);
    player.watchModalWindows();
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(OnlineLyrics, BadAnswersShowAndWriteNothingAndOnlyRealMissesAreRemembered) {
    // Two misses, then faults: a server error, answers garbled, of the wrong types, nested 100000
    // deep, holding zero characters, too large, too long to read back whole, and a redirect to
    // another host name (that would answer with lyrics).
    const char* scenarios[] = {"instrumental", "wrongduration", "error500",  "malformed", "wrongtypes",
                               "deepobject",   "nuls",          "oversized", "bigvalid",  "elsewhere"};
    const size_t count = sizeof scenarios / sizeof scenarios[0];
    for (const char* scenario : scenarios) addScenario(scenario);
    ASSERT_EQ(player.init(), 0);
    // Requests each: instrumental 1, wrongduration 2 (get, search), every fault 1.
    size_t requests = 0;
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(scenarios[i]);
        requests += i == 1 ? 2 : 1;
        EXPECT_EQ(lyricsPixels(playUntilAnswered(static_cast<int32_t>(i), requests)), 0);
    }
    EXPECT_EQ(requestLog().size(), count + 1);
    for (const char* scenario : scenarios) {
        std::string bytes;
        EXPECT_EQ(readFileBytes(downloadCopy(scenario), bytes), 0) << scenario << " wrote its copy";
    }

    // Played again: the misses are not asked again; the faults are, once per play.
    for (size_t i = 0; i < count; ++i) playUntilAnswered(static_cast<int32_t>(i), count + 1 + (i >= 2 ? i - 1 : 0));
    std::vector<std::string> log = requestLog();
    ASSERT_EQ(log.size(), 2 * count - 1);
    for (size_t i = count + 1; i < log.size(); ++i) {
        for (const char* miss : {"instrumental", "wrongduration"})
            EXPECT_EQ(log[i].find(miss), std::string::npos) << log[i];
        EXPECT_NE(log[i].find(host()), std::string::npos) << "asked another host: " << log[i];
    }
    std::string misses;
    ASSERT_EQ(readFileBytes(joinPath(settingsFolder(), "sorvane-online-misses.txt"), misses), 1);
    EXPECT_NE(misses.find("instrumental\tstandin artist\t\t200"), std::string::npos) << misses;
    EXPECT_NE(misses.find("wrongduration\t"), std::string::npos) << misses;
    for (size_t i = 2; i < count; ++i) EXPECT_EQ(misses.find(scenarios[i]), std::string::npos) << misses;
    player.watchModalWindows();
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(OnlineLyrics, AServerThatNeverAnswersHoldsUpNeitherTheTicksNorTheNextSongNorQuit) {
    addScenario("silent");
    addScenario("found");
    addScenario("silent");
    ASSERT_EQ(player.init(), 0);
    select(0);
    hold(15000);
    for (DWORD start = GetTickCount(); requestLog().empty() && GetTickCount() - start < 5000;)
        player.waitTicks(1, 1000);
    ASSERT_EQ(requestLog().size(), 1u);
    DWORD asked = GetTickCount();
    // The bar goes on as for a song without lyrics while the answer is awaited.
    player.timeTicks(1);
    player.waitTicks(200, 20000);
    player.timeTicks(0);
    std::printf("%s\n",
                describeTickTimes("ticks while a request hangs", summariseTickTimes(player.tickTimesMs())).c_str());
    EXPECT_EQ(lyricsPixels(captureBar()), 0);

    // The next song, played while the first one's lookup hangs, is looked up once that lookup's
    // deadline has passed, and shows.
    select(1);
    Image next = waitForLyrics(20000);
    EXPECT_GT(lyricsPixels(next), 0);
    std::printf("the next song's lyrics %lu ms after the hanging request\n", GetTickCount() - asked);
    std::string bytes;
    EXPECT_EQ(readFileBytes(downloadCopy("silent"), bytes), 0);

    // Quit while a request hangs: the plug-in leaves it to end on its own.
    select(2);
    for (DWORD start = GetTickCount(); requestLog().size() < 3 && GetTickCount() - start < 5000;)
        player.waitTicks(1, 1000);
    DWORD quitStart = GetTickCount();
    player.quit();
    std::printf("quit while a request hangs: %lu ms\n", GetTickCount() - quitStart);
}

TEST_F(OnlineLyrics, TwoSongsOfOneFileNameInTwoAlbumsGetTheirOwnLyrics) {
    addScenario("found one", "a1\\Same.mp3");
    addScenario("found two", "a2\\SAME.mp3");
    ASSERT_EQ(player.init(), 0);
    EXPECT_GT(lyricsPixels(playUntilAnswered(0, 1)), 0);
    EXPECT_GT(lyricsPixels(playUntilAnswered(1, 2)), 0);
    EXPECT_EQ(requestLog().size(), 2u) << "the second song took the first one's lyrics";
    std::string first, second;
    ASSERT_EQ(readFileBytes(downloadCopy("found one"), first), 1);
    ASSERT_EQ(readFileBytes(downloadCopy("found two"), second), 1);
    EXPECT_NE(first.find("end found one"), std::string::npos) << first;
    EXPECT_NE(second.find("end found two"), std::string::npos) << second;
    // Each again from its own copy.
    EXPECT_GT(lyricsPixels(playUntilAnswered(0, 2)), 0);
    EXPECT_EQ(requestLog().size(), 2u);
}

TEST_F(OnlineLyrics, ASongWhoseLyricsFolderIsStillBeingListedIsNotLookedUpMeanwhile) {
    // A large LyricsPath tree, listed in the background, with the song's lyrics where the walk ends.
    std::string tree = dataPath("tree");
    CreateDirectoryA(tree.c_str(), nullptr);
    for (int i = 0; i < 100; ++i) {
        std::string outer = tree + "\\d" + std::to_string(i);
        CreateDirectoryA(outer.c_str(), nullptr);
        for (int j = 0; j < 50; ++j) CreateDirectoryA((outer + "\\e" + std::to_string(j)).c_str(), nullptr);
    }
    writeData("tree\\d99\\e49\\found.kra", "[00:00:00]ii[00:30:00]\r\n");
    writeIni("LyricsPath", tree);
    addScenario("found");
    ASSERT_EQ(player.init(), 0);
    select(0);
    hold(15000);
    EXPECT_GT(lyricsPixels(waitForLyrics(30000)), 0);
    player.waitTicks(20, 3000);
    EXPECT_TRUE(requestLog().empty()) << "asked online for a song with lyrics in the folder";
    std::string bytes;
    EXPECT_EQ(readFileBytes(downloadCopy("found"), bytes), 0);
}
