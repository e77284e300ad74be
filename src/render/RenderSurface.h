#pragma once
// Every off-screen drawing resource of the bar: ten bar-high buffers in two sets of five, the skin
// picture named by SkinPath, the host player's own skin picture and the background brush; and the
// display state the wipe and fades drive.
//
// Buffer k belongs to set k % 2 and has the role k / 2: 0 before-wipe layer, 1 wipe-line layer,
// 2 after-wipe layer, 3 compose buffer, 4 view buffer (buffer 8 is the one that reaches the
// screen). Buffers 0 to 5 are bitmaps in the display's format; 6 to 9 are 32-bit bottom-up DIB
// sections whose pixels (0x00RRGGBB) the pixel passes work on directly.
#include <windows.h>

#include <cstdint>

class Settings;

enum DisplayState : int32_t {
    Clearing = 1,
    Blank = 2,
    Showing = 3,
    FadingIn = 4,
    FadingOut = 5,
    CrossFadeStart = 6,
    CrossFading = 7,
};

constexpr int kBufferCount = 10;
constexpr int kBeforeWipeLayer = 0, kWipeLineLayer = 2, kAfterWipeLayer = 4, kComposeBuffer = 6, kViewBuffer = 8;
// Limits that keep absurd sizes from the INI file from allocating without bound: buffers are
// never wider than kMaxBufferWidth, and no buffers are made for a height above kMaxBarHeight.
constexpr int32_t kMaxBufferWidth = 10000;
constexpr int32_t kMaxBarHeight = 160;

struct SurfaceBuffer {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ defaultBitmap = nullptr;  // the DC's own bitmap, selected back before deleting
    uint32_t* pixels = nullptr;       // DIB sections only: bufferHeight rows of bufferWidth words
};

class RenderSurface {
public:
    RenderSurface() = default;
    virtual ~RenderSurface();
    RenderSurface(const RenderSurface&) = delete;
    RenderSurface& operator=(const RenderSurface&) = delete;

    // (Re)creates the ten buffers and the background brush for a bar of width x height pixels.
    // A size the buffers cannot be made for leaves them empty: nothing is drawn until the size is
    // sane again. Returns 1.
    int createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings);
    // Releases every GDI object and clears its handle, so releasing twice is harmless.
    void releaseAll();
    // Fills the buffers of set s with the background: black under a skin, else the brush.
    void clearSet(int set);
    // Loads SkinPath stretched to the width and height settings. Returns 1 when a skin is in place.
    int loadSkin(const Settings& settings);
    // Loads folder + "\main.bmp" at its own size; a failure leaves no host skin picture.
    void loadHostSkin(const char* folder);
    // Replaces the background brush by a solid brush of colour (0x00BBGGRR).
    void replaceBackgroundBrush(int32_t colour);

    bool hasSkin() const { return skinImage.bitmap != nullptr; }
    bool hasBuffers() const { return buffers[kViewBuffer].dc != nullptr; }
    // Fills rect (x, y, x + w, y + h) of buffer k with the background of a cleared buffer.
    void fillBackground(int k, int x, int y, int w, int h);

    int32_t shownLine = 999;
    int32_t dueLine = 999;
    int32_t displayState = Clearing;
    int32_t fadeStartMs = 0;
    int32_t fadeLine = 0;
    int32_t barWidth = 0;
    int32_t barHeight = 0;
    int32_t bufferWidth = 0;  // columns of every buffer: 80 x barHeight, or barWidth when wider
    SurfaceBuffer buffers[kBufferCount];
    SurfaceBuffer hostSkinImage;
    SurfaceBuffer skinImage;
    HBRUSH backgroundBrush = nullptr;

private:
    bool createBuffer(int k, HDC windowDc);
};

// Buffer width for a bar: wide enough for a whole line at the bar's font height (80 x height),
// and for the whole bar; 0 when no buffers can be made for the size.
int32_t bufferWidthFor(int32_t width, int32_t height);
