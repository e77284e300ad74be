#include "config/PropertyPages.h"
#include "resources/ResourceIds.h"

INT_PTR CALLBACK versionPageProc(HWND page, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return 0;
    SetDlgItemTextA(page, IDC_WEB_ADDRESS, "https://sorvane.example.org/");
    SetDlgItemTextA(page, IDC_MAIL_ADDRESS, "bugs@sorvane.example.org");
    SetDlgItemTextA(page, IDC_VERSION_TEXT, "0.14b");
    return TRUE;
}
