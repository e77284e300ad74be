#pragma once
// What the settings sheet and its pages work on: the plug-in's state as they see it. The plug-in
// hands its state to the sheet, and the sheet to every page through the page parameter (lParam of
// PROPSHEETPAGE, which a page receives with WM_INITDIALOG), so that the pages reach neither a
// global nor the plug-in's own code. Everything here belongs to the host's thread, and only that
// thread reads or changes it.
#include <windows.h>

#include <cstdint>

#include "config/Settings.h"
#include "config/SettingsFile.h"

class SheetState {
public:
    SheetState() = default;
    virtual ~SheetState() = default;
    SheetState(const SheetState&) = delete;
    SheetState& operator=(const SheetState&) = delete;

    virtual HWND hostWindow() const = 0;

    // What an edit changes beyond the settings, applied to the bar at once:
    // the bar's size: buffers for the width and height settings, the skin stretched to them, and
    // every line drawn afresh;
    virtual void applyBarSize() = 0;
    // SkinPath or the bar's place: the skin picture is loaded again;
    virtual void reloadSkin() = 0;
    // the colours: the background brush takes ColorBACK, and every line is drawn afresh.
    virtual void applyColours() = 0;
    // The pixel of the host skin's picture at (x, y) as a colour reference, or CLR_INVALID when
    // there is no picture or the point is off it.
    virtual COLORREF hostSkinPixel(int32_t x, int32_t y) = 0;
    virtual void hideBar() = 0;
    // The next left click, wherever it is, names the window the bar attaches to.
    virtual void startWindowPick() = 0;

    // The host's thread: the one that loaded the library, until the plug-in starts on another
    // (init, or a config or uninstall call made while it is not running). Debug builds check at
    // every entry point that they run on it.
    void claimHostThread() { hostThreadId = GetCurrentThreadId(); }
    bool onHostThread() const { return GetCurrentThreadId() == hostThreadId; }

    Settings settingsSnapshot;  // restored by the sheet's cancel
    Settings liveSettings;      // read by all running code, edited in place by the pages
    SettingsFileState settingsFile;
    // The colour dialog's custom colours, kept while the library is loaded.
    COLORREF customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                  0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    HWND barWindow = nullptr;     // null until init creates it
    HWND attachWindow = nullptr;  // the window the bar follows instead of the host; null = the host

private:
    DWORD hostThreadId = GetCurrentThreadId();
};
