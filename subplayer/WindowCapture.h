#pragma once
// Reads a window's pixels back the way the plug-in's own drawing reached it: BitBlt from the
// window's device context into a 32-bit top-down DIB.
#include <windows.h>

#include "subplayer/Image.h"

// The rectangle (x, y, width, height) of the client area; returns 0 when the window or the
// copy fails.
int captureWindow(HWND window, int x, int y, int width, int height, Image& image);
// The whole client area.
int captureClient(HWND window, Image& image);
// The whole window with its frame and caption, as it looks on the screen.
int captureWholeWindow(HWND window, Image& image);
