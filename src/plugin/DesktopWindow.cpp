#include "plugin/DesktopWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "plugin/DesktopLayout.h"
#include "plugin/PluginSettings.h"
#include "plugin/PluginState.h"

namespace {

// How near the left or right edge, in pixels at 96 DPI, a press sizes the window instead of moving it.
constexpr int32_t kSizingEdge = 6;

// Windows 10 1703 and later; looked up at run time, so that older systems load the library. Windows
// switches the thread to a window's DPI awareness while it handles the window's messages, so the
// tick and the mouse work in the desktop window's own, unscaled pixels.
using SetThreadDpiContext = HANDLE(WINAPI*)(HANDLE);
using DpiForWindow = UINT(WINAPI*)(HWND);
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));

void* user32Function(const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name));
}

int32_t dpiOf(HWND window) {
    auto dpiForWindow = reinterpret_cast<DpiForWindow>(user32Function("GetDpiForWindow"));
    UINT dpi = dpiForWindow ? dpiForWindow(window) : 0;
    if (dpi) return static_cast<int32_t>(dpi);
    // Before Windows 10: the system's DPI, which every monitor shares.
    HDC screen = GetDC(nullptr);
    int logical = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kStandardDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return logical > 0 ? logical : kStandardDpi;
}

bool locked() { return plugin.liveSettings.Locked && !plugin.configRunning; }

LONG_PTR wantedExStyle() {
    LONG_PTR style = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    return locked() ? style | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE : style;
}

// The window as the settings place it, at the DPI it stands at. Asked on every tick: only the
// size, not the frame settings' copy of every setting.
ScreenRect wantedRect() {
    const Settings& live = plugin.liveSettings;
    DesktopSize size = plugin.desktopSize();
    return {live.Desktop_x, live.Desktop_y, live.Desktop_x + size.width,
            live.Desktop_y + barWindowHeight(size.rowHeight, live.Rows)};
}

ScreenRect fromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void applyExStyle() {
    HWND bar = plugin.barWindow;
    LONG_PTR wanted = wantedExStyle();
    LONG_PTR now = GetWindowLongPtrW(bar, GWL_EXSTYLE);
    const LONG_PTR ours = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_ACCEPTFILES;
    if ((now & ours) == (wanted & ours)) return;
    SetWindowLongPtrW(bar, GWL_EXSTYLE, (now & ~ours) | wanted);
    plugin.desktopFrames.forgetShown();
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

bool inDesktopMode() { return plugin.liveSettings.Window == kDesktopWindow; }

HWND createDesktopWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* title) {
    auto setContext = reinterpret_cast<SetThreadDpiContext>(user32Function("SetThreadDpiAwarenessContext"));
    HANDLE previous = setContext ? setContext(kPerMonitorAwareV2) : nullptr;
    ScreenRect r = wantedRect();
    HWND window = CreateWindowExW(wantedExStyle(), className, title, WS_POPUP, r.left, r.top, r.width(), r.height(),
                                  nullptr, nullptr, instance, nullptr);
    if (window) {
        plugin.placement.desktopDpi = dpiOf(window);
        plugin.barWindow = window;
        // In the window's own pixels, as its messages are handled: the monitors unscaled.
        keepDesktopWindowOnScreen();
    }
    if (previous) setContext(previous);
    return window;
}

void keepDesktopWindowOnScreen() {
    ScreenRect wanted = wantedRect();
    POINT middle = {wanted.left + wanted.width() / 2, wanted.top + wanted.height() / 2};
    RECT asked = {wanted.left, wanted.top, wanted.right, wanted.bottom};
    HMONITOR shown = MonitorFromPoint(middle, MONITOR_DEFAULTTONULL);
    HMONITOR nearest = shown ? shown : MonitorFromRect(&asked, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!nearest || !GetMonitorInfoW(nearest, &info)) return;
    // A window whose middle lies on a monitor stays, even across two; any other is moved onto the
    // nearest one's work area, and one wider than that is narrowed to it.
    ScreenRect work = fromRect(info.rcWork);
    ScreenRect kept = shown && wanted.width() <= work.width() ? wanted : keptInside(wanted, work);
    Settings& live = plugin.liveSettings;
    live.Desktop_x = kept.left;
    live.Desktop_y = kept.top;
    if (kept.width() < wanted.width())
        live.Desktop_width = std::max(kMinDesktopWidth, unscaledFromDpi(kept.width(), plugin.placement.desktopDpi));
}

