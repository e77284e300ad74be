#pragma once
// A test fixture that runs the real plug-in in the substitute player: a fresh copy of the DLL in
// a folder of its own, with a fresh settings folder inside it that the host names (so the INI
// file starts afresh), the host window on this thread as in the real player, and helpers for the
// INI file, the playlist and the bar.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "BitmapFile.h"
#include "subplayer/BarInput.h"
#include "subplayer/FileBytes.h"
#include "subplayer/HostModel.h"
#include "subplayer/ModalWindows.h"
#include "subplayer/SubstitutePlayer.h"
#include "subplayer/WinHelpers.h"
#include "subplayer/WindowCapture.h"

constexpr char kIniSection[] = "Sorvane v0.15b by KEDO";

// The default colours as the bar's pixels (0x00RRGGBB): the glyphs of a sung stretch, of an
// unsung one and of the wipe line, the banner text, and the background.
constexpr uint32_t kSungPixel = 0xFFFFFF, kUnsungPixel = 0x64FF64, kWipeLinePixel = 0xFF0000;
constexpr uint32_t kBannerTextPixel = 0x323232, kBlackPixel = 0;
// The plug-in learns the play status on every eleventh polling tick.
constexpr int kStatusTicks = 12;

// A bitmap file of the picture, as LoadImage reads it.
inline std::string bitmapFileBytes(const Image& image) {
    return bitmapFileBytes(image.width, image.height, [&](int x, int y) { return image.at(x, y); });
}

// The bar's text font for a bar this high with an outline this wide, as the plug-in makes it, for
// measuring what it draws.
inline HFONT createBarFont(int barHeight, int outline = 2) {
    return CreateFontA(barHeight - 2 * outline, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
}

// The pixel width of the first `bytes` bytes of text in the bar's font.
inline int textExtent(const std::string& text, size_t bytes, int barHeight = 18) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = createBarFont(barHeight);
    HGDIOBJ kept = SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(bytes), &size);
    SelectObject(dc, kept);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cx;
}

// A time of an .mp3 song's lyrics file ([mm:ss:xx], hundredths) on the player's clock: the
// default time ratio, times the frame ratio of 1152-sample frames, truncated.
inline int32_t playerTime(int32_t storedTime) {
    const double frameMs = 1152 / 44.1;
    return static_cast<int32_t>(storedTime / 0.9953125 * (static_cast<int32_t>(frameMs) / frameMs));
}

inline int countPixels(const Image& image, uint32_t pixel) {
    int n = 0;
    for (uint32_t p : image.pixels) n += p == pixel;
    return n;
}

// The leftmost and rightmost columns holding a pixel of one colour, or -1.
struct Span {
    int first = -1, last = -1;
};
inline Span columnsOf(const Image& image, uint32_t pixel) {
    Span s;
    for (int x = 0; x < image.width; ++x)
        for (int y = 0; y < image.height; ++y)
            if (image.at(x, y) == pixel) {
                if (s.first < 0) s.first = x;
                s.last = x;
                break;
            }
    return s;
}

class PluginRun : public ::testing::Test {
protected:
    void SetUp() override { startPlayer(0); }

    void startPlayer(int hostOwnThread) {
        std::string error;
        ASSERT_EQ(player.start(hostOwnThread, error), 1) << error;
        ASSERT_EQ(player.loadPluginCopy(executableFolder() + "gen_sorvane.dll", error), 1) << error;
        ASSERT_TRUE(CreateDirectoryA(settingsFolder().c_str(), nullptr)) << settingsFolder();
        withModel([&](HostModel& m) { m.setSettingsFolder(utf8FromAnsi(settingsFolder())); });
        // Direct mode hides the bar whenever another window is in front: put the host there.
        SetForegroundWindow(player.host().handle());
    }

    // A fresh copy of the plug-in (its own INI file) and an empty playlist: a second set of
    // settings within one test.
    void restartPlayer() {
        player.shutDown();
        withModel([](HostModel& m) { m = HostModel(); });
        startPlayer(0);
    }

    // The folder the host keeps its settings in, where the plug-in keeps sorvane.ini.
    std::string settingsFolder() const { return joinPath(player.pluginFolder(), "settings"); }
    std::string iniPath() const { return joinPath(settingsFolder(), "sorvane.ini"); }
    // Where the INI file lies when the host names no settings folder.
    std::string iniBesidePlugin() const { return joinPath(player.pluginFolder(), "sorvane.ini"); }
    void writeIni(const char* key, const std::string& value) {
        WritePrivateProfileStringA(kIniSection, key, value.c_str(), iniPath().c_str());
    }
    void writeIni(const char* key, int value) { writeIni(key, std::to_string(value)); }
    // The key's value, or "<missing>".
    std::string iniValue(const char* key) const {
        char value[300];
        GetPrivateProfileStringA(kIniSection, key, "<missing>", value, sizeof value, iniPath().c_str());
        return value;
    }

