#include "config/PageUtil.h"

#include <commctrl.h>
#include <prsht.h>

#include <cassert>
#include <cstdio>

#include "config/PageRules.h"
#include "config/SheetState.h"
#include "utils/WinText.h"

int32_t readItemNumber(HWND page, int id, bool signedRead) {
    return editNumber(readItemText(page, id).c_str(), signedRead);
}

void writeItemNumber(HWND page, int id, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetDlgItemTextA(page, id, text);
}

std::string readItemText(HWND page, int id) {
    HWND item = GetDlgItem(page, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void writeItemText(HWND page, int id, const char* text) { SetDlgItemTextW(page, id, widen(text ? text : "").c_str()); }

int isItemChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0; }

void checkItem(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void reportChanged(HWND page) { SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0); }

bool restoreOnCancel(SheetState& state, UINT code) {
    if (code != PSN_QUERYCANCEL && code != PSN_RESET) return false;
    state.liveSettings.copyFrom(state.settingsSnapshot);
    return true;
}

INT_PTR handlePageMessage(const PageHandlers& handlers, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* made = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        SetWindowLongPtrW(page, DWLP_USER, made->lParam);
    }
    auto* state = reinterpret_cast<SheetState*>(GetWindowLongPtrW(page, DWLP_USER));
    if (!state) return 0;
    assert(state->onHostThread());
    switch (message) {
    case WM_INITDIALOG:
        if (handlers.initialise) handlers.initialise(*state, page);
        return TRUE;
    case WM_COMMAND:
        if (handlers.command) handlers.command(*state, page, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
        if (handlers.notify)
            handlers.notify(*state, page, code);
        else
            restoreOnCancel(*state, code);
        return 0;
    }
    case WM_HSCROLL:
        if (handlers.scroll) handlers.scroll(*state, page, reinterpret_cast<HWND>(lParam));
        return 0;
    default: return 0;
    }
}
