#include "config/PropertySheet.h"

#include <commctrl.h>

#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"

namespace {

struct PageEntry {
    int templateId;
    DLGPROC procedure;
};

// In the order the sheet shows them.
const PageEntry kPages[] = {
    {IDD_POSITION, positionPageProc}, {IDD_COLOUR, colourPageProc}, {IDD_PATHS, pathsPageProc},
    {IDD_DISPLAY, displayPageProc},   {IDD_DISPLAY2, displayPage2Proc}, {IDD_FADE, fadePageProc},
    {IDD_VERSION, versionPageProc},
};

}  // namespace

void runPropertySheet(SheetState& state, HWND fallbackOwner, HINSTANCE instance) {
    HPROPSHEETPAGE pages[sizeof kPages / sizeof kPages[0]] = {};
    UINT count = 0;
    for (const PageEntry& entry : kPages) {
        PROPSHEETPAGEW page = {};
        page.dwSize = sizeof page;
        page.hInstance = instance;
        page.pszTemplate = MAKEINTRESOURCEW(entry.templateId);
        page.pfnDlgProc = entry.procedure;
        page.lParam = reinterpret_cast<LPARAM>(&state);
        if (HPROPSHEETPAGE handle = CreatePropertySheetPageW(&page)) pages[count++] = handle;
    }
    // The fade page's template names the trackbar class, which must exist before the page is made.
    InitCommonControls();
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_USEICONID | PSH_NOAPPLYNOW;
    header.hwndParent = state.barWindow ? state.barWindow : fallbackOwner;
    header.hInstance = instance;
    header.pszIcon = MAKEINTRESOURCEW(IDI_PLUGIN);
    header.pszCaption = L"設定";
    header.nPages = count;
    header.nStartPage = 0;
    header.phpage = pages;
    PropertySheetW(&header);
}