    // Playlist entries, path and title in the ANSI code page; `select` makes one current.
    void addSong(const std::string& path, const std::string& title = "") {
        addSongUtf8(utf8FromAnsi(path), utf8FromAnsi(title));
    }
    void addSongUtf8(const std::string& path, const std::string& title = "") {
        player.host().withModel([&](HostModel& m) { m.addEntry(path, title); });
    }
    void withModel(const std::function<void(HostModel&)>& f) { player.host().withModel(f); }

    // Songs, lyrics and pictures a test makes live in a folder beside its copy of the plug-in.
    std::string dataPath(const std::string& name) {
        std::string folder = joinPath(player.pluginFolder(), "data");
        CreateDirectoryA(folder.c_str(), nullptr);
        return joinPath(folder, name);
    }
    std::string writeData(const std::string& name, const std::string& bytes) {
        std::string path = dataPath(name);
        EXPECT_EQ(writeFileBytes(path, bytes), 1) << path;
        return path;
    }
    // A song that is only a path, with its lyrics beside it as stem.kra; returns the song's path.
    std::string addSongWithLyrics(const std::string& stem, const std::string& lyrics, const std::string& title = "") {
        writeData(stem + ".kra", lyrics);
        std::string song = dataPath(stem + ".mp3");
        addSong(song, title);
        return song;
    }

    // The host's playback clock. A held position is reported exactly, with the status "playing".
    void hold(int32_t ms) {
        withModel([&](HostModel& m) { m.clock.hold(ms); });
    }
    void play() {
        withModel([&](HostModel& m) { m.clock.play(nowMs()); });
    }
    void pause() {
        withModel([&](HostModel& m) { m.clock.pause(nowMs()); });
    }
    void stop() {
        withModel([&](HostModel& m) { m.clock.stop(); });
    }
    void select(int32_t index) {
        withModel([&](HostModel& m) { m.select(index); });
    }
    // Holds a position and returns the bar after it has been drawn: the position is asked on
    // every tick, so the second tick after the hold has drawn it.
    Image barAt(int32_t ms, int ticks = 2) {
        hold(ms);
        EXPECT_TRUE(player.waitTicks(ticks, 3000));
        return captureBar();
    }

    HWND bar() { return player.bar(); }
    RECT barRect() {
        RECT r = {};
        GetWindowRect(bar(), &r);
        return r;
    }
    Image captureBar() {
        Image image;
        captureClient(bar(), image);
        return image;
    }
    // The property sheet runs a modal loop inside the plug-in's message handling, so what is done
    // while it is open runs from the player's timer job: whileOpen once it shows, then the sheet
    // is closed with OK or Cancel. Returns how many sheets were seen within timeoutMs.
    int runSheet(int ok, const std::function<void(HWND)>& whileOpen = nullptr, int timeoutMs = 5000) {
        int seen = 0;
        bool busy = false;       // whileOpen may run the message loop, which calls the job again
        HWND handled = nullptr;  // closing takes a while: the job may meet the sheet again
        player.setTimerJob([&] {
            HWND sheet = busy ? nullptr : findPropertySheet();
            if (!sheet || sheet == handled) return;
            busy = true;
            handled = sheet;
            ++seen;
            player.watchModalWindows();  // recorded before it closes
            if (whileOpen) whileOpen(sheet);
            closePropertySheet(sheet, ok);
            busy = false;
        });
        player.runUntil([&] { return seen > 0 && !findPropertySheet(); }, timeoutMs);
        player.setTimerJob(nullptr);
        return seen;
    }

    // The sheet's pages, in the order it shows them.
    enum SheetPage { kPositionPage, kColourPage, kPathsPage, kDisplayPage, kDisplayPage2, kFadePage, kVersionPage };
    // Shows a page of the open sheet and returns its window.
    static HWND sheetPage(HWND sheet, int page) {
        SendMessageA(sheet, PSM_SETCURSEL, page, 0);
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    // Opens the sheet as the host's config call does, presses a button of one page, runs `then`
    // while the sheet is still open, and closes it with OK. Returns how many sheets were seen.
    int pressInSheet(int page, int button, const std::function<void()>& then = nullptr) {
        player.config();
        return runSheet(1, [&](HWND sheet) {
            SendMessageA(GetDlgItem(sheetPage(sheet, page), button), BM_CLICK, 0, 0);
            if (then) then();
        });
    }

    SubstitutePlayer player;
};
