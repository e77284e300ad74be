#pragma once
// A real window, a drawing surface for it and a document, for rendering real lines into real
// buffers under Wine. Colours are chosen so that every pixel says which layer it came from: the
// after-wipe text is red, the before-wipe text green, the wipe line blue, the background grey.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BitmapFile.h"
#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"
#include "render/RenderTestLines.h"
#include "utils/WinText.h"

constexpr int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kGrey = 0x404040;

inline HWND createTestWindow() {
    static ATOM windowClass = 0;
    if (!windowClass) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SorvaneRenderTest";
        windowClass = RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "SorvaneRenderTest", "", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

inline std::string tempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

class RenderWin : public ::testing::Test {
protected:
    void SetUp() override {
        window = createTestWindow();
        ASSERT_NE(window, nullptr);
        settings.ColorA1 = settings.ColorA2 = settings.ColorA3 = kRed;
        settings.ColorB1 = settings.ColorB2 = settings.ColorB3 = kGreen;
        settings.ColorL1 = settings.ColorL2 = settings.ColorL3 = kBlue;
        settings.ColorBACK = kGrey;
        settings.TimeType = 0;
        makeTrueClock(document);
    }
    void TearDown() override {
        surface.releaseAll();
        DestroyWindow(window);
    }
    void createBuffers(int32_t width = 245, int32_t height = 18) {
        surface.createBuffers(window, width, height, settings);
    }
    // Pixel memory of a 32-bit buffer, one row from the top of the picture.
    std::vector<uint32_t> pictureRow(int k, int32_t rowFromTop) {
        GdiFlush();
        const uint32_t* row = surface.buffers[k].pixels + (surface.barHeight - 1 - rowFromTop) * surface.bufferWidth;
        return std::vector<uint32_t>(row, row + surface.barWidth);
    }
    std::vector<uint32_t> barPixels(int k) { return barPixelsOf(surface, k); }
    static std::vector<uint32_t> barPixelsOf(const RenderSurface& s, int k) {
        GdiFlush();
        std::vector<uint32_t> all;
        for (int32_t i = 0; i < s.barHeight; ++i) {
            const uint32_t* row = s.buffers[k].pixels + i * s.bufferWidth;
            all.insert(all.end(), row, row + s.barWidth);
        }
        return all;
    }
    // The pixel width of the first `bytes` bytes of the UTF-8 text in the bar's text font.
    int32_t textExtent(const std::string& text, int32_t bytes) {
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = createTextFont(surface.barHeight, widen(*settings.FontName));
        HGDIOBJ kept = SelectObject(dc, font);
        SIZE size = {0, 0};
        std::wstring prefix = widen(text.substr(0, static_cast<size_t>(bytes)));
        GetTextExtentPoint32W(dc, prefix.c_str(), static_cast<int>(prefix.size()), &size);
        SelectObject(dc, kept);
        DeleteObject(font);
        DeleteDC(dc);
        return size.cx;
    }
    int frame(int32_t positionMs, int32_t lineIndex) {
        return surface.renderFrame(WindowPresenter(window, 0, 0), lineIndex, positionMs, settings, &document);
    }
    // Draws line n as Showing at positionMs and returns the bar as it reached the screen.
    std::vector<uint32_t> showing(int32_t n, int32_t positionMs) {
        surface.row.displayState = Showing;
        EXPECT_EQ(frame(positionMs, n), 1);
        return barPixels(kViewBuffer);
    }

    HWND window = nullptr;
    Settings settings;
    LyricsDocument document;
    RenderSurface surface;
};

inline bool reddish(uint32_t pixel) { return (pixel >> 16 & 0xFF) > (pixel >> 8 & 0xFF) + 0x20; }
inline bool greenish(uint32_t pixel) { return (pixel >> 8 & 0xFF) > (pixel >> 16 & 0xFF) + 0x20; }
inline bool bluish(uint32_t pixel) { return (pixel & 0xFF) > (pixel >> 8 & 0xFF) + 0x20; }
