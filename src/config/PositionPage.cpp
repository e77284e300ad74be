// "位置設定": the bar's position and size, and the desktop window's, applied while they are typed;
// cancel takes them back.
#include <windows.h>
#include <commctrl.h>

#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int32_t kMaxHeight = 80;

// The size up-downs have ids, so that a typed size can move them: they live as long as the page.
void createUpDown(HWND page, int id, int buddy, int lower, int upper, int32_t position) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(page, GWLP_HINSTANCE));
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
    CreateUpDownControl(style, 0, 0, 18, 25, page, id, instance, GetDlgItem(page, buddy), upper, lower, position);
}

void writePosition(const Settings& settings, HWND page) {
    writeItemNumber(page, IDC_LEFT_EDIT, settings.Winamp_x);
    writeItemNumber(page, IDC_TOP_EDIT, settings.Winamp_y);
}

void initialise(SheetState& state, HWND page) {
    InitCommonControls();
    const Settings& live = state.liveSettings;
    writePosition(live, page);
    writeItemNumber(page, IDC_WIDTH_EDIT, live.width);
    writeItemNumber(page, IDC_HEIGHT_EDIT, live.height);
    createUpDown(page, 0, IDC_LEFT_EDIT, -10000, 10000, live.Winamp_x);
    createUpDown(page, 0, IDC_TOP_EDIT, -10000, 10000, live.Winamp_y);
    createUpDown(page, IDC_WIDTH_UPDOWN, IDC_WIDTH_EDIT, 0, 10000, live.width);
    createUpDown(page, IDC_HEIGHT_UPDOWN, IDC_HEIGHT_EDIT, 0, kMaxHeight, live.height);
    checkItem(page, IDC_DESKTOP_WINDOW, live.Window == kDesktopWindow);
    checkItem(page, IDC_DESKTOP_LOCKED, live.Locked != 0);
    writeItemNumber(page, IDC_DESKTOP_X_EDIT, live.Desktop_x);
    writeItemNumber(page, IDC_DESKTOP_Y_EDIT, live.Desktop_y);
    writeItemNumber(page, IDC_DESKTOP_WIDTH_EDIT, live.Desktop_width);
    writeItemNumber(page, IDC_DESKTOP_BACK_EDIT, live.DesktopBack);
    createUpDown(page, 0, IDC_DESKTOP_X_EDIT, -kDesktopPlaceLimit, kDesktopPlaceLimit, live.Desktop_x);
    createUpDown(page, 0, IDC_DESKTOP_Y_EDIT, -kDesktopPlaceLimit, kDesktopPlaceLimit, live.Desktop_y);
    createUpDown(page, 0, IDC_DESKTOP_WIDTH_EDIT, kMinDesktopWidth, kMaxDesktopWidth, live.Desktop_width);
    createUpDown(page, 0, IDC_DESKTOP_BACK_EDIT, 0, 100, live.DesktopBack);
}

// The desktop window's settings; the window follows them on the next tick. A new mode needs
// buffers of the other window's size.
void desktopEdited(SheetState& state, HWND page, int id) {
    Settings& live = state.liveSettings;
    switch (id) {
    case IDC_DESKTOP_WINDOW:
        live.Window = isItemChecked(page, id) ? kDesktopWindow : kBarWindow;
        if (state.barWindow) state.applyBarSize();
        break;
    case IDC_DESKTOP_LOCKED: live.Locked = isItemChecked(page, id); break;
    case IDC_DESKTOP_X_EDIT: live.Desktop_x = readItemNumber(page, id, true); break;
    case IDC_DESKTOP_Y_EDIT: live.Desktop_y = readItemNumber(page, id, true); break;
    case IDC_DESKTOP_WIDTH_EDIT: live.Desktop_width = readItemNumber(page, id, false); break;
    case IDC_DESKTOP_BACK_EDIT: live.DesktopBack = readItemNumber(page, id, false); break;
    default: return;
    }
    // Typed halfway ("1" on the way to "120"), a value stays within its range.
    clampDesktopSettings(live);
    reportChanged(page);
}

// A bar drawn straight into the followed window must not leave its picture at the old place.
void repaintFollowedWindows(SheetState& state) {
    if (state.barWindow) InvalidateRect(state.hostWindow(), nullptr, TRUE);
    if (state.attachWindow) InvalidateRect(state.attachWindow, nullptr, TRUE);
}

void positionEdited(SheetState& state, HWND page, int id, int32_t& setting) {
    int32_t value = readItemNumber(page, id, true);
    if (value == setting) return;
    setting = value;
    reportChanged(page);
    repaintFollowedWindows(state);
    state.reloadSkin();
}

// Every buffer is as high as the bar, and the skin is stretched to it: a new size needs both anew.
void sizeEdited(SheetState& state, HWND page, int id, int32_t& setting, int upDown) {
    int32_t value = readItemNumber(page, id, false);
    if (value == setting) return;
    if (id == IDC_HEIGHT_EDIT && value > kMaxHeight) {
        writeItemNumber(page, id, setting);
        return;
    }
    setting = value;
    SendDlgItemMessageA(page, upDown, UDM_SETPOS32, 0, value);
    reportChanged(page);
    repaintFollowedWindows(state);
    if (!state.barWindow && !state.attachWindow) return;
    state.applyBarSize();
}

// Only a change of text counts: a focus notification also arrives while the sheet closes, after a
// cancel has restored the settings, and must not write the typed value back.
void command(SheetState& state, HWND page, int id, int notification) {
    if (id == IDC_DESKTOP_WINDOW || id == IDC_DESKTOP_LOCKED) {
        if (notification == BN_CLICKED) desktopEdited(state, page, id);
        return;
    }
    if (notification != EN_CHANGE) return;
    Settings& live = state.liveSettings;
    switch (id) {
    case IDC_LEFT_EDIT: positionEdited(state, page, id, live.Winamp_x); break;
    case IDC_TOP_EDIT: positionEdited(state, page, id, live.Winamp_y); break;
    case IDC_WIDTH_EDIT: sizeEdited(state, page, id, live.width, IDC_WIDTH_UPDOWN); break;
    case IDC_HEIGHT_EDIT: sizeEdited(state, page, id, live.height, IDC_HEIGHT_UPDOWN); break;
    case IDC_DESKTOP_X_EDIT:
    case IDC_DESKTOP_Y_EDIT:
    case IDC_DESKTOP_WIDTH_EDIT:
    case IDC_DESKTOP_BACK_EDIT: desktopEdited(state, page, id); break;
    default: break;
    }
}

void cancel(SheetState& state) {
    const Settings& live = state.liveSettings;
    int32_t width = live.width, height = live.height, window = live.Window;
    restoreOnCancel(state, PSN_QUERYCANCEL);
    if ((live.width != width || live.height != height || live.Window != window) && state.barWindow)
        state.applyBarSize();
    else
        state.reloadSkin();
    repaintFollowedWindows(state);
}

void notify(SheetState& state, HWND page, UINT code) {
    if (code == PSN_SETACTIVE) {
        // Dragging the bar moves it while the sheet is open.
        writePosition(state.liveSettings, page);
        writeItemNumber(page, IDC_DESKTOP_X_EDIT, state.liveSettings.Desktop_x);
        writeItemNumber(page, IDC_DESKTOP_Y_EDIT, state.liveSettings.Desktop_y);
    } else if (code == PSN_QUERYCANCEL) {
        cancel(state);
    } else {
        restoreOnCancel(state, code);
    }
}

}  // namespace

INT_PTR CALLBACK positionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, notify, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
