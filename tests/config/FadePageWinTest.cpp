// The fade page: sliders and number fields kept in step, the start <= end pull, the defaults.
#include "config/SheetDriver.h"
#include "resources/ResourceIds.h"

namespace {

int32_t sliderPosition(HWND page, int id) {
    return static_cast<int32_t>(SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0));
}

// Moves a slider as the user would: the position changes, then the page hears of it.
void moveSlider(HWND page, int id, int32_t position, int how) {
    SendDlgItemMessageA(page, id, TBM_SETPOS, TRUE, position);
    SendMessageA(page, WM_HSCROLL, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

}  // namespace

TEST_F(SheetTest, MovingAStartPastItsEndPullsTheEndAlongAndBack) {
    showPage(5);
    then([this] {
        EXPECT_EQ(text(IDC_FIN_START_EDIT), "-40");
        moveSlider(page(), IDC_FIN_START_SLIDER, -5, TB_THUMBTRACK);
        EXPECT_EQ(plugin.liveSettings.Fin_Start, -5);
        EXPECT_EQ(plugin.liveSettings.Fin_End, -5);
        EXPECT_EQ(text(IDC_FIN_END_EDIT), "-5");
        EXPECT_EQ(sliderPosition(page(), IDC_FIN_END_SLIDER), -5);

        moveSlider(page(), IDC_FOUT_END_SLIDER, 100, TB_LINEDOWN);
        EXPECT_EQ(plugin.liveSettings.Fout_End, 100);
        EXPECT_EQ(plugin.liveSettings.Fout_Start, 100);
        EXPECT_EQ(sliderPosition(page(), IDC_FOUT_START_SLIDER), 100);

        // A click beside the thumb moves it a page at a time; the time follows it as well.
        moveSlider(page(), IDC_FOUT_START_SLIDER, 60, TB_PAGEUP);
        EXPECT_EQ(plugin.liveSettings.Fout_Start, 60);
        EXPECT_EQ(plugin.liveSettings.Fout_End, 100);
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("Fin_End"), -5);
}

TEST_F(SheetTest, TypedTimesAreStoredAsTheyAreAndStandardBringsTheDefaultsBack) {
    showPage(5);
    then([this] {
        setText(IDC_FIN_END_EDIT, "5");  // beyond the slider's range
        EXPECT_EQ(plugin.liveSettings.Fin_End, 5);
        EXPECT_EQ(sliderPosition(page(), IDC_FIN_END_SLIDER), 0);
        setText(IDC_FIN_START_EDIT, "10");  // typed times are not pulled
        EXPECT_EQ(plugin.liveSettings.Fin_End, 5);
        setText(IDC_FOUT_END_EDIT, "soon");
        EXPECT_EQ(plugin.liveSettings.Fout_End, 0);
        EXPECT_EQ(sliderPosition(page(), IDC_FOUT_END_SLIDER), 0);

        click(IDC_FADE_DEFAULTS);
        const int edits[] = {IDC_FIN_START_EDIT, IDC_FIN_END_EDIT, IDC_FOUT_START_EDIT, IDC_FOUT_END_EDIT};
        const int sliders[] = {IDC_FIN_START_SLIDER, IDC_FIN_END_SLIDER, IDC_FOUT_START_SLIDER, IDC_FOUT_END_SLIDER};
        const int32_t standard[] = {-40, -20, 120, 160};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(number(edits[i]), standard[i]);
            EXPECT_EQ(sliderPosition(page(), sliders[i]), standard[i]);
        }
        EXPECT_EQ(plugin.liveSettings.Fin_Start, -40);
        EXPECT_EQ(plugin.liveSettings.Fout_End, 160);
    });
    pressOk();
    runConfig();
}
