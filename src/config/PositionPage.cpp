// "位置設定": the bar's position and size, applied while they are typed; cancel takes them back.
#include <windows.h>
#include <commctrl.h>

#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "plugin/Globals.h"
#include "plugin/PluginLock.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int32_t kMaxHeight = 80;

// The size up-downs, kept to follow a typed size; they live as long as the page.
HWND widthUpDown = nullptr;
HWND heightUpDown = nullptr;

HWND createUpDown(HWND page, int buddy, int lower, int upper, int32_t position) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(page, GWLP_HINSTANCE));
    return CreateUpDownControl(
        WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS, 0, 0, 18,
        25, page, 0, instance, GetDlgItem(page, buddy), upper, lower, position);
}

void writePosition(HWND page) {
    writeItemNumber(page, IDC_LEFT_EDIT, liveSettings.Winamp_x);
    writeItemNumber(page, IDC_TOP_EDIT, liveSettings.Winamp_y);
}

void initialise(HWND page) {
    InitCommonControls();
    // Creating an up-down writes its buddy, which reaches sizeEdited before the handle is known.
    widthUpDown = heightUpDown = nullptr;
    LockedScope locked;
    writePosition(page);
    writeItemNumber(page, IDC_WIDTH_EDIT, liveSettings.width);
    writeItemNumber(page, IDC_HEIGHT_EDIT, liveSettings.height);
    createUpDown(page, IDC_LEFT_EDIT, -10000, 10000, liveSettings.Winamp_x);
    createUpDown(page, IDC_TOP_EDIT, -10000, 10000, liveSettings.Winamp_y);
    widthUpDown = createUpDown(page, IDC_WIDTH_EDIT, 0, 10000, liveSettings.width);
    heightUpDown = createUpDown(page, IDC_HEIGHT_EDIT, 0, kMaxHeight, liveSettings.height);
}

// A bar drawn straight into the followed window must not leave its picture at the old place.
void repaintFollowedWindows() {
    if (barWindow) InvalidateRect(hostWindow(), nullptr, TRUE);
    if (attachWindow) InvalidateRect(attachWindow, nullptr, TRUE);
}

void positionEdited(HWND page, int id, int32_t& setting) {
    int32_t value = readItemNumber(page, id, true);
    if (value == setting) return;
    setting = value;
    reportChanged(page);
    repaintFollowedWindows();
    renderSurface.loadSkin(liveSettings);
}

// Every buffer is as high as the bar, and the skin is stretched to it: a new size needs both anew.
void sizeEdited(HWND page, int id, int32_t& setting, HWND upDown, int32_t noLine) {
    int32_t value = readItemNumber(page, id, false);
    if (value == setting) return;
    if (id == IDC_HEIGHT_EDIT && value > kMaxHeight) {
        writeItemNumber(page, id, setting);
        return;
    }
    setting = value;
    SendMessageA(upDown, UDM_SETPOS32, 0, value);
    reportChanged(page);
    repaintFollowedWindows();
    if (!barWindow && !attachWindow) return;
    renderSurface.createBuffers(barWindow, liveSettings.width, liveSettings.height, liveSettings);
    renderSurface.loadSkin(liveSettings);
    renderSurface.dueLine = noLine;
    renderSurface.shownLine = noLine;
}

// Only a change of text counts: a focus notification also arrives while the sheet closes, after a
// cancel has restored the settings, and must not write the typed value back.
void command(HWND page, int id, int notification) {
    if (notification != EN_CHANGE) return;
    LockedScope locked;
    switch (id) {
    case IDC_LEFT_EDIT:
        positionEdited(page, id, liveSettings.Winamp_x);
        break;
    case IDC_TOP_EDIT:
        positionEdited(page, id, liveSettings.Winamp_y);
        break;
    case IDC_WIDTH_EDIT:
        sizeEdited(page, id, liveSettings.width, widthUpDown, 9999);
        break;
    case IDC_HEIGHT_EDIT:
        sizeEdited(page, id, liveSettings.height, heightUpDown, 999);
        break;
    default:
        break;
    }
}

void cancel() {
    {
        LockedScope locked;
        int32_t width = liveSettings.width, height = liveSettings.height;
        restoreOnCancel(PSN_QUERYCANCEL);
        if ((liveSettings.width != width || liveSettings.height != height) && barWindow) {
            renderSurface.createBuffers(barWindow, liveSettings.width, liveSettings.height, liveSettings);
            renderSurface.shownLine = renderSurface.dueLine = 9999;
        }
        renderSurface.loadSkin(liveSettings);
    }
    repaintFollowedWindows();
}

void notify(HWND page, UINT code) {
    if (code == PSN_SETACTIVE) {
        // Dragging the bar moves it while the sheet is open.
        LockedScope locked;
        writePosition(page);
    } else if (code == PSN_QUERYCANCEL) {
        cancel();
    } else {
        restoreOnCancel(code);
    }
}

}  // namespace

INT_PTR CALLBACK positionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, notify, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
