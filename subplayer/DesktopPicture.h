#pragma once
// The desktop window as a user sees it: its picture (premultiplied alpha, as the window system
// takes it) laid over a desktop picture the way the system's compositor lays it, for the user
// guide. The desktop picture is drawn here, an evening sky over hills, so that the see-through
// parts of the window show something with colours and edges.
#include <cstdint>

#include "subplayer/Image.h"

// The desktop picture's pixel (0x00RRGGBB) at (x, y) of a screen this size.
uint32_t wallpaperPixel(int x, int y, int screenWidth, int screenHeight);

// A pixel of premultiplied 0xAARRGGBB laid over an opaque 0x00RRGGBB one.
uint32_t premultipliedOver(uint32_t top, uint32_t under);

// The part of the screen around a window at (left, top) showing `picture`: the window and
// `margin` pixels on every side, cut to the screen. Empty when the window is off the screen.
Image composeOverWallpaper(const Image& picture, int left, int top, int margin, int screenWidth, int screenHeight);
