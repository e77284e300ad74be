// "表示設定": the display switches, following the window, drawing into it, the time base and the
// bar's rows.
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
    {IDC_FADE_IN, &Settings::Fade_in},       {IDC_RED_LINE, &Settings::Red_Line},
    {IDC_DISP_KRA, &Settings::Disp_Kra},     {IDC_NOT_DISP_NOKRA, &Settings::Not_Disp_NoKra},
    {IDC_WAIT_VSYNC, &Settings::Wait_Vsync}, {IDC_MOVE_WITH_WINDOW, &Settings::Move_with_Winamp},
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

// What the second row shows and its size mean something only with two rows.
void enableSecondRow(HWND page, bool enabled) {
    for (int id = IDC_SECOND_ROW_FIRST; id < IDC_SECOND_ROW_FIRST + 3; ++id)
        EnableWindow(GetDlgItem(page, id), enabled);
    EnableWindow(GetDlgItem(page, IDC_SECOND_ROW_SIZE), enabled);
}

void initialise(SheetState& state, HWND page) {
    const Settings& live = state.liveSettings;
    for (const Switch& s : kSwitches) checkItem(page, s.id, live.*s.setting != 0);
    enableNoKaraokeSwitch(page, live.Disp_Kra != 0);
    checkItem(page, live.TimeType ? IDC_PLAYER_TIME : IDC_STANDARD_TIME, true);
    checkItem(page, IDC_TWO_ROWS, live.Rows == 2);
    checkItem(
        page,
        IDC_SECOND_ROW_FIRST +
            (live.SecondRow >= kNextLineRow && live.SecondRow <= kRomanisationRow ? live.SecondRow : kNextLineRow),
        true);
    writeItemNumber(page, IDC_SECOND_ROW_SIZE, live.SecondRowSize);
    enableSecondRow(page, live.Rows == 2);
}

// The bar takes a new row setting at once: two rows make it twice as tall, and every line is
// drawn afresh for what its row shows. A size being typed counts once it is within its range.
void rowsEdited(SheetState& state, HWND page, int id, int notification) {
    Settings& live = state.liveSettings;
    if (id != IDC_SECOND_ROW_SIZE && notification != BN_CLICKED) return;
    if (id == IDC_TWO_ROWS) {
        live.Rows = isItemChecked(page, id) ? 2 : 1;
        enableSecondRow(page, live.Rows == 2);
        if (state.barWindow) state.applyBarSize();
    } else if (id == IDC_SECOND_ROW_SIZE) {
        if (notification != EN_CHANGE) return;
        int32_t size = readItemNumber(page, id, false);
        if (size < kMinSecondRowSize || size > kMaxSecondRowSize || size == live.SecondRowSize) return;
        live.SecondRowSize = size;
        state.applyColours();
    } else {
        live.SecondRow = id - IDC_SECOND_ROW_FIRST;
        state.applyColours();
    }
    reportChanged(page);
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

void command(SheetState& state, HWND page, int id, int notification) {
    if (id == IDC_STANDARD_TIME || id == IDC_PLAYER_TIME) {
        state.liveSettings.TimeType = id == IDC_PLAYER_TIME ? 1 : 0;
        reportChanged(page);
        return;
    }
    if (id >= IDC_TWO_ROWS && id <= IDC_SECOND_ROW_SIZE) {
        rowsEdited(state, page, id, notification);
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
