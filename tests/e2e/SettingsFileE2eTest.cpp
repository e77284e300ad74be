// Where the settings file lies and what becomes of a save: in the host's settings folder when the
// host names one (with the file beside the plug-in moved over once), beside the plug-in when it
// names none, and a file that cannot be written is told to the user instead of lost in silence.
#include <algorithm>
#include <vector>

#include "PluginRun.h"
#include "resources/ResourceIds.h"
#include "subplayer/Unwritable.h"

namespace {

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(joinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class SettingsFile : public PluginRun {
protected:
    void TearDown() override {
        for (auto it = unwritable.rbegin(); it != unwritable.rend(); ++it) setUnwritable(*it, 0);
    }

    // Makes a file or folder unwritable for the rest of the test; returns whether that worked.
    // Made writable again at the end even then: the flag may still come after the wait.
    bool makeUnwritable(const std::string& path) {
        unwritable.push_back(path);
        return setUnwritable(path, 1) != 0;
    }

    std::string pluginCopy() const { return joinPath(player.pluginFolder(), "gen_sorvane.dll"); }

    // The player closes, and starts again with the same copy of the plug-in and the same folders.
    void nextSession() {
        player.quit();
        player.unload();
        std::string error;
        ASSERT_EQ(player.loadPlugin(pluginCopy(), error), 1) << error;
    }

    // Opens the sheet, sets the bar's width on the position page, presses OK.
    void setWidthInSheet(const char* width) {
        player.config();
        ASSERT_EQ(
            runSheet(1, [&](HWND sheet) { SetDlgItemTextA(sheetPage(sheet, kPositionPage), IDC_WIDTH_EDIT, width); }),
            1);
    }

    int barWidth() {
        player.waitTicks(2, 3000);
        RECT r = barRect();
        return r.right - r.left;
    }

    std::vector<std::string> unwritable;
};

}  // namespace

TEST_F(SettingsFile, EverySaveLandsInTheHostsFolderAndAReadOnlyPluginFolderLosesNothing) {
    const std::vector<std::string> pluginFiles = filesIn(player.pluginFolder());
    // Where the folder can be made read-only (not every system lets even root do it), it is; the
    // plug-in must not need to write there either way.
    bool readOnly = makeUnwritable(player.pluginFolder());
    ASSERT_EQ(player.init(), 0);
    setWidthInSheet("300");             // the sheet's OK
    sendDoubleClick(bar(), 10, 5);      // Effects, saved at quit
    sendDrag(bar(), 10, 5, 40, 25, 4);  // the place, saved at quit after a drag
    nextSession();
    EXPECT_EQ(iniValue("width"), "300");
    EXPECT_EQ(iniValue("Effects"), "1");
    EXPECT_EQ(iniValue("Winamp_x"), "51");
    EXPECT_EQ(filesIn(player.pluginFolder()), pluginFiles) << "nothing is written beside the plug-in";

    ASSERT_EQ(player.init(), 0);
    EXPECT_EQ(barWidth(), 300);
    EXPECT_EQ(barRect().left, kHostLeft + 51);
    EXPECT_TRUE(player.record.boxes.empty());
    if (!readOnly) std::printf("note: the plug-in's folder could not be made read-only here\n");
}

TEST_F(SettingsFile, TheFileBesideThePluginIsReadOnceAndTheNewPlaceWrittenFromThenOn) {
    // An old file in the ANSI code page, as an earlier version left it beside the plug-in.
    const std::string old = "[Sorvane v0.15b by KEDO]\r\nwidth=300\r\nEffects=3\r\nLyricsPath=C:\\\x89\xcc\x8e\x8c\r\n";
    ASSERT_EQ(writeFileBytes(iniBesidePlugin(), old), 1);
    ASSERT_EQ(player.init(), 0);
    EXPECT_EQ(barWidth(), 300);
    EXPECT_TRUE(exists(iniPath())) << "the settings were moved to the host's folder at once";
    sendDoubleClick(bar(), 10, 5);
    nextSession();
    EXPECT_EQ(iniValue("Effects"), "4");
    EXPECT_EQ(iniValue("width"), "300");
    EXPECT_EQ(iniValue("LyricsPath"), "C:\\\x89\xcc\x8e\x8c");
    std::string besideNow;
    ASSERT_EQ(readFileBytes(iniBesidePlugin(), besideNow), 1) << "the old file is never deleted";
    EXPECT_EQ(besideNow, old) << "nor written";

    // From now on the old file is not read again.
    ASSERT_EQ(writeFileBytes(iniBesidePlugin(), "[Sorvane v0.15b by KEDO]\r\nwidth=400\r\n"), 1);
    ASSERT_EQ(player.init(), 0);
    EXPECT_EQ(barWidth(), 300);
}

TEST_F(SettingsFile, WhenTheHostNamesNoFolderTheFileLiesBesideThePlugin) {
    for (int oldHost : {1, 0}) {
        SCOPED_TRACE(oldHost ? "a host that answers none of the queries" : "a host that names an empty folder");
        withModel([&](HostModel& m) {
            m.oldHost = oldHost;
            m.setSettingsFolder("");
        });
        writeFileBytes(iniBesidePlugin(), "[Sorvane v0.15b by KEDO]\r\nwidth=280\r\n");
        ASSERT_EQ(player.init(), 0);
        EXPECT_EQ(barWidth(), 280);
        setWidthInSheet("290");
        sendDoubleClick(bar(), 10, 5);
        player.quit();
        char width[16] = "", effects[16] = "";
        GetPrivateProfileStringA(kIniSection, "width", "", width, sizeof width, iniBesidePlugin().c_str());
        GetPrivateProfileStringA(kIniSection, "Effects", "", effects, sizeof effects, iniBesidePlugin().c_str());
        EXPECT_STREQ(width, "290");
        EXPECT_STREQ(effects, "1");
        EXPECT_TRUE(filesIn(settingsFolder()).empty());
        EXPECT_TRUE(player.record.boxes.empty());
        restartPlayer();
    }
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenIsToldOnceAtTheSheetsOkAndLoggedAtQuit) {
    writeIni("width", 260);
    // Read-only where the system lets the test make it so; else held open by another program
    // that lets others read it but not write it. Either way no save can reach it.
    HANDLE held = INVALID_HANDLE_VALUE;
    if (!makeUnwritable(iniPath()))
        held = CreateFileA(iniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(player.init(), 0);
    EXPECT_EQ(barWidth(), 260) << "the settings are still read";
    setWidthInSheet("300");
    player.watchModalWindows();
    ASSERT_EQ(player.record.boxes.size(), 1u);
    const MessageBoxRecord box = player.record.boxes[0];
    EXPECT_EQ(box.caption, "Sorvane");
    EXPECT_EQ(box.text.rfind("設定を保存できませんでした。\n\nファイル: " + iniPath() + "\n理由: ", 0), 0u) << box.text;
    const std::string reason = box.text.substr(box.text.find("理由: ") + std::string("理由: ").size());
    EXPECT_GT(reason.find('\n'), 2u) << "the system's reason, not an empty line: " << box.text;

    setWidthInSheet("310");  // the second failure of the session is not shown again
    EXPECT_EQ(barWidth(), 310) << "the changes last for the session";
    sendDrag(bar(), 10, 5, 40, 25, 4);
    player.quit();  // and the player's closing shows none
    player.watchModalWindows();
    EXPECT_EQ(player.record.boxes.size(), 1u);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    std::string log;
    ASSERT_EQ(readFileBytes(joinPath(settingsFolder(), "sorvane.log"), log), 1);
    size_t lines = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    EXPECT_EQ(lines, 3u) << "one line for each failed save, the player's closing included:\n" << log;
    EXPECT_NE(log.find(utf8FromAnsi(iniPath())), std::string::npos) << log;
}

TEST_F(SettingsFile, AReadOnlySettingsFolderIsToldAtTheSheetsOk) {
    if (!makeUnwritable(settingsFolder())) GTEST_SKIP() << "this system does not let the test make a folder read-only";
    ASSERT_EQ(player.init(), 0);
    setWidthInSheet("300");
    player.watchModalWindows();
    ASSERT_EQ(player.record.boxes.size(), 1u);
    EXPECT_NE(player.record.boxes[0].text.find(iniPath()), std::string::npos) << player.record.boxes[0].text;
    EXPECT_EQ(barWidth(), 300);
    player.quit();
    player.watchModalWindows();
    EXPECT_EQ(player.record.boxes.size(), 1u);
    EXPECT_TRUE(filesIn(settingsFolder()).empty());
}

TEST_F(SettingsFile, UninstallingFromThePlayerAsksInTheActiveLanguageAndRemovesTheSettingsOnlyWhenTold) {
    const std::string log = joinPath(settingsFolder(), "sorvane.log");
    const std::string misses = joinPath(settingsFolder(), "sorvane-online-misses.txt");
    const std::string lyrics = joinPath(joinPath(settingsFolder(), "Lyrics"), "song.lrc");
    writeIni("Language", "en");  // not the system's: the setting is what speaks
    ASSERT_EQ(writeFileBytes(log, "an old line\r\n"), 1);
    ASSERT_EQ(writeFileBytes(misses, "a song\r\n"), 1);
    ASSERT_EQ(writeFileBytes(iniBesidePlugin(), "[Sorvane v0.15b by KEDO]\r\nwidth=300\r\n"), 1);
    CreateDirectoryA(joinPath(settingsFolder(), "Lyrics").c_str(), nullptr);
    ASSERT_EQ(writeFileBytes(lyrics, "[00:01.00]mine\n"), 1);
    const std::string question =
        "Remove your Sorvane settings as well (sorvane.ini in Winamp's settings folder and "
        "beside the plug-in)?";

    // While the property sheet is open, the player may remove the plug-in only at its next start.
    ASSERT_EQ(player.init(), 0);
    player.config();
    int duringSheet = -1;
    ASSERT_EQ(runSheet(1, [&](HWND) { duringSheet = player.uninstall(); }), 1);
    EXPECT_EQ(duringSheet, 0);
    EXPECT_TRUE(player.pluginLoaded() && IsWindow(bar()));

    // No: the plug-in goes at once and keeps the settings, saved as at every quit.
    sendDoubleClick(bar(), 10, 5);
    player.boxAnswer = IDNO;
    EXPECT_EQ(player.uninstall(), 1) << "the player may unload it at once";
    ASSERT_EQ(player.record.boxes.size(), 1u);
    EXPECT_EQ(player.record.boxes[0].caption, "Sorvane");
    EXPECT_EQ(player.record.boxes[0].text, question);
    EXPECT_FALSE(player.pluginLoaded());
    EXPECT_EQ(findBarWindow(), nullptr);
    player.runFor(50);
    EXPECT_EQ(player.record.quitMessages, 0) << "the player goes on";
    EXPECT_EQ(iniValue("Effects"), "1");
    EXPECT_TRUE(exists(log) && exists(misses) && exists(iniBesidePlugin()));

    // Yes: every settings file goes, beside the plug-in too, and nothing the plug-in does as it
    // goes writes one again. The user's lyrics stay.
    std::string error;
    ASSERT_EQ(player.loadPlugin(pluginCopy(), error), 1) << error;
    ASSERT_EQ(player.init(), 0);
    sendDrag(bar(), 10, 5, 40, 25, 4);  // a moved bar is saved at quit
    player.boxAnswer = IDYES;
    EXPECT_EQ(player.uninstall(), 1);
    ASSERT_EQ(player.record.boxes.size(), 2u);
    EXPECT_EQ(player.record.boxes[1].text, question);
    EXPECT_FALSE(player.pluginLoaded());
    EXPECT_EQ(filesIn(settingsFolder()), std::vector<std::string>{});
    EXPECT_FALSE(exists(iniBesidePlugin()));
    EXPECT_TRUE(exists(lyrics));
}