void placeDesktopWindow() {
    HWND bar = plugin.barWindow;
    applyExStyle();
    ScreenRect wanted = wantedRect();
    RECT now;
    bool standsThere = GetWindowRect(bar, &now) && now.left == wanted.left && now.top == wanted.top &&
                       now.right == wanted.right && now.bottom == wanted.bottom;
    if (!standsThere) {
        // A new place, typed, dragged or from the file: never off every screen.
        keepDesktopWindowOnScreen();
        wanted = wantedRect();
    }
    BarPlacement& place = plugin.placement;
    // A new DPI wants a new outline even where the size stays (a row at its tallest, a window as
    // wide as both monitors' work areas).
    if (wanted.width() != place.desktopBufferWidth || wanted.height() != place.desktopBufferHeight ||
        place.desktopDpi != place.desktopBufferDpi) {
        place.desktopBufferWidth = wanted.width();
        place.desktopBufferHeight = wanted.height();
        place.desktopBufferDpi = place.desktopDpi;
        plugin.applyBarSize();
    }
    if (!standsThere)
        SetWindowPos(bar, nullptr, wanted.left, wanted.top, wanted.width(), wanted.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void leaveDesktopStyle() {
    HWND bar = plugin.barWindow;
    LONG_PTR now = GetWindowLongPtrW(bar, GWL_EXSTYLE);
    if (!(now & WS_EX_LAYERED)) return;
    SetWindowLongPtrW(bar, GWL_EXSTYLE,
                      (now & ~(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE)) | WS_EX_ACCEPTFILES);
    plugin.desktopFrames.forgetShown();
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    BarPlacement& place = plugin.placement;
    place.desktopBufferWidth = place.desktopBufferHeight = 0;
    // The bar goes back onto the host on this tick, wherever the host stands.
    place.lastTargetX = place.lastTargetY = INT32_MIN;
}

LRESULT desktopHitTest() { return locked() ? HTTRANSPARENT : HTCLIENT; }

int desktopEdgeAt(LPARAM clientPoint) {
    if (locked()) return 0;
    RECT r;
    GetClientRect(plugin.barWindow, &r);
    int32_t edge = scaledToDpi(kSizingEdge, plugin.placement.desktopDpi);
    int x = GET_X_LPARAM(clientPoint);
    return x < edge ? -1 : x >= r.right - edge ? 1 : 0;
}

bool showDesktopEdgeCursor(LPARAM clientPoint) {
    if (!desktopEdgeAt(clientPoint)) return false;
    SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
    return true;
}

void dragDesktopWindow(const BarPlacement& place, int32_t dx, int32_t dy) {
    Settings& live = plugin.liveSettings;
    int32_t dpi = place.desktopDpi;
    if (place.dragEdge == 0) {
        live.Desktop_x = place.dragBarOrigin.x + dx;
        live.Desktop_y = place.dragBarOrigin.y + dy;
    } else {
        // Only the width follows the mouse: the height is the rows'. The edge that is not dragged stays.
        int32_t width = place.dragBarWidth + (place.dragEdge > 0 ? dx : -dx);
        live.Desktop_width = std::clamp(unscaledFromDpi(width, dpi), kMinDesktopWidth, kMaxDesktopWidth);
        int32_t columns = scaledToDpi(live.Desktop_width, dpi);
        if (place.dragEdge < 0) live.Desktop_x = place.dragBarOrigin.x + place.dragBarWidth - columns;
    }
    plugin.positionDirty = 1;
    placeDesktopWindow();
}

void followDpiChange(WPARAM dpi, const RECT* suggested) {
    plugin.placement.desktopDpi = LOWORD(dpi);
    Settings& live = plugin.liveSettings;
    live.Desktop_x = suggested->left;
    live.Desktop_y = suggested->top;
    placeDesktopWindow();
}

void toggleDesktopLock() {
    plugin.liveSettings.Locked = plugin.liveSettings.Locked ? 0 : 1;
    if (inDesktopMode()) applyExStyle();
    saveDesktopSettings();
}

const FramePresenter& desktopPresenter() {
    LayeredWindowPresenter& presenter = plugin.desktopFrames;
    const Settings& live = plugin.liveSettings;
    presenter.target = plugin.barWindow;
    presenter.background = live.ColorBACK;
    presenter.opacity = live.DesktopBack;
    presenter.skin = plugin.renderSurface.hasSkin() ? &plugin.renderSurface.skinImage : nullptr;
    presenter.framed = plugin.configRunning != 0;
    return presenter;
}
