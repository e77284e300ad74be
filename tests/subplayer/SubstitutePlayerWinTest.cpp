#include "subplayer/SubstitutePlayer.h"

#include <gtest/gtest.h>

#include "ProbeReport.h"
#include "subplayer/BarInput.h"
#include "subplayer/FileBytes.h"
#include "subplayer/ScenarioRunner.h"
#include "subplayer/WinHelpers.h"
#include "subplayer/WindowCapture.h"

namespace {

std::string probePath(const char* name = "subplayer_probe.dll") { return executableFolder() + name; }

// A player with the probe loaded; orders for the probe go through its environment variable.
class ProbeTest : public ::testing::Test {
protected:
    void start(int hostOwnThread = 0, const char* orders = "") {
        SetEnvironmentVariableA("SUBPLAYER_PROBE", orders);
        std::string error;
        ASSERT_EQ(player.start(hostOwnThread, error), 1) << error;
        ASSERT_EQ(player.loadPlugin(probePath(), error), 1) << error;
        HMODULE probe = GetModuleHandleA("subplayer_probe.dll");
        auto function =
            reinterpret_cast<ProbeReportFunction>(reinterpret_cast<void*>(GetProcAddress(probe, "probeReport")));
        ASSERT_TRUE(function);
        report = function();
    }

    int runScenario(const std::string& text, std::string outFolder = std::string()) {
        Scenario scenario;
        ScenarioError error;
        EXPECT_EQ(parseScenario(text, scenario, error), 1) << error.message;
        ScenarioRunner runner(player, scenario, outFolder);
        int ok = runner.run(20000);
        for (const std::string& e : runner.errors()) ADD_FAILURE() << e;
        if (getenv("SUBPLAYER_TEST_LOG"))
            for (const std::string& line : player.record.log) printf("%s\n", line.c_str());
        stamps.clear();
        corners.clear();
        for (const RecordedFrame& f : runner.frames()) {
            stamps.push_back(f.stampMs);
            corners.push_back(f.image.at(0, 0));
        }
        return ok;
    }

    SubstitutePlayer player;
    ProbeReport* report = nullptr;
    // Of the frames the last scenario recorded: their stamps, and the colour of their top-left
    // corner, where the probe's tick paints the position the host last reported (as 0x00BBGGRR).
    std::vector<int64_t> stamps;
    std::vector<uint32_t> corners;
};

uint32_t cornerFor(int positionMs) {
    return (positionMs & 0xFF) << 16 | (positionMs & 0xFF00) | (positionMs >> 16 & 0xFF);
}

}  // namespace

TEST(SubstitutePlayer, LoadFailuresSayWhy) {
    SubstitutePlayer player;
    std::string error;
    ASSERT_EQ(player.start(0, error), 1);
    EXPECT_EQ(player.loadPlugin(probePath("missing.dll"), error), 0);
    EXPECT_EQ(error.rfind("cannot load ", 0), 0u) << error;
    EXPECT_EQ(player.loadPlugin(probePath("subplayer_probe_noexport.dll"), error), 0);
    EXPECT_NE(error.find("does not export winampGetGeneralPurposePlugin"), std::string::npos) << error;
    EXPECT_EQ(player.loadPlugin(probePath("subplayer_probe_v15.dll"), error), 0);
    EXPECT_NE(error.find("has descriptor version 15, expected 16"), std::string::npos) << error;
    EXPECT_EQ(player.pluginLoaded(), 0);
}

