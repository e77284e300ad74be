#pragma once
// Hands the bar's finished frame to the screen. The frame is a 32-bit picture: its memory DC for
// the GDI copies, its pixels (0x00RRGGBB, bottom-up) for anyone who reads them directly.
#include <windows.h>

#include <cstdint>

#include "render/SurfaceBuffer.h"

class FramePresenter {
public:
    virtual ~FramePresenter() = default;
    // Shows the top-left `columns` x `rows` pixels of the frame.
    virtual void present(const SurfaceBuffer& frame, int32_t columns, int32_t rows) const = 0;
};

// Copies the frame to (x, y) of a window. No window shows nothing: the DC of no window would be the
// whole screen's.
class WindowPresenter : public FramePresenter {
public:
    WindowPresenter(HWND target, int x, int y) : target(target), x(x), y(y) {}
    void present(const SurfaceBuffer& frame, int32_t columns, int32_t rows) const override;

private:
    HWND target;
    int x;
    int y;
};

// Hands the frame to a layered window (WS_EX_LAYERED) through UpdateLayeredWindow, with per-pixel
// alpha: the text and its outline opaque, the background at `opacity` percent. With a skin picture
// under the text, the pixels that are still the skin's take the background's alpha. Framed, a
// dashed edge shows the window's extent (while it can be moved and sized). The window takes the
// frame's size; its place stays. Only the part that changed since the last frame is handed over.
class LayeredWindowPresenter : public FramePresenter {
public:
    void present(const SurfaceBuffer& frame, int32_t columns, int32_t rows) const override;
    // The window lost its picture (it stopped being layered): the next frame goes to it whole.
    void forgetShown() { shown = -1; }

    HWND target = nullptr;
    int32_t background = 0;  // a colour reference: ColorBACK
    int32_t opacity = 0;     // percent
    const SurfaceBuffer* skin = nullptr;
    bool framed = false;

private:
    // The window's picture and the one before it, kept from frame to frame: what the window shows
    // is pictures[shown] (-1: nothing yet), on shownWindow.
    mutable SurfaceBuffer pictures[2];
    mutable int shown = -1;
    mutable HWND shownWindow = nullptr;
};
