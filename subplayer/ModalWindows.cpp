#include "subplayer/ModalWindows.h"

#include <commctrl.h>
#include <prsht.h>

#include "subplayer/WinHelpers.h"

const char kSettingsCaption[] = "\x90\xdd\x92\xe8";

namespace {

const char kDialogClass[] = "#32770";
const char kMenuClass[] = "#32768";
const int kMessageBoxTextId = 0xFFFF;
const UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

}  // namespace

namespace {

int hasTabControl(HWND dialog) { return FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr) != nullptr; }

int hasMessageText(HWND dialog) {
    HWND text = GetDlgItem(dialog, kMessageBoxTextId);
    return text && windowClassName(text) == "Static";
}

}  // namespace

int isMessageBox(HWND window) {
    return windowClassName(window) == kDialogClass && hasMessageText(window) && !hasTabControl(window);
}

int isPropertySheet(HWND window) {
    if (windowClassName(window) != kDialogClass) return 0;
    return hasTabControl(window) || (windowText(window) == kSettingsCaption && !hasMessageText(window));
}

std::vector<HWND> openMessageBoxes() {
    std::vector<HWND> boxes;
    for (HWND w : processWindows())
        if (isMessageBox(w)) boxes.push_back(w);
    return boxes;
}

HWND findPropertySheet() {
    for (HWND w : processWindows())
        if (isPropertySheet(w)) return w;
    return nullptr;
}

HWND findPopupMenu() { return findProcessWindow(kMenuClass); }

MessageBoxRecord closeMessageBox(HWND box, int answer) {
    MessageBoxRecord record{windowText(box), windowText(GetDlgItem(box, kMessageBoxTextId))};
    LRESULT defaultId = SendMessageA(box, DM_GETDEFID, 0, 0);
    WORD id = answer ? static_cast<WORD>(answer) : HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    return record;
}

void closePropertySheet(HWND sheet, int ok) {
    if (hasTabControl(sheet))
        PostMessageA(sheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
    else
        PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
}

std::vector<std::string> popupMenuItems(HWND menuWindow) {
    std::vector<std::string> items;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, kGetMenuHandle, 0, 0));
    int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

void choosePopupMenuItem(HWND menuWindow, int item) {
    if (item <= 0) {
        EndMenu();
        return;
    }
    // The menu's own loop reads the keys: down to the item, then enter, as a user would.
    for (int i = 0; i < item; ++i) PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}
