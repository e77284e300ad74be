#include "plugin/BarWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cassert>

#include "plugin/BarPlacement.h"
#include "plugin/DesktopWindow.h"
#include "plugin/FrameTick.h"
#include "plugin/GlobalHotkeys.h"
#include "plugin/HostLink.h"
#include "plugin/LiveTiming.h"
#include "plugin/Placement.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginState.h"
#include "plugin/SettingsSheet.h"
#include "plugin/SongChange.h"
#include "resources/ResourceIds.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

const wchar_t kBarWindowClass[] = L"SorvaneVis";

namespace {

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const RenderSurface& surface = plugin.renderSurface;
    const Settings& live = plugin.liveSettings;
    const SurfaceBuffer& view = surface.shownFrame();
    if (view.dc) {
        BitBlt(dc, 0, 0, live.width, barWindowHeight(live), view.dc, 0, 0, SRCCOPY);
    } else if (surface.backgroundBrush) {
        RECT r = {0, 0, live.width, barWindowHeight(live)};
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

// The timing step a key stands for: "[" earlier, "]" later, a second with Shift; 0 for any other
// key. The key is told by the character it types on the keyboard's layout without Shift.
int32_t timingStepForKey(WPARAM virtualKey) {
    UINT character = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR) & 0x7FFF;
    if (character != '[' && character != ']') return 0;
    int32_t step = GetKeyState(VK_SHIFT) < 0 ? kLargeShiftStepMs : kShiftStepMs;
    return character == '[' ? step : -step;
}

// On layouts where the brackets are typed with another key (AltGr and a digit, say), the
// characters themselves step: "{" and "}" as Shift gives them on the others.
int32_t timingStepForCharacter(WPARAM character) {
    switch (character) {
    case '[': return kShiftStepMs;
    case ']': return -kShiftStepMs;
    case '{': return kLargeShiftStepMs;
    case '}': return -kLargeShiftStepMs;
    default: return 0;
    }
}

void addMenuItem(HMENU menu, UINT id, UiText text, bool enabled) {
    AppendMenuW(menu, MF_STRING | (enabled ? 0u : MF_GRAYED), id, uiTextW(text).c_str());
}

void showSettingsMenu(HWND window, LPARAM lParam) {
    POINT p = {LOWORD(lParam), HIWORD(lParam)};
    ClientToScreen(window, &p);
    bool shiftable = canShiftTiming(), saveable = canSaveTiming(), unsaved = hasUnsavedShift();
    HMENU menu = CreatePopupMenu();
    addMenuItem(menu, IDM_SETTINGS, UiText::SettingsMenuItem, true);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    addMenuItem(menu, IDM_SHIFT_EARLIER, UiText::ShiftEarlierMenuItem, shiftable);
    addMenuItem(menu, IDM_SHIFT_LATER, UiText::ShiftLaterMenuItem, shiftable);
    addMenuItem(menu, IDM_SHIFT_EARLIER_LARGE, UiText::ShiftEarlierLargeMenuItem, shiftable);
    addMenuItem(menu, IDM_SHIFT_LATER_LARGE, UiText::ShiftLaterLargeMenuItem, shiftable);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    addMenuItem(menu, IDM_SHIFT_RESET, UiText::ShiftResetMenuItem, shiftable && unsaved);
    addMenuItem(menu, IDM_SAVE_TIMING, UiText::SaveTimingMenuItem, saveable && unsaved);
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, p.x - 8, p.y - 8, window, nullptr);
    DestroyMenu(menu);
}

void timingCommand(int id) {
    switch (id) {
    case IDM_SHIFT_EARLIER: stepTiming(kShiftStepMs); break;
    case IDM_SHIFT_LATER: stepTiming(-kShiftStepMs); break;
    case IDM_SHIFT_EARLIER_LARGE: stepTiming(kLargeShiftStepMs); break;
    case IDM_SHIFT_LATER_LARGE: stepTiming(-kLargeShiftStepMs); break;
    case IDM_SHIFT_RESET: resetTiming(); break;
    case IDM_SAVE_TIMING: saveTiming(); break;
    default: break;
    }
}

