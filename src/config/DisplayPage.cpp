// "表示設定": the display switches, following the window, drawing into it, and the time base.
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "plugin/Globals.h"
#include "plugin/Placement.h"
#include "plugin/PluginLock.h"
#include "resources/ResourceIds.h"

namespace {

struct Switch {
    int id;
    int32_t Settings::*setting;
};

const Switch kSwitches[] = {
    {IDC_FADE_IN, &Settings::Fade_in},
    {IDC_RED_LINE, &Settings::Red_Line},
    {IDC_DISP_KRA, &Settings::Disp_Kra},
    {IDC_NOT_DISP_NOKRA, &Settings::Not_Disp_NoKra},
    {IDC_WAIT_VSYNC, &Settings::Wait_Vsync},
    {IDC_MOVE_WITH_WINDOW, &Settings::Move_with_Winamp},
    {IDC_DIRECT, &Settings::Direct},
};

// "カラオケタグ以外は" and its second line only mean something while karaoke display is on.
void enableNoKaraokeSwitch(HWND page, bool enabled) {
    EnableWindow(GetDlgItem(page, IDC_NOT_DISP_NOKRA), enabled);
    EnableWindow(GetDlgItem(page, IDC_NOT_DISP_NOKRA_TAIL), enabled);
}

// Unlike the tick's own show, this one leaves the sheet active.
void showBarWindow() {
    if (barWindow)
        SetWindowPos(barWindow, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

// While the bar follows the host, its position is an offset from the host's corner; otherwise a
// screen position. Converting it with the switch keeps the bar where it is on the screen.
void convertPosition(bool toScreen) {
    POINT p = {liveSettings.Winamp_x, liveSettings.Winamp_y};
    if (toScreen)
        ClientToScreen(hostWindow(), &p);
    else
        ScreenToClient(hostWindow(), &p);
    liveSettings.Winamp_x = p.x;
    liveSettings.Winamp_y = p.y;
}

void initialise(HWND page) {
    LockedScope locked;
    for (const Switch& s : kSwitches) checkItem(page, s.id, liveSettings.*s.setting != 0);
    enableNoKaraokeSwitch(page, liveSettings.Disp_Kra != 0);
    checkItem(page, liveSettings.TimeType ? IDC_PLAYER_TIME : IDC_STANDARD_TIME, true);
}

void followSwitched(HWND page) {
    if (liveSettings.Move_with_Winamp) {
        convertPosition(false);
        return;
    }
    // Direct drawing goes off together with following.
    checkItem(page, IDC_DIRECT, false);
    liveSettings.Direct = 0;
    showBarWindow();
    convertPosition(true);
}

void directSwitched() {
    if (!barWindow) return;
    if (liveSettings.Direct)
        hideBar();
    else
        showBarWindow();
}

void command(HWND page, int id, int) {
    LockedScope locked;
    if (id == IDC_STANDARD_TIME || id == IDC_PLAYER_TIME) {
        liveSettings.TimeType = id == IDC_PLAYER_TIME ? 1 : 0;
        reportChanged(page);
        return;
    }
    const Switch* changed = nullptr;
    for (const Switch& s : kSwitches)
        if (s.id == id) changed = &s;
    if (!changed) return;
    liveSettings.*changed->setting = isItemChecked(page, id);
    if (id == IDC_DISP_KRA) enableNoKaraokeSwitch(page, liveSettings.Disp_Kra != 0);
    if (id == IDC_MOVE_WITH_WINDOW) followSwitched(page);
    if (id == IDC_DIRECT) directSwitched();
    reportChanged(page);
}

}  // namespace

INT_PTR CALLBACK displayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, nullptr, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
