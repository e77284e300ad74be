#include "subplayer/BarInput.h"

#include "subplayer/WinHelpers.h"

const char kPluginBarClass[] = "SorvaneVis";

namespace {

LPARAM pointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

}  // namespace

// Hidden or not: the plug-in hides its bar while another application is in front.
HWND findBarWindow() { return findProcessWindow(kPluginBarClass, 0); }

void sendKey(HWND bar, int virtualKey) {
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    SendMessageA(bar, WM_KEYDOWN, virtualKey, scan | 1);
    SendMessageA(bar, WM_KEYUP, virtualKey, scan | 1 | 0xC0000000);
}

void sendShiftedKey(HWND bar, int virtualKey) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE held = keys[VK_SHIFT], heldLeft = keys[VK_LSHIFT];
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
    sendKey(bar, virtualKey);
    keys[VK_SHIFT] = held;
    keys[VK_LSHIFT] = heldLeft;
    SetKeyboardState(keys);
}

void sendChar(HWND bar, int character) { SendMessageA(bar, WM_CHAR, character & 0xFF, 1); }

void postCharacter(HWND bar, wchar_t character) { PostMessageW(bar, WM_CHAR, character, 1); }

void sendClick(HWND bar, int x, int y) {
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, pointParam(x, y));
    SendMessageA(bar, WM_LBUTTONUP, 0, pointParam(x, y));
}

void sendDoubleClick(HWND bar, int x, int y) {
    // What the system makes of two quick clicks on a window whose class asks for double-clicks.
    sendClick(bar, x, y);
    SendMessageA(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, pointParam(x, y));
    SendMessageA(bar, WM_LBUTTONUP, 0, pointParam(x, y));
}

void sendRightClick(HWND bar, int x, int y) {
    SendMessageA(bar, WM_RBUTTONDOWN, MK_RBUTTON, pointParam(x, y));
    if (IsWindow(bar)) SendMessageA(bar, WM_RBUTTONUP, 0, pointParam(x, y));
}

void sendDrag(HWND bar, int x0, int y0, int x1, int y1, int steps) {
    POINT start = {x0, y0};
    ClientToScreen(bar, &start);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, pointParam(x0, y0));
    POINT p = {x0, y0};
    for (int k = 1; k <= steps; ++k) {
        p.x = start.x + (x1 - x0) * k / steps;
        p.y = start.y + (y1 - y0) * k / steps;
        ScreenToClient(bar, &p);
        SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, pointParam(p.x, p.y));
    }
    SendMessageA(bar, WM_LBUTTONUP, 0, pointParam(p.x, p.y));
}
