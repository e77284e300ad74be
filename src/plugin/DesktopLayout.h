#pragma once
// The desktop window's size and place as plain arithmetic: lengths set at 96 DPI scaled to a
// monitor's DPI, and a window kept inside a monitor's work area.
#include <cstdint>

class Settings;

constexpr int32_t kStandardDpi = 96;

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// A length set at 96 DPI in pixels at dpi, rounded; a DPI below 96 or above 960 (no monitor's: an
// answer of a system that does not know) counts as 96.
int32_t scaledToDpi(int32_t length, int32_t dpi);
// The other way: pixels at dpi as a length at 96 DPI.
int32_t unscaledFromDpi(int32_t pixels, int32_t dpi);

// The desktop window's width, its row height and its lines' outline in pixels at dpi:
// Desktop_width, height and the bar's outline scaled, the row cut at maxRowHeight (the tallest row
// the renderer draws).
struct DesktopSize {
    int32_t width = 0;
    int32_t rowHeight = 0;
    int32_t outline = 0;
};
DesktopSize desktopSizeAt(const Settings& settings, int32_t dpi, int32_t maxRowHeight);

// The window moved, and narrowed or lowered when larger, so that all of it lies in workArea.
ScreenRect keptInside(ScreenRect window, const ScreenRect& workArea);
