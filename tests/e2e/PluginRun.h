#pragma once
// A test fixture that runs the real plug-in in the substitute player: a fresh copy of the DLL in
// a folder of its own (so its INI file starts afresh), the host window on this thread as in the
// real player, and helpers for the INI file, the playlist and the bar.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "subplayer/BarInput.h"
#include "subplayer/HostModel.h"
#include "subplayer/ModalWindows.h"
#include "subplayer/SubstitutePlayer.h"
#include "subplayer/WinHelpers.h"
#include "subplayer/WindowCapture.h"

constexpr char kIniSection[] = "Sorvane v0.15b by KEDO";

class PluginRun : public ::testing::Test {
protected:
    void SetUp() override { startPlayer(0); }

    void startPlayer(int hostOwnThread) {
        std::string error;
        ASSERT_EQ(player.start(hostOwnThread, error), 1) << error;
        ASSERT_EQ(player.loadPluginCopy(executableFolder() + "gen_sorvane.dll", error), 1) << error;
        // Direct mode hides the bar whenever another window is in front: put the host there.
        SetForegroundWindow(player.host().handle());
    }

    std::string iniPath() const { return joinPath(player.pluginFolder(), "sorvane.ini"); }
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

    // Playlist entries; `select` makes one current.
    void addSong(const std::string& path, const std::string& title = "") {
        player.host().withModel([&](HostModel& m) { m.addEntry(path, title); });
    }
    void withModel(const std::function<void(HostModel&)>& f) { player.host().withModel(f); }

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
        bool busy = false;  // whileOpen may run the message loop, which calls the job again
        player.setTimerJob([&] {
            HWND sheet = busy ? nullptr : findPropertySheet();
            if (!sheet) return;
            busy = true;
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

    SubstitutePlayer player;
};
