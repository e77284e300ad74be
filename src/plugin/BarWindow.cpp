#include "plugin/BarWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "plugin/FrameTick.h"
#include "plugin/Lifecycle.h"
#include "plugin/Placement.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginState.h"
#include "plugin/SongChange.h"
#include "resources/ResourceIds.h"
#include "utils/WinUiText.h"

const char kBarWindowClass[] = "SorvaneVis";

namespace {

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const RenderSurface& surface = plugin.renderSurface;
    const Settings& live = plugin.liveSettings;
    const SurfaceBuffer& view = surface.buffers[kViewBuffer];
    if (view.dc) {
        BitBlt(dc, 0, 0, live.width, live.height, view.dc, 0, 0, SRCCOPY);
    } else if (surface.backgroundBrush) {
        RECT r = {0, 0, live.width, live.height};
        FillRect(dc, &r, surface.backgroundBrush);
    }
    EndPaint(window, &ps);
}

// 'h': back to the default place and size at the host's corner; the next tick applies it.
void resetPlacement() {
    Settings& live = plugin.liveSettings;
    live.Winamp_x = 21;
    live.Winamp_y = 40;
    live.width = 245;
    live.height = 18;
    plugin.placement.createOffsetX = 21;
    plugin.placement.createOffsetY = 40;
    plugin.positionDirty = 1;
}

void cycleEffects() {
    int32_t& effects = plugin.liveSettings.Effects;
    if (++effects > kLastEffect) effects = kNoEffect;
}

void showSettingsMenu(HWND window, LPARAM lParam) {
    POINT p = {LOWORD(lParam), HIWORD(lParam)};
    ClientToScreen(window, &p);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_SETTINGS, uiTextW(UiText::SettingsMenuItem).c_str());
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, p.x - 8, p.y - 8, window, nullptr);
    DestroyMenu(menu);
}

LRESULT CALLBACK barWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        InitCommonControls();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ERASEBKGND:
    case WM_SHOWWINDOW:
    case WM_DROPFILES:
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_CLOSE:
        plugin.tickTimer.stop();
        PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR:
        if (!plugin.placement.pickMode) break;
        applyPickCursor();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_KEYDOWN:
    case WM_KEYUP:
        PostMessageA(plugin.hostWindow(), message, wParam, lParam);
        return 0;
    case WM_CHAR:
        if ((wParam & 0xFF) == 'h' || (wParam & 0xFF) == 'H') resetPlacement();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_SETTINGS) {
            plugin.configRequested = 1;
            config();
        }
        break;
    case WM_TIMER:
        if (plugin.placement.pickMode) applyPickCursor();
        runFrameTick();
        plugin.tickTimer.tickHandled();
        break;
    case kLyricsLookedUpMessage:
        adoptLookedUpLyrics();
        return 0;
    case kLinesPreparedMessage:
        takePreparedLines();
        return 0;
    case kLyricsFoundOnlineMessage:
        adoptOnlineLyrics();
        return 0;
    case WM_MOUSEMOVE:
        dragTo(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (plugin.placement.pickMode)
            finishWindowPick(lParam);
        else
            startDrag(lParam);
        return 0;
    case WM_LBUTTONUP:
        endDrag();
        return 0;
    case WM_LBUTTONDBLCLK:
        cycleEffects();
        break;
    case WM_RBUTTONDOWN:
        showSettingsMenu(window, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int registerBarClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = barWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PLUGIN));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kBarWindowClass;
    return RegisterClassA(&wc) ? 1 : 0;
}

void unregisterBarClass(HINSTANCE instance) { UnregisterClassA(kBarWindowClass, instance); }

HWND createBarWindow(HINSTANCE instance) {
    RECT host = {};
    GetWindowRect(plugin.hostWindow(), &host);
    const BarPlacement& place = plugin.placement;
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, kBarWindowClass, kPluginDescription,
                           WS_POPUP | WS_VISIBLE, host.left + place.createOffsetX, host.top + place.createOffsetY,
                           plugin.liveSettings.width, plugin.liveSettings.height, nullptr, nullptr, instance, nullptr);
}
