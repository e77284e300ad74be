#include "plugin/Placement.h"

#include <windowsx.h>

#include "plugin/BarPlacement.h"
#include "plugin/DesktopWindow.h"
#include "plugin/PluginSettings.h"
#include "plugin/PluginState.h"
#include "utils/WinText.h"

namespace {

BarPlacement& placement() { return plugin.placement; }

// A move is costly even when it changes nothing (under Wine it is most of a tick); a bar that
// already stands there at that size is left alone, with the same result.
bool barStandsAt(int x, int y) {
    RECT r;
    const Settings& live = plugin.liveSettings;
    return GetWindowRect(plugin.barWindow, &r) && r.left == x && r.top == y && r.right - r.left == live.width &&
           r.bottom - r.top == barWindowHeight(live);
}

BOOL moveBar(int x, int y) {
    if (barStandsAt(x, y)) return TRUE;
    return MoveWindow(plugin.barWindow, x, y, plugin.liveSettings.width, barWindowHeight(plugin.liveSettings), TRUE);
}

POINT screenPoint(LPARAM lParam) {
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(plugin.barWindow, &p);
    return p;
}

}  // namespace

void placeBar() {
    if (inDesktopMode()) {
        placeDesktopWindow();
        return;
    }
    leaveDesktopStyle();
    RECT r;
    const Settings& live = plugin.liveSettings;
    if (plugin.attachWindow) {
        // A window that is gone, or that the bar cannot be moved onto, ends the attachment.
        if (!GetWindowRect(plugin.attachWindow, &r) || !moveBar(r.left + live.Winamp_x, r.top + live.Winamp_y))
            plugin.attachWindow = nullptr;
        return;
    }
    if (!GetWindowRect(plugin.hostWindow(), &r)) return;
    int32_t x = r.left + live.Winamp_x;
    int32_t y = r.top + live.Winamp_y;
    BarPlacement& place = placement();
    if (x == place.lastTargetX && y == place.lastTargetY) return;
    // The cached y is the host's top alone: unless Winamp_y is 0 the bar is moved on every tick,
    // which is also what applies a new width or height while the host stands still.
    place.lastTargetX = x;
    place.lastTargetY = r.top;
    if (live.Move_with_Winamp)
        moveBar(x, y);
    else
        moveBar(live.Winamp_x, live.Winamp_y);
}

void applyForegroundRule() {
    const Settings& live = plugin.liveSettings;
    // The desktop window stays in view whatever is in front: that is what it is for.
    if (!live.Direct || inDesktopMode()) return;
    HWND front = GetForegroundWindow();
    BarPlacement& place = placement();
    if (front == plugin.hostWindow() || front == plugin.barWindow || front == plugin.attachWindow) {
        if (place.barShown) return;
        if (live.Lset == kHideBar && !(plugin.playerState.playStatus == 1 && plugin.lyricsDocument->isLoaded())) return;
        showLyricsWindow();
        place.barShown = 1;
    } else if (place.barShown) {
        hideBar(plugin.barWindow);
        place.barShown = 0;
    }
}

void songStartShow() {
    if (plugin.liveSettings.Lset != kHideBar) return;
    int32_t& counter = placement().lset2Counter;
    if (counter >= 5000 || counter >= plugin.playerState.positionMs) return;
    counter += 100;
    if (plugin.lyricsDocument->isLoaded()) {
        showLyricsWindow();
        if (!inDesktopMode()) SetFocus(plugin.barWindow);
    } else {
        InvalidateRect(plugin.hostWindow(), nullptr, TRUE);
    }
}

void showLyricsWindow() {
    if (plugin.placement.lyricsHidden) return;
    // The desktop window never takes the focus from the program the user works in.
    if (inDesktopMode())
        SetWindowPos(plugin.barWindow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        showBar(plugin.barWindow);
}

void toggleLyricsShown() {
    BarPlacement& place = placement();
    place.lyricsHidden = place.lyricsHidden ? 0 : 1;
    if (place.lyricsHidden)
        hideBar(plugin.barWindow);
    else if (inDesktopMode() || place.barShown)  // the rules that hide the bar (Direct, Lset) go on from here
        showLyricsWindow();
}

void startDrag(LPARAM point) {
    // Locked, the window lets clicks through; should one still arrive, nothing moves it.
    if (inDesktopMode() && plugin.liveSettings.Locked && !plugin.configRunning) return;
    RECT r;
    GetWindowRect(plugin.barWindow, &r);
    BarPlacement& place = placement();
    place.dragBarOrigin = {r.left, r.top};
    place.dragPointerOrigin = screenPoint(point);
    place.dragEdge = inDesktopMode() ? desktopEdgeAt(point) : 0;
    place.dragBarWidth = r.right - r.left;
    place.dragging = 1;
    SetCapture(plugin.barWindow);
}

void dragTo(LPARAM point) {
    BarPlacement& place = placement();
    if (!place.dragging) return;
    POINT p = screenPoint(point);
    int32_t x = place.dragBarOrigin.x + p.x - place.dragPointerOrigin.x;
    int32_t y = place.dragBarOrigin.y + p.y - place.dragPointerOrigin.y;
    if (inDesktopMode()) {
        dragDesktopWindow(place, p.x - place.dragPointerOrigin.x, p.y - place.dragPointerOrigin.y);
        return;
    }
    SetWindowPos(plugin.barWindow, nullptr, x, y, 0, 0, SWP_NOSIZE);
    Settings& live = plugin.liveSettings;
    plugin.positionDirty = 1;
    RECT ref = {};
    GetWindowRect(plugin.attachWindow ? plugin.attachWindow : plugin.hostWindow(), &ref);
    if (live.Move_with_Winamp) {
        live.Winamp_x = x - ref.left;
        live.Winamp_y = y - ref.top;
    } else {
        live.Winamp_x = x;
        live.Winamp_y = y;
    }
    place.createOffsetX = x - ref.left;
    place.createOffsetY = y - ref.top;
}

void endDrag() {
    BarPlacement& place = placement();
    bool dragged = place.dragging;
    place.dragging = 0;
    ReleaseCapture();
    if (dragged && inDesktopMode()) saveDesktopSettings();
}

void finishWindowPick(LPARAM point) {
    HWND picked = WindowFromPoint(screenPoint(point));
    placement().pickMode = 0;
    ReleaseCapture();
    // Following itself, the bar would step away by its offset on every tick and leave the
    // screen: a click on the bar picks nothing.
    if (picked && picked == plugin.barWindow) return;
    plugin.attachWindow = picked;
    wchar_t className[257] = {};  // class names are at most 256 characters
    GetClassNameW(picked, className, 257);
    plugin.liveSettings.OtherWinClass = narrow(className);
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(picked)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(picked, title.data(), static_cast<int>(title.size()))));
    plugin.liveSettings.OtherWinName = narrow(title);
}
