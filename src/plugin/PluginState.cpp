#include "plugin/PluginState.h"

#include "plugin/DesktopLayout.h"
#include "plugin/PluginDescriptor.h"
#include "utils/WinText.h"

namespace {

// A text in the system's ANSI code page, as old hosts answer, in UTF-16.
std::u16string decodeSystemAnsi(std::string_view ansi) {
    std::wstring wide = ansiToWide(ansi);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace

PluginState plugin;

PluginState::PluginState() : playerState(decodeSystemAnsi), lyricsDocument(std::make_unique<LyricsDocument>()) {}

PluginState::~PluginState() = default;

HWND PluginState::hostWindow() const { return pluginDescriptor.hostWindow; }

HINSTANCE PluginState::moduleInstance() const { return pluginDescriptor.moduleInstance; }

const Settings& PluginState::frameSettings() {
    if (liveSettings.Window != kDesktopWindow) return liveSettings;
    desktopSettings.copyFrom(liveSettings);
    DesktopSize size = desktopSize();
    desktopSettings.width = size.width;
    desktopSettings.height = size.rowHeight;
    return desktopSettings;
}

int32_t PluginState::frameOutlineWidth() const {
    if (liveSettings.Window != kDesktopWindow) return kOutlineWidth;
    return desktopSize().outline;
}

DesktopSize PluginState::desktopSize() const {
    return desktopSizeAt(liveSettings, placement.desktopDpi, kMaxBarHeight);
}

void PluginState::applyBarSize() {
    const Settings& drawn = frameSettings();
    renderSurface.createBuffers(barWindow, drawn.width, drawn.height, drawn, frameOutlineWidth());
    renderSurface.loadBarSkin(drawn);
}

void PluginState::reloadSkin() { renderSurface.loadBarSkin(frameSettings()); }

void PluginState::applyColours() { renderSurface.takeColours(liveSettings.ColorBACK); }

COLORREF PluginState::hostSkinPixel(int32_t x, int32_t y) {
    HDC picture = renderSurface.hostSkinImage.dc;
    return picture ? GetPixel(picture, x, y) : CLR_INVALID;
}

void PluginState::hideBar() { ::hideBar(barWindow); }

void PluginState::startWindowPick() { ::startWindowPick(placement, barWindow, moduleInstance()); }

void PluginState::resetDisplay() {
    for (LyricsRow* row : {&renderSurface.row, &renderSurface.lowerRow}) {
        row->dueLine = 0;
        row->shownLine = kNoLine;
        row->clearSet(0);
        row->clearSet(1);
    }
}
