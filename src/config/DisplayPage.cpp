// "表示設定": the display switches, following the window, drawing into it, and the time base.
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
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
void showBarWindow(SheetState& state) {
    if (state.barWindow)
        SetWindowPos(state.barWindow, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

// While the bar follows the host, its position is an offset from the host's corner; otherwise a
// screen position. Converting it with the switch keeps the bar where it is on the screen.
void convertPosition(SheetState& state, bool toScreen) {
    POINT p = {state.liveSettings.Winamp_x, state.liveSettings.Winamp_y};
    if (toScreen)
        ClientToScreen(state.hostWindow(), &p);
    else
        ScreenToClient(state.hostWindow(), &p);
    state.liveSettings.Winamp_x = p.x;
    state.liveSettings.Winamp_y = p.y;
}

void initialise(SheetState& state, HWND page) {
    for (const Switch& s : kSwitches) checkItem(page, s.id, state.liveSettings.*s.setting != 0);
    enableNoKaraokeSwitch(page, state.liveSettings.Disp_Kra != 0);
    checkItem(page, state.liveSettings.TimeType ? IDC_PLAYER_TIME : IDC_STANDARD_TIME, true);
}

void followSwitched(SheetState& state, HWND page) {
    if (state.liveSettings.Move_with_Winamp) {
        convertPosition(state, false);
        return;
    }
    // Direct drawing goes off together with following.
    checkItem(page, IDC_DIRECT, false);
    state.liveSettings.Direct = 0;
    showBarWindow(state);
    convertPosition(state, true);
}

void directSwitched(SheetState& state) {
    if (!state.barWindow) return;
    if (state.liveSettings.Direct)
        state.hideBar();
    else
        showBarWindow(state);
}

void command(SheetState& state, HWND page, int id, int) {
    if (id == IDC_STANDARD_TIME || id == IDC_PLAYER_TIME) {
        state.liveSettings.TimeType = id == IDC_PLAYER_TIME ? 1 : 0;
        reportChanged(page);
        return;
    }
    const Switch* changed = nullptr;
    for (const Switch& s : kSwitches)
        if (s.id == id) changed = &s;
    if (!changed) return;
    state.liveSettings.*changed->setting = isItemChecked(page, id);
    if (id == IDC_DISP_KRA) enableNoKaraokeSwitch(page, state.liveSettings.Disp_Kra != 0);
    if (id == IDC_MOVE_WITH_WINDOW) followSwitched(state, page);
    if (id == IDC_DIRECT) directSwitched(state);
    reportChanged(page);
}

}  // namespace

INT_PTR CALLBACK displayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, nullptr, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
