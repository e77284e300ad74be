#pragma once
// The bar as a window of its own on the desktop (Window 1): a layered, topmost tool window with no
// owner, drawn with per-pixel alpha, sized by the DPI of the monitor it stands on and kept on a
// screen. Unlocked it is dragged from anywhere and sized from its left and right edges; locked,
// clicks pass through it. While the settings are open it is unlocked and framed.
#include <windows.h>

#include "render/FramePresenter.h"

// Sent from Windows 8.1 on; the headers name it only for builds that target it.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

bool inDesktopMode();

// Creates the bar window (of the bar's class) as the desktop window, per-monitor DPI aware where the
// system has it, at Desktop_x and Desktop_y brought onto a screen.
HWND createDesktopWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* title);
// Frame tick step: the style the lock asks for, the size for the DPI and the settings, the place
// they name, and buffers of that size.
void placeDesktopWindow();
// Frame tick step in bar mode: a window that was the desktop window becomes the bar again.
void leaveDesktopStyle();
// A place no monitor shows is moved onto the nearest monitor's work area.
void keepDesktopWindowOnScreen();

struct BarPlacement;

// The window procedure's parts: the hit test (HTTRANSPARENT when locked), the side edge a press at
// a client point sizes from (-1 left, 1 right, 0 none: it moves the window) and its cursor, the
// drag by (dx, dy) from where it started, a new DPI.
LRESULT desktopHitTest();
int desktopEdgeAt(LPARAM clientPoint);
bool showDesktopEdgeCursor(LPARAM clientPoint);
void dragDesktopWindow(const BarPlacement& place, int32_t dx, int32_t dy);
void followDpiChange(WPARAM dpi, const RECT* suggested);

void toggleDesktopLock();
// The presenter of this tick's frames, set for the current settings.
const FramePresenter& desktopPresenter();
