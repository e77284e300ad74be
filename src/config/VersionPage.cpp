// "バージョン": the product, its version and where to reach the author.
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"

namespace {

void initialise(SheetState&, HWND page) {
    SetDlgItemTextA(page, IDC_WEB_ADDRESS, "https://sorvane.example.org/");
    SetDlgItemTextA(page, IDC_MAIL_ADDRESS, "bugs@sorvane.example.org");
    SetDlgItemTextA(page, IDC_VERSION_TEXT, "0.14b");
}

}  // namespace

INT_PTR CALLBACK versionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, nullptr, nullptr, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