LRESULT CALLBACK barWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    assert(plugin.onHostThread());
    switch (message) {
    case WM_CREATE: InitCommonControls(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ERASEBKGND:
    case WM_SHOWWINDOW:
    case WM_DROPFILES: return 0;
    case WM_PAINT: paint(window); return 0;
    case WM_CLOSE:
        plugin.tickTimer.stop();
        PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR: {
        if (plugin.placement.pickMode) {
            applyPickCursor(plugin.placement);
            return 0;
        }
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        if (inDesktopMode() && LOWORD(lParam) == HTCLIENT && showDesktopEdgeCursor(MAKELPARAM(p.x, p.y))) return TRUE;
        break;
    }
    case WM_NCHITTEST: return inDesktopMode() ? desktopHitTest() : HTCLIENT;
    case WM_DPICHANGED:
        if (!inDesktopMode()) break;
        followDpiChange(wParam, reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        if (inDesktopMode()) keepDesktopWindowOnScreen();
        break;
    case kHotkeyMessage: runHotkeyAction(wParam); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: {
        // "[" and "]" are the bar's own; every other key goes on to the host.
        int32_t step = timingStepForKey(wParam);
        if (step == 0) {
            passKeyToHost(message, wParam, lParam);
        } else if (message == WM_KEYDOWN) {
            stepTiming(step);
        }
        if (message == WM_KEYDOWN) plugin.bracketKeyTaken = step != 0;
        return 0;
    }
    case WM_CHAR: {
        // A UTF-16 unit: a character of any script is only ever itself, never a byte that
        // happens to look like one of the bar's keys.
        if (wParam == 'h' || wParam == 'H') resetPlacement();
        int32_t step = timingStepForCharacter(wParam);
        if (step != 0 && !plugin.bracketKeyTaken) stepTiming(step);
        plugin.bracketKeyTaken = false;
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_SETTINGS) {
            plugin.configRequested = 1;
            config();
        } else {
            timingCommand(LOWORD(wParam));
        }
        break;
    case WM_TIMER:
        if (plugin.placement.pickMode) applyPickCursor(plugin.placement);
        runFrameTick();
        plugin.tickTimer.tickHandled();
        break;
    case kLyricsLookedUpMessage: adoptLookedUpLyrics(); return 0;
    case kLinesPreparedMessage: takePreparedLines(); return 0;
    case kLyricsFoundOnlineMessage: adoptOnlineLyrics(); return 0;
    case WM_MOUSEMOVE: dragTo(lParam); return 0;
    case WM_LBUTTONDOWN:
        if (plugin.placement.pickMode)
            finishWindowPick(lParam);
        else
            startDrag(lParam);
        return 0;
    case WM_LBUTTONUP: endDrag(); return 0;
    case WM_LBUTTONDBLCLK: cycleEffects(); break;
    case WM_RBUTTONDOWN: showSettingsMenu(window, lParam); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int registerBarClass(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = barWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PLUGIN));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kBarWindowClass;
    return RegisterClassW(&wc) ? 1 : 0;
}

void unregisterBarClass(HINSTANCE instance) { UnregisterClassW(kBarWindowClass, instance); }

HWND createBarWindow(HINSTANCE instance) {
    std::wstring title = widen(kPluginDescription);
    if (inDesktopMode()) return createDesktopWindow(instance, kBarWindowClass, title.c_str());
    RECT host = {};
    GetWindowRect(plugin.hostWindow(), &host);
    const BarPlacement& place = plugin.placement;
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, kBarWindowClass, title.c_str(), WS_POPUP | WS_VISIBLE,
                           host.left + place.createOffsetX, host.top + place.createOffsetY, plugin.liveSettings.width,
                           barWindowHeight(plugin.liveSettings), nullptr, nullptr, instance, nullptr);
}
