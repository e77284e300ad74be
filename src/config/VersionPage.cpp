// "バージョン": the product, its version, where to reach the author, the interface language and
// where the settings file lies.
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"
#include "resources/Version.h"
#include "utils/WinUiText.h"

namespace {

// The Language list's items, in the order of LanguageChoice.
const UiText kLanguageItems[] = {UiText::LanguageAutomatic, UiText::LanguageJapanese, UiText::LanguageEnglish};

void initialise(SheetState& state, HWND page) {
    SetDlgItemTextA(page, IDC_WEB_ADDRESS, SORVANE_HOMEPAGE);
    SetDlgItemTextA(page, IDC_MAIL_ADDRESS, "bugs@sorvane.example.org");
    SetDlgItemTextA(page, IDC_VERSION_TEXT, "0.14b");
    for (UiText item : kLanguageItems)
        SendDlgItemMessageW(page, IDC_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(uiTextW(item).c_str()));
    writeItemText(page, IDC_SETTINGS_FILE, state.settingsFile.path.c_str());
    SendDlgItemMessageW(page, IDC_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(state.liveSettings.Language), 0);
}

// The sheet goes on in its own language; the one chosen takes over when it next opens.
void command(SheetState& state, HWND page, int id, int notification) {
    if (id != IDC_LANGUAGE || notification != CBN_SELCHANGE) return;
    LRESULT chosen = SendDlgItemMessageW(page, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || chosen >= static_cast<LRESULT>(sizeof kLanguageItems / sizeof kLanguageItems[0])) return;
    state.liveSettings.Language = static_cast<LanguageChoice>(chosen);
    reportChanged(page);
}

}  // namespace

INT_PTR CALLBACK versionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, nullptr, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