TEST(SubstitutePlayer, ACopyUnderTheTemporaryFolderGoesWithThePlayerOneUnderAChosenFolderStays) {
    std::string chosen, temporaryCopy, chosenCopy;
    ASSERT_EQ(makeFreshFolder(chosen), 1);
    {
        SubstitutePlayer player;
        std::string error;
        ASSERT_EQ(player.start(0, error), 1);
        ASSERT_EQ(player.loadPluginCopy(probePath(), error), 1) << error;
        temporaryCopy = player.pluginFolder();
        // Something the plug-in leaves, read-only, in a folder of its own.
        std::string data = joinPath(temporaryCopy, "data");
        ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
        std::string file = joinPath(data, "kept.txt");
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
        ASSERT_EQ(player.loadPluginCopy(probePath(), error, chosen), 1) << error;
        chosenCopy = player.pluginFolder();
        EXPECT_NE(GetFileAttributesA(temporaryCopy.c_str()), INVALID_FILE_ATTRIBUTES) << "kept while the player lives";
    }
    EXPECT_EQ(GetFileAttributesA(temporaryCopy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(chosenCopy.c_str()), INVALID_FILE_ATTRIBUTES);
    removeFolderTree(chosen);
}

TEST_F(ProbeTest, HostAnswersTheQueriesFromItsPlaylistClockAndSkin) {
    start();
    player.host().withModel([](HostModel& m) {
        m.addEntry("C:\\Music\\first.mp3", "First");
        m.addEntry(u8"C:\\Music\\\uC0AC\uB791.mp3", u8"日本語 \uD55C\uAD6D\uC5B4");
        m.select(1);
        m.clock.hold(4321);
        m.setSkinFolder(std::string(300, 's'));
    });
    ASSERT_EQ(player.init(), 0);
    EXPECT_TRUE(report->hostWindowGiven);
    EXPECT_TRUE(report->moduleGiven);
    EXPECT_EQ(report->listPosition, 1);
    EXPECT_EQ(report->version, 0x5066);
    // The wide queries give every character; the ANSI ones what the code page (932) holds.
    EXPECT_STREQ(report->wideFilePath, L"C:\\Music\\\uC0AC\uB791.mp3");
    EXPECT_STREQ(report->wideTitle, L"\u65E5\u672C\u8A9E \uD55C\uAD6D\uC5B4");
    EXPECT_STREQ(report->filePath, "C:\\Music\\??.mp3");
    EXPECT_STREQ(report->title, "\x93\xfa\x96\x7b\x8c\xea ???");
    EXPECT_EQ(report->positionMs, 4321);
    EXPECT_EQ(report->playStatus, 1);
    EXPECT_TRUE(report->skinFolderTerminated);
    EXPECT_EQ(std::string(report->skinFolder), std::string(259, 's'));
    EXPECT_EQ(std::wstring(report->wideSkinFolder), std::wstring(259, L's'));
    for (int query : {0, 104, 125, 201, 211, 212, 213, 214, 1201})
        EXPECT_EQ(player.host().queryCount(query), 1) << query;
}

TEST_F(ProbeTest, AnOldHostReportsAnOldVersionAndAnswersNoWideQuery) {
    start();
    player.host().withModel([](HostModel& m) {
        m.oldHost = 1;
        m.addEntry("C:\\Music\\first.mp3", "First");
        m.setSkinFolder("C:\\Skins");
    });
    ASSERT_EQ(player.init(), 0);
    EXPECT_LT(report->version, 0x5000);
    EXPECT_STREQ(report->filePath, "C:\\Music\\first.mp3");
    EXPECT_STREQ(report->title, "First");
    EXPECT_STREQ(report->skinFolder, "C:\\Skins");
    EXPECT_STREQ(report->wideFilePath, L"");
    EXPECT_STREQ(report->wideTitle, L"");
    EXPECT_EQ(report->wideSkinFolder[0], L'x') << "the buffer is left as it was";
}

TEST_F(ProbeTest, CountsTicksForwardsKeysAndCapturesWhatWasDrawn) {
    start();
    ASSERT_EQ(player.init(), 0);
    ASSERT_EQ(player.waitTicks(5, 3000), 1);
    EXPECT_GE(report->ticks, 5);
    HWND bar = player.bar();
    ASSERT_TRUE(bar);
    sendKey(bar, 'A');
    player.runFor(50);
    auto keys = player.host().keys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));

    Image image;
    ASSERT_EQ(captureClient(bar, image), 1);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.at(10, 10), 0xFF0000u);
    EXPECT_EQ(image.at(63, 15), 0x0000FFu);
    ASSERT_EQ(captureWindow(player.host().handle(), 100, 90, 20, 10, image), 1);
    EXPECT_EQ(image.at(0, 0), 0x283048u);
}

