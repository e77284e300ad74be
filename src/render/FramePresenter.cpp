#include "render/FramePresenter.h"

#include "utils/GdiGuards.h"

void WindowPresenter::present(const SurfaceBuffer& frame, int32_t columns, int32_t rows) const {
    if (!target || !frame.dc) return;
    WindowDc dc(target);
    if (dc) BitBlt(dc, x, y, columns, rows, frame.dc, 0, 0, SRCCOPY);
}
