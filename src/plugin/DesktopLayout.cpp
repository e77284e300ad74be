#include "plugin/DesktopLayout.h"

#include <algorithm>

#include "config/Settings.h"
#include "render/LineGeometry.h"

namespace {

int32_t usableDpi(int32_t dpi) { return dpi < kStandardDpi || dpi > 10 * kStandardDpi ? kStandardDpi : dpi; }

}  // namespace

int32_t scaledToDpi(int32_t length, int32_t dpi) {
    return static_cast<int32_t>((int64_t{length} * usableDpi(dpi) + kStandardDpi / 2) / kStandardDpi);
}

int32_t unscaledFromDpi(int32_t pixels, int32_t dpi) {
    int32_t used = usableDpi(dpi);
    return static_cast<int32_t>((int64_t{pixels} * kStandardDpi + used / 2) / used);
}

DesktopSize desktopSizeAt(const Settings& settings, int32_t dpi, int32_t maxRowHeight) {
    DesktopSize size;
    size.width = scaledToDpi(std::clamp(settings.Desktop_width, kMinDesktopWidth, kMaxDesktopWidth), dpi);
    size.rowHeight = std::min(scaledToDpi(std::max(settings.height, 0), dpi), maxRowHeight);
    size.outline = scaledToDpi(kOutlineWidth, dpi);
    return size;
}

ScreenRect keptInside(ScreenRect window, const ScreenRect& workArea) {
    int32_t width = std::clamp(window.width(), 1, std::max(workArea.width(), 1));
    int32_t height = std::clamp(window.height(), 1, std::max(workArea.height(), 1));
    int32_t left = std::clamp(window.left, workArea.left, std::max(workArea.left, workArea.right - width));
    int32_t top = std::clamp(window.top, workArea.top, std::max(workArea.top, workArea.bottom - height));
    return {left, top, left + width, top + height};
}
