#include "config/PropertySheet.h"

#include <commctrl.h>

#include <string>

#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"
#include "utils/WinUiText.h"

namespace {

struct PageEntry {
    int templateId;
    DLGPROC procedure;
};

// In the order the sheet shows them.
const PageEntry kPages[] = {
    {IDD_POSITION, positionPageProc}, {IDD_COLOUR, colourPageProc},     {IDD_PATHS, pathsPageProc},
    {IDD_DISPLAY, displayPageProc},   {IDD_DISPLAY2, displayPage2Proc}, {IDD_FADE, fadePageProc},
    {IDD_VERSION, versionPageProc},
};

// The page's template in the language the sheet speaks, or in the module's own choice of language
// when that one has none.
const DLGTEMPLATE* pageTemplate(HINSTANCE instance, int id, UiLanguage language) {
    const LPCWSTR dialogType = MAKEINTRESOURCEW(5);  // RT_DIALOG
    HRSRC found = FindResourceExW(instance, dialogType, MAKEINTRESOURCEW(id), resourceLanguage(language));
    if (!found) found = FindResourceW(instance, MAKEINTRESOURCEW(id), dialogType);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

// The sheet's own Cancel button speaks the system's language; it is given the sheet's.
int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) SetDlgItemTextW(sheet, IDCANCEL, uiTextW(UiText::SheetCancelButton).c_str());
    return 0;
}

}  // namespace

void runPropertySheet(SheetState& state, HWND fallbackOwner, HINSTANCE instance) {
    HPROPSHEETPAGE pages[sizeof kPages / sizeof kPages[0]] = {};
    UINT count = 0;
    const UiLanguage language = activeLanguage();
    for (const PageEntry& entry : kPages) {
        PROPSHEETPAGEW page = {};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT;
        page.hInstance = instance;
        page.pResource = pageTemplate(instance, entry.templateId, language);
        page.pfnDlgProc = entry.procedure;
        page.lParam = reinterpret_cast<LPARAM>(&state);
        if (!page.pResource) continue;
        if (HPROPSHEETPAGE handle = CreatePropertySheetPageW(&page)) pages[count++] = handle;
    }
    // The fade page's template names the trackbar class, which must exist before the page is made.
    InitCommonControls();
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_USEICONID | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hwndParent = state.barWindow ? state.barWindow : fallbackOwner;
    header.hInstance = instance;
    header.pszIcon = MAKEINTRESOURCEW(IDI_PLUGIN);
    std::wstring caption = uiTextW(UiText::SheetCaption);
    header.pszCaption = caption.c_str();
    header.nPages = count;
    header.nStartPage = 0;
    header.phpage = pages;
    header.pfnCallback = sheetCallback;
    PropertySheetW(&header);
}