TEST_F(ProbeTest, MessageBoxesAreRecordedAndClosedWhereverTheyOpen) {
    start(0, "box-at-init");
    ASSERT_EQ(player.init(), 0);  // returns: the box was closed
    sendChar(player.bar(), 'b');  // a box inside the bar's own message handling
    ASSERT_EQ(player.record.boxes.size(), 2u);
    EXPECT_EQ(player.record.boxes[0].caption, "Probe");
    EXPECT_EQ(player.record.boxes[0].text, "probe \x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(player.record.boxes[1].text, "tick box");
}

TEST_F(ProbeTest, WithheldRepliesPileUpAndAllArriveOnRelease) {
    start(1);
    ASSERT_EQ(player.init(), 0);  // init's own queries go across threads and are answered
    EXPECT_EQ(report->playStatus, 0);
    ASSERT_EQ(player.waitTicks(2, 3000), 1);
    ASSERT_EQ(player.runUntil([&] { return report->completed == report->sent; }, 3000), 1);
    ASSERT_EQ(player.host().withhold(), 1);
    long completedBefore = report->completed;
    ASSERT_EQ(player.waitTicks(10, 3000), 1);
    EXPECT_EQ(report->completed, completedBefore);
    EXPECT_GE(report->sent, completedBefore + 20);
    player.host().release();
    ASSERT_EQ(player.runUntil([&] { return report->completed == report->sent; }, 3000), 1);
    player.quit();
    player.runFor(50);
    EXPECT_EQ(player.host().queryCount(105), report->sent / 2 + 1);
}

TEST_F(ProbeTest, ScenarioDrivesMenuSheetBoxesAndPictures) {
    start();
    std::string out;
    ASSERT_EQ(makeFreshFolder(out), 1);
    ASSERT_EQ(runScenario("entry C:\\a.mp3 | A\n"
                          "init\n"
                          "wait 2 ticks\n"
                          "key a\n"
                          "rclick 20 5\n"
                          "menu 1\n"
                          "sheet ok\n"
                          "config\n"
                          "sheet cancel\n"
                          "char b\n"
                          "expect box Probe | tick box\n"
                          "record 3\n"
                          "gif bar.gif\n"
                          "contact 2 2 sheet.png\n"
                          "capture host 0 0 30 20 host.png\n",
                          out),
              1);
    // The keys reached the host before the menu's loop could take them for its own.
    EXPECT_EQ(player.host().keys().size(), 2u);
    // The menu opened at the click's screen point moved 8 up and left, and its item led to the sheet.
    ASSERT_EQ(player.record.menus.size(), 1u);
    EXPECT_EQ(player.record.menus[0].items, std::vector<std::string>{"\x90\xdd\x92\xe8(&P)"});
    EXPECT_EQ(player.record.menus[0].at.x, kHostLeft + 21 + 20 - 8);
    EXPECT_EQ(player.record.menus[0].at.y, kHostTop + 40 + 5 - 8);
    ASSERT_EQ(player.record.sheets.size(), 2u);
    EXPECT_EQ(player.record.sheets[0].owner, "bar");
    EXPECT_EQ(player.record.sheets[0].caption, kSettingsCaption);
    EXPECT_EQ(player.record.sheets[0].closedWith, 1);
    EXPECT_EQ(player.record.sheets[1].closedWith, 0);
    EXPECT_EQ(report->sheetsRun, 2);
    EXPECT_EQ(report->sheetResult, 0);
    EXPECT_EQ(stamps.size(), 3u);
    std::string bytes;
    ASSERT_EQ(readFileBytes(joinPath(out, "bar.gif"), bytes), 1);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    for (const char* png : {"sheet.png", "host.png"}) {
        ASSERT_EQ(readFileBytes(joinPath(out, png), bytes), 1) << png;
        EXPECT_EQ(bytes.substr(1, 3), "PNG");
    }
}

TEST_F(ProbeTest, CapturesTheWholeSheetAndRefusesAPageItDoesNotHave) {
    start();
    std::string out;
    ASSERT_EQ(makeFreshFolder(out), 1);
    ASSERT_EQ(runScenario("init\nconfig\nsheet page 1\ncapture sheet sheet.png\nsheet ok\n", out), 1);
    // The picture holds the frame and caption as well as the page: taller than the page's client area.
    std::string bytes;
    ASSERT_EQ(readFileBytes(joinPath(out, "sheet.png"), bytes), 1);
    ASSERT_GE(bytes.size(), 24u);
    auto bigEndian = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24 |
               static_cast<uint8_t>(bytes[at + 1]) << 16 | static_cast<uint8_t>(bytes[at + 2]) << 8 |
               static_cast<uint8_t>(bytes[at + 3]);
    };
    EXPECT_GT(bigEndian(16), 120u);
    EXPECT_GT(bigEndian(20), 80u);

    Scenario scenario;
    ScenarioError error;
    ASSERT_EQ(parseScenario("config\nsheet page 2\n", scenario, error), 1);
    ScenarioRunner runner(player, scenario, out);
    EXPECT_EQ(runner.run(20000), 0);
    EXPECT_EQ(runner.errors(), std::vector<std::string>{"line 2: the sheet has no page 2"});
}

TEST_F(ProbeTest, SweepCapturesEachHeldPositionAfterTheTickThatAskedForIt) {
    start();
    ASSERT_EQ(runScenario("init\nsweep 1000 1032 16\n"), 1);
    EXPECT_EQ(stamps, (std::vector<int64_t>{1000, 1016, 1032}));
    EXPECT_EQ(corners, (std::vector<uint32_t>{cornerFor(1000), cornerFor(1016), cornerFor(1032)}));
}

TEST_F(ProbeTest, ASheetLeftOpenAtTheEndIsCancelledSoTheRunEnds) {
    start();
    ASSERT_EQ(runScenario("config\n"), 1);  // before init: the sheet runs inside the call
    ASSERT_EQ(player.record.sheets.size(), 1u);
    EXPECT_EQ(player.record.sheets[0].owner, "host");
    EXPECT_EQ(player.record.sheets[0].closedWith, -1);
    EXPECT_EQ(report->sheetResult, 0);
}

TEST_F(ProbeTest, AFailedActionNamesItsLine) {
    start();
    Scenario scenario;
    ScenarioError error;
    ASSERT_EQ(parseScenario("# no init: no bar\n\nframe\nplay\n", scenario, error), 1);
    ScenarioRunner runner(player, scenario, "");
    EXPECT_EQ(runner.run(), 0);
    EXPECT_EQ(runner.errors(), std::vector<std::string>{"line 3: no bar window to capture"});
}
