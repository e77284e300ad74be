#pragma once
// The plug-in's state: everything that lives from the library's load to its unload, in one object,
// `plugin`, built when the library loads and destroyed when it unloads.
//
// Which thread owns what:
// - The host's user-interface thread owns all of it, and it alone reads or changes it, so nothing
//   here needs a lock. The descriptor's entry points, the bar's window procedure with its tick, the
//   host's replies and the settings sheet all run there; debug builds check so at each of these
//   entry points (onHostThread).
// - The multimedia timer's thread touches only the tick timer's own queued mark, an atomic, and
//   the bar's handle, which the timer was given when it started (TickTimer).
// - Worker threads (the lyrics lookups, the line preparer) never touch this state. Each owns what
//   it works on: a request carries everything the host's thread gathered for it, and the result
//   goes into the worker's own mailbox, whose posted message makes the bar's window procedure
//   adopt it here, on the host's thread (WorkerThread.h). A worker never sends the host a message:
//   sent while the host's thread waits for something of ours, it would never be answered.
#include <windows.h>

#include <memory>

#include "config/SheetState.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/TimingShift.h"
#include "plugin/BarPlacement.h"
#include "plugin/DesktopLayout.h"
#include "plugin/LinePreparer.h"
#include "plugin/LyricsLookup.h"
#include "plugin/OnlineLookup.h"
#include "plugin/PlayerState.h"
#include "plugin/SongIdentity.h"
#include "plugin/TickTimer.h"
#include "render/RenderSurface.h"
#include "render/TitleBanner.h"
#include "render/VerticalSync.h"

class PluginState : public SheetState {
public:
    PluginState();
    ~PluginState() override;

    // The player's main window and the library's module, from the descriptor.
    HWND hostWindow() const override;
    HINSTANCE moduleInstance() const;

    void applyBarSize() override;
    void reloadSkin() override;
    void applyColours() override;
    COLORREF hostSkinPixel(int32_t x, int32_t y) override;
    void hideBar() override;
    void startWindowPick() override;

    // The settings the frames are drawn with: the live ones, except that in desktop mode the bar's
    // width and row height are the desktop window's at its monitor's DPI.
    const Settings& frameSettings();
    // The desktop window's width, row height and outline at its monitor's DPI, without the copy of
    // every setting that frameSettings makes.
    DesktopSize desktopSize() const;
    // The width of the outline the frames' lines are drawn with: the bar's, or in desktop mode the
    // desktop window's at its monitor's DPI.
    int32_t frameOutlineWidth() const;

    // Forgets the lines the bar showed of the last document: the due and shown lines and the text
    // layers of both buffer sets. The display state stays.
    void resetDisplay();

    PlayerState playerState;
    HostPoller hostPoller;
    // The song the bar shows and its lyrics. A lookup's result replaces the whole document.
    SongIdentity currentSong;
    std::unique_ptr<LyricsDocument> lyricsDocument;
    LyricsLookup lyricsLookup;
    OnlineLookup onlineLookup;
    std::optional<std::string> songHostTitle;  // the host's playlist title of the current song
    uint32_t onlineAskedFor = 0;               // the song change last searched online: once a song
    // Lyrics found for the current song, adopted once the first things they show are drawn.
    std::unique_ptr<LookupResult> pendingLyrics;
    DWORD pendingSince = 0;
    int warningsPending = 0;  // malformed-tag warnings of adopted loads not yet shown
    int warningShown = 0;     // one is open now
    // The timing the user fixed on the bar for the current document (plugin/LiveTiming.h), and
    // the note that tells of the last fix: shown from noteSince (GetTickCount) for a while.
    LiveShift liveShift;
    std::wstring noteText;
    DWORD noteSince = 0;
    RenderSurface renderSurface;
    LayeredWindowPresenter desktopFrames;  // hands the frames to the desktop window
    VerticalSync verticalSync;
    LinePreparer linePreparer;
    TitleBanner titleBanner;
    TickTimer tickTimer;
    BarPlacement placement;
    int running = 0;  // from init until quit; 0 again after a failed init
    int configRequested = 0;
    int configRunning = 0;
    int positionDirty = 0;  // the bar was dragged or reset: quit saves all settings
    // A bracket key taken by the bar: its character message, which follows, is not a step of its own.
    bool bracketKeyTaken = false;

private:
    Settings desktopSettings;  // frameSettings() in desktop mode
};

extern PluginState plugin;
