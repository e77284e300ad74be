#pragma once
// Draws spare text layers and banner pictures ahead of need on a worker thread, so that the tick
// that shows a new line or title only composes it: the renderer lends the worker spare layers
// (their memory DCs and bitmaps, which the worker alone uses while they are out) with what to
// draw into them, and the drawn layers come back through the worker's mailbox to the bar, which
// returns them to the renderer (returnTo).
#include <windows.h>

#include <memory>

#include "plugin/WorkerThread.h"
#include "render/BannerPicture.h"
#include "render/TextLayers.h"

class RenderSurface;

// One of the two, lent to the worker and handed back drawn.
struct Drawing {
    std::unique_ptr<TextLayers> layers;
    std::unique_ptr<BannerPicture> banner;
};

class LinePreparer : public LayerPreparer {
public:
    // Starts the worker; drawn layers are announced to the bar with message.
    int start(HWND bar, UINT message);
    // Quit: the worker ends after the layers it draws, or is left to end on its own.
    void stop();
    void prepare(std::unique_ptr<TextLayers> layers) override;
    void prepareBanner(std::unique_ptr<BannerPicture> picture) override;
    // Everything drawn so far goes back to the surface.
    void returnTo(RenderSurface& surface);

private:
    WorkerThread<Drawing, Drawing> worker;
};
