#include "plugin/Placement.h"

#include <windowsx.h>

#include "plugin/Globals.h"
#include "resources/ResourceIds.h"
#include "utils/Text.h"
#include "utils/WinText.h"

int barShown = 1;
int32_t lset2Counter = 0;

namespace {

int32_t lastTargetX = 0, lastTargetY = 0;
int32_t createOffsetX = 21, createOffsetY = 40;
int dragging = 0;
POINT dragBarOrigin = {}, dragPointerOrigin = {};
int pickMode = 0;
HCURSOR pickCursor = nullptr;

// A move is costly even when it changes nothing (under Wine it is most of a tick); a bar that
// already stands there at that size is left alone, with the same result.
bool barStandsAt(int x, int y) {
    RECT r;
    return GetWindowRect(barWindow, &r) && r.left == x && r.top == y && r.right - r.left == liveSettings.width &&
           r.bottom - r.top == liveSettings.height;
}

BOOL moveBar(int x, int y) {
    if (barStandsAt(x, y)) return TRUE;
    return MoveWindow(barWindow, x, y, liveSettings.width, liveSettings.height, TRUE);
}

POINT screenPoint(LPARAM lParam) {
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(barWindow, &p);
    return p;
}

HWND followedWindow() { return attachWindow ? attachWindow : hostWindow(); }

}  // namespace

void placeBar() {
    RECT r;
    if (attachWindow) {
        // A window that is gone, or that the bar cannot be moved onto, ends the attachment.
        if (!GetWindowRect(attachWindow, &r) || !moveBar(r.left + liveSettings.Winamp_x, r.top + liveSettings.Winamp_y))
            attachWindow = nullptr;
        return;
    }
    if (!GetWindowRect(hostWindow(), &r)) return;
    int32_t x = r.left + liveSettings.Winamp_x;
    int32_t y = r.top + liveSettings.Winamp_y;
    if (x == lastTargetX && y == lastTargetY) return;
    // The cached y is the host's top alone: unless Winamp_y is 0 the bar is moved on every tick,
    // which is also what applies a new width or height while the host stands still.
    lastTargetX = x;
    lastTargetY = r.top;
    if (liveSettings.Move_with_Winamp)
        moveBar(x, y);
    else
        moveBar(liveSettings.Winamp_x, liveSettings.Winamp_y);
}

void applyForegroundRule() {
    if (!liveSettings.Direct) return;
    HWND front = GetForegroundWindow();
    if (front == hostWindow() || front == barWindow || front == attachWindow) {
        if (barShown) return;
        if (liveSettings.Lset == 2 && !(playerState.playStatus == 1 && lyricsDocument.isLoaded())) return;
        showBar();
        barShown = 1;
    } else if (barShown) {
        hideBar();
        barShown = 0;
    }
}

void songStartShow() {
    if (liveSettings.Lset != 2) return;
    if (lset2Counter >= 5000 || lset2Counter >= playerState.positionMs) return;
    lset2Counter += 100;
    if (lyricsDocument.isLoaded()) {
        showBar();
        SetFocus(barWindow);
    } else {
        InvalidateRect(hostWindow(), nullptr, TRUE);
    }
}

void showBar() { SetWindowPos(barWindow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW); }

void hideBar() {
    SetWindowPos(barWindow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void startDrag(LPARAM point) {
    RECT r;
    GetWindowRect(barWindow, &r);
    dragBarOrigin = {r.left, r.top};
    dragPointerOrigin = screenPoint(point);
    dragging = 1;
    SetCapture(barWindow);
}

void dragTo(LPARAM point) {
    if (!dragging) return;
    POINT p = screenPoint(point);
    int32_t x = dragBarOrigin.x + p.x - dragPointerOrigin.x;
    int32_t y = dragBarOrigin.y + p.y - dragPointerOrigin.y;
    SetWindowPos(barWindow, nullptr, x, y, 0, 0, SWP_NOSIZE);
    RECT ref = {};
    GetWindowRect(followedWindow(), &ref);
    if (liveSettings.Move_with_Winamp) {
        liveSettings.Winamp_x = x - ref.left;
        liveSettings.Winamp_y = y - ref.top;
    } else {
        liveSettings.Winamp_x = x;
        liveSettings.Winamp_y = y;
    }
    setCreateOffset(x - ref.left, y - ref.top);
    positionDirty = 1;
}

void endDrag() {
    dragging = 0;
    ReleaseCapture();
}

void startWindowPick() {
    pickMode = 1;
    pickCursor = LoadCursorA(moduleInstance(), MAKEINTRESOURCEA(IDC_PICK_CURSOR));
    SetCursor(pickCursor);
    SetCapture(barWindow);
}

int pickModeOn() { return pickMode; }

void applyPickCursor() { SetCursor(pickCursor); }

void finishWindowPick(LPARAM point) {
    HWND picked = WindowFromPoint(screenPoint(point));
    pickMode = 0;
    ReleaseCapture();
    // Following itself, the bar would step away by its offset on every tick and leave the
    // screen: a click on the bar picks nothing.
    if (picked && picked == barWindow) return;
    attachWindow = picked;
    wchar_t className[257] = {};  // class names are at most 256 characters
    GetClassNameW(attachWindow, className, 257);
    assignString(liveSettings.OtherWinClass, narrow(className).c_str());
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(attachWindow)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(attachWindow, title.data(), static_cast<int>(title.size()))));
    assignString(liveSettings.OtherWinName, narrow(title).c_str());
}

void setCreateOffset(int32_t x, int32_t y) {
    createOffsetX = x;
    createOffsetY = y;
}

POINT createOffset() { return {createOffsetX, createOffsetY}; }
