#pragma once
// The substitute player: a stand-in for the host media player that loads a general purpose
// plug-in, answers its queries, drives its bar and watches what it opens. End-to-end tests drive
// it in-process; subplayer.exe drives it from a scenario file (ScenarioRunner).
//
// Everything runs on the thread that calls start(), the plug-in's thread, as in the real host.
// A driver window on that thread gets a timer every 10 ms, which also fires inside the modal
// loops the plug-in runs (message boxes, the property sheet, the popup menu): from it the player
// closes message boxes, notes sheets and menus, and runs the timer job (a scenario's next steps).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "subplayer/HostWindow.h"
#include "subplayer/LayeredWindowTap.h"
#include "subplayer/ModalWindows.h"
#include "subplayer/PluginHost.h"

struct SheetRecord {
    HWND window = nullptr;
    std::string caption;  // ANSI
    std::string owner;    // "bar", "host", "none" or "other"
    int closedWith = -1;  // 1 OK, 0 Cancel, -1 not closed by the player
};

struct MenuRecord {
    POINT at = {0, 0};               // the menu window's top-left corner on the screen
    std::vector<std::string> items;  // ANSI
};

struct PlayerRecord {
    std::vector<MessageBoxRecord> boxes;
    std::vector<SheetRecord> sheets;
    std::vector<MenuRecord> menus;
    int quitMessages = 0;          // WM_QUIT messages the player's loop retrieved
    std::vector<std::string> log;  // UTF-8 lines, each starting with the ms since start
};

class SubstitutePlayer {
public:
    SubstitutePlayer() = default;
    SubstitutePlayer(const SubstitutePlayer&) = delete;
    SubstitutePlayer& operator=(const SubstitutePlayer&) = delete;
    // A copy of the plug-in made under the temporary folder goes with its folder: test runs would
    // otherwise leave a folder of some megabytes each behind.
    ~SubstitutePlayer();

    // Creates the host window (on a thread of its own when hostOwnThread) and the driver.
    int start(int hostOwnThread, std::string& error);
    // The end of a run: quit when init was called and quit was not, unload, close the host.
    void shutDown();

    int loadPlugin(const std::string& dllPath, std::string& error);
    // Copies the library into a fresh folder (under parent, or under the temporary folder) first
    // and loads the copy, so that the files it writes beside itself (its INI file) start afresh;
    // pluginFolder() names that folder. One under the temporary folder is deleted with the player.
    int loadPluginCopy(const std::string& dllPath, std::string& error, const std::string& parent = std::string());
    const std::string& pluginFolder() const { return folder; }
    int pluginLoaded() const { return plugin.loaded(); }
    int init();
    void config();
    void quit();
    void unload();
    // The player's Preferences, Plug-ins, Uninstall: the plug-in's uninstall call, owned by the host
    // window; when it lets the player unload it at once, quit (if init ran) and unload follow, as
    // in the player. Returns what the call returned (-1: the plug-in has none).
    int uninstall();

    HostWindow& host() { return hostWindow; }
    HWND bar() const;

    // Runs the message loop for ms milliseconds.
    void runFor(int ms);
    // Runs the message loop until done() holds (checked after every message) or timeoutMs pass;
    // returns whether done() held.
    int runUntil(const std::function<bool()>& done, int timeoutMs);
    // Runs until n more frame ticks of the plug-in have been handled.
    int waitTicks(int n, int timeoutMs);
    // Frame ticks handled so far: WM_TIMER messages to the bar window, seen by a message hook
    // (so also those that modal loops retrieve) and counted once their handling is over.
    long ticks() const { return ticksDone; }
    // While on, every tick message this player's own loop dispatches to the bar is timed, from
    // its dispatch to the return of its handling (ticks that modal loops dispatch are not).
    // Turning it on starts a fresh list.
    void timeTicks(int on);
    const std::vector<double>& tickTimesMs() const { return tickTimes; }
    // Of each timed tick, the part the window system spent updating the plug-in's layered window
    // (its desktop window; 0 for the bar).
    const std::vector<double>& tickUpdateTimesMs() const { return tickUpdateTimes; }
    // What the plug-in hands to its layered window, watched from load to unload.
    const LayeredWindowTap& layeredWindow() const { return layeredTap; }

    // Called on every driver timer and after every tick, also inside modal loops.
    void setTimerJob(std::function<void()> job) { timerJob = std::move(job); }
    uint64_t elapsedMs() const;

    // Closes new message boxes and notes new sheets and menus in record (the driver timer does
    // this every 10 ms; call it to be sure before looking).
    void watchModalWindows();

    PlayerRecord record;
    // The button the player presses in the message boxes it closes (IDYES, IDNO, ...); 0: each
    // box's default button.
    int boxAnswer = 0;
    void note(const std::string& utf8Line);

private:
    static LRESULT CALLBACK driverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK getMessageHook(int code, WPARAM wParam, LPARAM lParam);
    void onTick();
    void dispatch(const MSG& msg);

    HostWindow hostWindow;
    PluginHost plugin;
    LayeredWindowTap layeredTap;
    std::string folder;
    std::vector<std::string> temporaryFolders;
    HWND driver = nullptr;
    HHOOK hook = nullptr;
    HWND knownBar = nullptr;
    long ticksDone = 0;
    int timingTicks = 0;
    std::vector<double> tickTimes;
    std::vector<double> tickUpdateTimes;
    int initCalled = 0;
    int quitCalled = 0;
    uint64_t startMs = 0;
    std::vector<HWND> closedBoxes;
    HWND lastSheet = nullptr;
    HWND lastMenu = nullptr;
    std::function<void()> timerJob;
};
