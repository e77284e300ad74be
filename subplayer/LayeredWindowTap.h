#pragma once
// What the plug-in hands to a layered window (its desktop window), watched through its import of
// UpdateLayeredWindowIndirect: how long the window system takes over each update, and the whole
// picture the window shows after it. The window system's part of a frame tick is its own, not the
// plug-in's, and under Wine it is the larger part; the picture is what the window puts over the
// desktop, which no read-back of the screen gives (the X server shows no alpha).
#include <windows.h>

#include <memory>

#include "subplayer/Image.h"
#include "subplayer/ImportPatch.h"

// A picture as the window system takes it: 0xAARRGGBB, premultiplied, rows from the top.
struct LayeredPicture {
    HWND window = nullptr;
    Image pixels;
};

class LayeredWindowTap {
public:
    LayeredWindowTap() = default;
    LayeredWindowTap(const LayeredWindowTap&) = delete;
    LayeredWindowTap& operator=(const LayeredWindowTap&) = delete;
    ~LayeredWindowTap() { detach(); }

    // Watches this library's updates (one library at a time: the calls come through one function);
    // nothing when it makes none.
    void attach(HMODULE library);
    // Undone before the library is freed.
    void detach();

    // The milliseconds spent in the system's updates since the last call.
    double takeUpdateMs();
    // While on, every update also copies the picture (off while ticks are timed, so that the copy
    // does not count as the plug-in's time). On from the start.
    void keepPictures(bool on);
    // The picture last handed over whole or in part; false before the first.
    bool lastPicture(LayeredPicture& out) const;

private:
    std::unique_ptr<ImportPatch> patch;
};
