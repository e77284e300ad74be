#include "config/PageUtil.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>

#include "config/PageRules.h"
#include "plugin/Globals.h"
#include "plugin/PluginLock.h"

int32_t readItemNumber(HWND page, int id, bool signedRead) {
    char text[kProfileStringSize];
    readItemText(page, id, text);
    return editNumber(text, signedRead);
}

void writeItemNumber(HWND page, int id, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetDlgItemTextA(page, id, text);
}

void readItemText(HWND page, int id, char (&text)[kProfileStringSize]) {
    text[0] = '\0';
    GetDlgItemTextA(page, id, text, sizeof text);
    text[sizeof text - 1] = '\0';
}

void writeItemText(HWND page, int id, const char* text) { SetDlgItemTextA(page, id, text ? text : ""); }

int isItemChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0; }

void checkItem(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void reportChanged(HWND page) { SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0); }

bool restoreOnCancel(UINT code) {
    if (code != PSN_QUERYCANCEL && code != PSN_RESET) return false;
    LockedScope locked;
    liveSettings.copyFrom(settingsSnapshot);
    return true;
}

INT_PTR handlePageMessage(const PageHandlers& handlers, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (handlers.initialise) handlers.initialise(page);
        return TRUE;
    case WM_COMMAND:
        if (handlers.command) handlers.command(page, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
        if (handlers.notify)
            handlers.notify(page, code);
        else
            restoreOnCancel(code);
        return 0;
    }
    case WM_HSCROLL:
        if (handlers.scroll) handlers.scroll(page, reinterpret_cast<HWND>(lParam));
        return 0;
    default:
        return 0;
    }
}
