// "バージョン": the product, its version and where to reach the author.
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "resources/ResourceIds.h"

INT_PTR CALLBACK versionPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(page, IDC_WEB_ADDRESS, "https://sorvane.example.org/");
        SetDlgItemTextA(page, IDC_MAIL_ADDRESS, "bugs@sorvane.example.org");
        SetDlgItemTextA(page, IDC_VERSION_TEXT, "0.14b");
        return TRUE;
    case WM_NOTIFY:
        restoreOnCancel(notifyCode(lParam));
        return 0;
    default:
        return 0;
    }
}
