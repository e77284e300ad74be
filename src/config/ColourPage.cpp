// "表示色": the nine text colours, the background and title colours, the font face, and the
// background picked up from the host player's skin at the bar's centre.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "config/PageRules.h"
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

struct ColourButton {
    int id;
    int32_t Settings::*setting;
};

const ColourButton kColourButtons[] = {
    {IDC_BEFORE_OUTER, &Settings::ColorB1},     {IDC_BEFORE_MIDDLE, &Settings::ColorB2},
    {IDC_BEFORE_INNER, &Settings::ColorB3},     {IDC_AFTER_OUTER, &Settings::ColorA1},
    {IDC_AFTER_MIDDLE, &Settings::ColorA2},     {IDC_AFTER_INNER, &Settings::ColorA3},
    {IDC_LINE_OUTER, &Settings::ColorL1},       {IDC_LINE_MIDDLE, &Settings::ColorL2},
    {IDC_LINE_INNER, &Settings::ColorL3},       {IDC_BACK_COLOUR, &Settings::ColorBACK},
    {IDC_TITLE_COLOUR, &Settings::ColorTCOLOR},
};

// The colour dialog's title is the system's; the hook gives it the sheet's language.
UINT_PTR CALLBACK colourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* title =
            reinterpret_cast<const std::wstring*>(reinterpret_cast<const CHOOSECOLORW*>(lParam)->lCustData);
        SetWindowTextW(dialog, title->c_str());
    }
    return 0;
}

// The colour the user chooses, or colour itself when the dialog is cancelled. The dialog is
// modal; the bar keeps ticking inside its message loop.
int32_t chooseColour(SheetState& state, HWND owner, int32_t colour) {
    std::wstring title = uiTextW(UiText::ColourDialogTitle);
    CHOOSECOLORW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = static_cast<COLORREF>(colour);
    dialog.lpCustColors = state.customColours;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR | CC_ENABLEHOOK;
    dialog.lpfnHook = colourDialogHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&title);
    return ChooseColorW(&dialog) ? static_cast<int32_t>(dialog.rgbResult) : colour;
}

// The font list offers TrueType faces only, by their full names, and no vertical faces: their
// names begin with "@" and they draw the text sideways.
int CALLBACK addFontFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM page) {
    if (!(type & TRUETYPE_FONTTYPE)) return 1;
    const wchar_t* fullName = reinterpret_cast<const ENUMLOGFONTW*>(font)->elfFullName;
    if (fullName[0] == L'@' || font->lfFaceName[0] == L'@') return 1;
    LRESULT added = SendDlgItemMessageW(reinterpret_cast<HWND>(page), IDC_FONT_LIST, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(fullName));
    return added < 0 ? 0 : 1;
}

void initialise(SheetState& state, HWND page) {
    HDC dc = GetDC(page);
    EnumFontFamiliesW(dc, nullptr, addFontFace, reinterpret_cast<LPARAM>(page));
    ReleaseDC(page, dc);
    // The first face beginning with FontName, searching from item 1 round to item 0.
    std::wstring face = widen(state.liveSettings.FontName.value_or(""));
    LRESULT found = state.liveSettings.FontName ? SendDlgItemMessageW(page, IDC_FONT_LIST, CB_FINDSTRING, 0,
                                                                      reinterpret_cast<LPARAM>(face.c_str()))
                                                : CB_ERR;
    SendDlgItemMessageW(page, IDC_FONT_LIST, CB_SETCURSEL, found == CB_ERR ? 0 : found, 0);
}

void fontChosen(SheetState& state, HWND page) {
    std::string face = readItemText(page, IDC_FONT_LIST);
    state.liveSettings.FontName = face;
}

// The bar keeps ticking inside the colour dialog's loop. Even a cancelled dialog counts as a change.
void colourChosen(SheetState& state, HWND page, const ColourButton& button) {
    int32_t colour = chooseColour(state, page, state.liveSettings.*button.setting);
    state.liveSettings.*button.setting = colour;
    // The title banner notices its colour itself.
    if (button.id != IDC_TITLE_COLOUR) state.applyColours();
    reportChanged(page);
}

// The host skin's pixel under the bar's centre becomes the background. Offsets from the host's
// corner are the skin picture's own coordinates; a screen position is turned into them first.
void pickUpBackground(SheetState& state, HWND page) {
    Settings& live = state.liveSettings;
    POINT p = {live.Winamp_x, live.Winamp_y};
    if (!live.Move_with_Winamp) ScreenToClient(state.hostWindow(), &p);
    int32_t x = 0, y = 0;
    COLORREF pixel = CLR_INVALID;
    if (barCentre(p.x, p.y, live.width, barWindowHeight(live), x, y)) pixel = state.hostSkinPixel(x, y);
    // No skin picture, or a point off it: there is no colour to take, and the old one stays.
    if (pixel != CLR_INVALID) live.ColorBACK = static_cast<int32_t>(pixel);
    state.applyColours();
    reportChanged(page);
}

void command(SheetState& state, HWND page, int id, int notification) {
    if (id == IDC_FONT_LIST) {
        // Any use of the list takes its face, but losing the focus is no use: it also happens
        // while the sheet closes, after a cancel has restored FontName, and brings both of these.
        if (notification != CBN_KILLFOCUS && notification != CBN_SELENDCANCEL) fontChosen(state, page);
        return;
    }
    if (id == IDC_PICK_UP) {
        pickUpBackground(state, page);
        return;
    }
    for (const ColourButton& button : kColourButtons)
        if (button.id == id) colourChosen(state, page, button);
}

void notify(SheetState& state, HWND, UINT code) {
    if (!restoreOnCancel(state, code) || code != PSN_QUERYCANCEL) return;
    state.applyColours();
}

}  // namespace

INT_PTR CALLBACK colourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, notify, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
