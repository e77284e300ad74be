// "フェード設定": when lines fade in and out, with a slider and a number field for each time.
#include <windows.h>
#include <commctrl.h>

#include "config/PageRules.h"
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"
#include "utils/OutputDelay.h"

namespace {

struct FadeTime {
    int slider;
    int edit;
    int32_t Settings::*setting;
    FadeSlider role;
    int partnerEdit;  // the other end of the same fade
};

const FadeTime kFadeTimes[] = {
    {IDC_FIN_START_SLIDER, IDC_FIN_START_EDIT, &Settings::Fin_Start, FadeSlider::Start, IDC_FIN_END_EDIT},
    {IDC_FIN_END_SLIDER, IDC_FIN_END_EDIT, &Settings::Fin_End, FadeSlider::End, IDC_FIN_START_EDIT},
    {IDC_FOUT_START_SLIDER, IDC_FOUT_START_EDIT, &Settings::Fout_Start, FadeSlider::Start, IDC_FOUT_END_EDIT},
    {IDC_FOUT_END_SLIDER, IDC_FOUT_END_EDIT, &Settings::Fout_End, FadeSlider::End, IDC_FOUT_START_EDIT},
};

void moveSlider(HWND page, int slider, int32_t value) {
    // A value beyond the range shows at the nearer end.
    SendDlgItemMessageA(page, slider, TBM_SETPOS, TRUE, value);
}

void showTimes(const Settings& settings, HWND page) {
    for (const FadeTime& f : kFadeTimes) {
        moveSlider(page, f.slider, settings.*f.setting);
        writeItemNumber(page, f.edit, settings.*f.setting);
    }
}

void setRange(HWND page, int slider, int32_t lowest, int32_t highest) {
    SendDlgItemMessageA(page, slider, TBM_SETRANGEMIN, FALSE, lowest);
    SendDlgItemMessageA(page, slider, TBM_SETRANGEMAX, TRUE, highest);
    SendDlgItemMessageA(page, slider, TBM_SETTICFREQ, 10, 0);
}

void initialise(SheetState& state, HWND page) {
    InitCommonControls();
    // The ranges reach one step past the round values: -101 rather than -100, -1 rather than 0.
    setRange(page, IDC_FIN_START_SLIDER, -101, 0);
    setRange(page, IDC_FIN_END_SLIDER, -101, 0);
    setRange(page, IDC_FOUT_START_SLIDER, -1, 200);
    setRange(page, IDC_FOUT_END_SLIDER, -1, 200);
    showTimes(state.liveSettings, page);
    writeItemNumber(page, IDC_GLOBAL_OFFSET_EDIT, state.liveSettings.GlobalOffset);
}

// The output's delay applies at once, within its range; the field keeps what was typed until it
// loses the focus, then shows the value taken.
void globalOffsetChanged(SheetState& state, HWND page) {
    state.liveSettings.GlobalOffset = clampGlobalOffset(readItemNumber(page, IDC_GLOBAL_OFFSET_EDIT, true));
}

void globalOffsetLeft(SheetState& state, HWND page) {
    int32_t taken = state.liveSettings.GlobalOffset;
    if (readItemNumber(page, IDC_GLOBAL_OFFSET_EDIT, true) != taken)
        writeItemNumber(page, IDC_GLOBAL_OFFSET_EDIT, taken);
}

// Every kind of slider move counts (dragging, arrow keys, clicks beside the thumb, Home and End),
// so the stored time is always the one the slider shows. Writing an edit carries the value on to
// its setting and slider.
void sliderMoved(SheetState& state, HWND page, HWND slider) {
    int id = GetDlgCtrlID(slider);
    for (const FadeTime& f : kFadeTimes) {
        if (f.slider != id) continue;
        int32_t v = static_cast<int32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
        writeItemNumber(page, f.edit, v);
        state.liveSettings.*f.setting = v;
        int32_t partner = readItemNumber(page, f.partnerEdit, true);
        if (pulledPartner(f.role, v, partner) != partner) writeItemNumber(page, f.partnerEdit, v);
    }
}

// Typed times are stored as they are, even beyond the slider's range.
void editChanged(SheetState& state, HWND page, int id) {
    for (const FadeTime& f : kFadeTimes) {
        if (f.edit != id) continue;
        int32_t v = readItemNumber(page, id, true);
        moveSlider(page, f.slider, v);
        state.liveSettings.*f.setting = v;
    }
}

void restoreStandardTimes(SheetState& state, HWND page) {
    const Settings standard;
    for (const FadeTime& f : kFadeTimes) state.liveSettings.*f.setting = standard.*f.setting;
    showTimes(state.liveSettings, page);
}

void command(SheetState& state, HWND page, int id, int notification) {
    if (id == IDC_FADE_DEFAULTS) {
        restoreStandardTimes(state, page);
    } else if (id == IDC_GLOBAL_OFFSET_EDIT) {
        if (notification == EN_CHANGE) globalOffsetChanged(state, page);
        if (notification == EN_KILLFOCUS) globalOffsetLeft(state, page);
    } else if (notification == EN_CHANGE) {  // not the focus notifications that follow a cancel
        editChanged(state, page, id);
    }
}

}  // namespace

INT_PTR CALLBACK fadePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, nullptr, sliderMoved};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
